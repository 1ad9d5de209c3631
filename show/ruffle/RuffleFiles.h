#pragma once
// Where the Ruffle player's files (ruffle.js and its WebAssembly modules) are
// installed. They are never part of the executable: packages appended to the
// player stay small. Searched in this order, the first folder that holds
// ruffle.js wins (see docs/flash.md):
//   1. $SCRPLAYER_RUFFLE_DIR (when set, the only place searched)
//   2. <folder of the executable>/ruffle
//   3. <folder of the executable>/../share/scrplayer/ruffle
//   4. scrplayer/ruffle under each XDG data folder ($XDG_DATA_HOME, $XDG_DATA_DIRS)

#include <QString>
#include <QStringList>

namespace scr {

// The folders searched, in order.
QStringList RuffleSearchFolders();
// The first searched folder that holds ruffle.js; empty when none does.
QString FindRuffleFolder();

} // namespace scr
