#include "show/FlashPlayers.h"

#include "show/FlashEngineFactory.h"
#include "show/FlashEngineLoader.h"

#include <QWidget>

namespace scr {

FlashPlayers::FlashPlayers(QWidget* home) : home_(home) {}

FlashPlayers::~FlashPlayers() = default;

#ifdef SCR_HAVE_FLASH_ENGINE

FlashEnginePool* FlashPlayers::Pool() {
    if (!pool_) {
        FlashEngineFactory* factory = FlashEnginePlugin();
        if (!factory || !home_) return nullptr;
        pool_ = factory->NewPool(home_);
    }
    return pool_.get();
}

#else

FlashEnginePool* FlashPlayers::Pool() {
    return nullptr;
}

#endif

std::unique_ptr<FlashEngine> FlashPlayers::Create(QWidget* parent, FlashEngineEvents events) {
    FlashEnginePool* pool = Pool();
    return pool ? pool->Create(parent, std::move(events)) : nullptr;
}

void FlashPlayers::Prepare() {
    if (FlashEnginePool* pool = Pool()) pool->Prepare();
}

int FlashPlayers::PagesMade() const {
    return pool_ ? pool_->PagesMade() : 0;
}

bool FlashPlayers::PageRenewing() const {
    return pool_ && pool_->Renewing();
}

} // namespace scr
