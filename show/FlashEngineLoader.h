#pragma once
// Loads the Flash engine plugin on first use. The plugin file is looked for,
// in this order, and the first one that exists is loaded:
//   1. $SCRPLAYER_FLASH_PLUGIN (when set, the only file tried)
//   2. <folder of the executable>/scrplayer-flash.so
//   3. <folder of the executable>/../lib/scrplayer/scrplayer-flash.so
//   4. <install prefix>/lib/scrplayer/scrplayer-flash.so
// When none loads, every Flash control shows its "no player" notice.

#include <QString>
#include <QStringList>

namespace scr {

class FlashEngineFactory;

// The plugin files tried, in order.
QStringList FlashEnginePluginCandidates();

// Loads one plugin file; nullptr (with the reason in `error`) when it is not
// a loadable Flash engine plugin of this program.
FlashEngineFactory* LoadFlashEnginePlugin(const QString& path, QString* error);

// The process's engine plugin, loaded on the first call (later calls return
// the same); nullptr when none could be loaded.
FlashEngineFactory* FlashEnginePlugin();

// Why FlashEnginePlugin() returns nullptr; empty when it does not.
QString FlashEnginePluginError();

} // namespace scr
