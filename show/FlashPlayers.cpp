#include "show/FlashPlayers.h"

#include "show/FlashEngineFactory.h"
#include "show/FlashEngineLoader.h"

#include <QWidget>

namespace scr {

FlashPlayers::FlashPlayers(QWidget* home) : home_(home) {}

FlashPlayers::~FlashPlayers() = default;

#ifdef SCR_HAVE_FLASH_ENGINE

std::unique_ptr<FlashEngine> FlashPlayers::Create(QWidget* parent, FlashEngineEvents events) {
    if (!pool_) {
        FlashEngineFactory* factory = FlashEnginePlugin();
        if (!factory || !home_) return nullptr;
        pool_ = factory->NewPool(home_);
    }
    return pool_ ? pool_->Create(parent, std::move(events)) : nullptr;
}

#else

std::unique_ptr<FlashEngine> FlashPlayers::Create(QWidget*, FlashEngineEvents) {
    return nullptr;
}

#endif

int FlashPlayers::PagesMade() const {
    return pool_ ? pool_->PagesMade() : 0;
}

bool FlashPlayers::PageRenewing() const {
    return pool_ && pool_->Renewing();
}

} // namespace scr
