#pragma once
// Where the Ruffle player's files (ruffle.js and its WebAssembly modules) are
// installed. They are never part of the executable: packages appended to the
// player stay small. Searched in this order, the first folder that holds
// ruffle.js wins (see docs/flash.md):
//   1. $SCRPLAYER_RUFFLE_DIR (when set, the only place searched)
//   2. <folder of the executable>/ruffle (the build's programs)
//   3. <prefix>/share/scrplayer/ruffle for each of InstallPrefixes()
//   4. scrplayer/ruffle under each XDG data folder not covered by 3
// A folder that others than root and this user could change (the folder, a
// file in it or a folder above it) is skipped with a message on stderr.

#include <QString>
#include <QStringList>

namespace scr {

// The folders searched, in order.
QStringList RuffleSearchFolders();
// The first searched folder that holds ruffle.js; empty when none does.
QString FindRuffleFolder();

} // namespace scr
