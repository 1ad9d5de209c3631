#pragma once
// The Flash engine plugin (scrplayer-flash.so): makes Ruffle engines for the
// program, which loads this library on its first movie.

#include "show/FlashEngineFactory.h"

#include <QObject>

namespace scr {

class RuffleEnginePlugin : public QObject, public FlashEngineFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SCR_FLASH_ENGINE_FACTORY_IID)
    Q_INTERFACES(scr::FlashEngineFactory)

public:
    std::unique_ptr<FlashEngine> Create(QWidget* parent, FlashEngineEvents events) override;
    QString UnavailableReason() override;
    int PagesMade() override;
};

} // namespace scr
