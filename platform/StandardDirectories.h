#pragma once
// Where the program keeps what belongs to the user: the XDG base directories
// and the system directory that installed screen savers go into.

#include <string>

namespace scr {

// $HOME, or "/tmp" when it is not set.
std::string HomeDirectory();

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
std::string XdgDataHome();
// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string XdgConfigHome();

// The folder that takes installed screen savers and the wallpaper file:
// XdgDataHome()/scrplayer/system, created with its parents when missing.
// Screen savers are installed per user, never as root, so this folder is the
// user's own. The path has no trailing delimiter.
std::string SystemDirectory();

} // namespace scr
