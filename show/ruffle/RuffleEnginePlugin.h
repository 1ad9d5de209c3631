#pragma once
// The Flash engine plugin (scrplayer-flash.so): makes the pools of Ruffle
// pages the program's windows play their movies in; the program loads this
// library on its first movie.

#include "show/FlashEngineFactory.h"

#include <QObject>

namespace scr {

class RuffleEnginePlugin : public QObject, public FlashEngineFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SCR_FLASH_ENGINE_FACTORY_IID)
    Q_INTERFACES(scr::FlashEngineFactory)

public:
    std::unique_ptr<FlashEnginePool> NewPool(QWidget* home) override;
    QString UnavailableReason() override;
};

} // namespace scr
