#pragma once

namespace scr {

// The Uninstall mode: removes the installed screen saver, its shortcut and
// its uninstall entry after confirmation, then deletes its own file.
void RunUninstall();

} // namespace scr
