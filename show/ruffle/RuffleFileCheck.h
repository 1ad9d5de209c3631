#pragma once
// Whether a Ruffle folder is whole: ruffle.js names the chunks and the
// WebAssembly modules it loads later, and a folder that lacks one of them
// would fail only once a movie plays. Such a folder counts as no player.

#include <QString>
#include <QStringList>

namespace scr {

// The files ruffle.js in `folder` loads later that are not there (ruffle.js
// itself when it is missing or unreadable); empty when the folder is whole.
QStringList MissingRuffleFiles(const QString& folder);

} // namespace scr
