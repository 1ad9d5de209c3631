#pragma once
// The system directory of this platform layer: the per-user folder that takes
// what a screen saver puts "into the system" (installed screen savers, the
// wallpaper picture). It is $XDG_DATA_HOME/scrplayer/system, with
// ~/.local/share standing in for an unset or relative XDG_DATA_HOME.

#include <string>

namespace scr {

// The directory with a trailing '/', created (owner-only, with its parents)
// when missing. Empty when no home folder is known or the folder cannot be
// made.
std::string SystemDirectory();

} // namespace scr
