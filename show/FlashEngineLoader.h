#pragma once
// Loads the Flash engine plugin on first use. The plugin file is looked for,
// in this order, and the first one that loads is used (docs/flash.md):
//   1. $SCRPLAYER_FLASH_PLUGIN (when set, the only file tried)
//   2. <folder of the executable>/scrplayer-flash.so (the build's programs)
//   3. <prefix>/lib/scrplayer/scrplayer-flash.so for each of InstallPrefixes()
// A file that others than root and this user could change (the file or a
// folder above it: see UntrustedReason) is skipped with a message on stderr.
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

// Tries `files` in order (skipping missing and untrusted ones) and returns the
// first plugin that loads; nullptr, with every file's reason in `error`, when
// none does.
FlashEngineFactory* LoadFirstFlashEnginePlugin(const QStringList& files, QString* error);

// The process's engine plugin, loaded on the first call (later calls return
// the same); nullptr when none could be loaded.
FlashEngineFactory* FlashEnginePlugin();

// Why FlashEnginePlugin() returns nullptr; empty when it does not.
QString FlashEnginePluginError();

} // namespace scr
