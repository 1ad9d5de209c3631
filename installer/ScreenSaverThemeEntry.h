#pragma once
// The hand-over to the screen-saver hosts that find their screen savers
// through desktop entries: mate-screensaver and xfce4-screensaver offer every
// entry of the category "Screensaver" in the "screensavers" folder of the
// applications folders, and start it with the window to draw into in the
// environment variable XSCREENSAVER_WINDOW. An installed screen saver gets
// such an entry of the user's own, running it with "-root"; uninstalling
// removes it.

#include <string>

namespace scr {

// The entry of the installed file `installedFile`:
// XdgDataHome()/applications/screensavers/scrplayer-<file stem>.desktop, one
// per installed file (so two copies of one package never share it).
std::string ScreenSaverThemeEntryPath(const std::string& installedFile);

// The host's name of that entry (its desktop-file id without ".desktop"), as
// their settings keep it in their list of chosen themes.
std::string ScreenSaverThemeId(const std::string& installedFile);

// These hosts run only programs of their own folders (for mate-screensaver
// /usr/lib/mate-screensaver/mate-screensaver, and the xscreensaver folders
// /usr/libexec/xscreensaver and /usr/lib/xscreensaver), never a file of the
// user's. The path of "scrtool" in one of them, when an administrator has
// put it (or a link to it) there; empty otherwise.
std::string EngineFolderPlayer();

// The text of the entry: shown as `displayName`, running the file with
// "-root" or, with a `player` (see EngineFolderPlayer), the player with
// "play <file> -root". Offered only while the installed file exists; a file
// that does not run by itself (`fileRunsItself` false: a Flash movie file),
// only while the player does.
std::string ScreenSaverThemeEntryText(const std::string& installedFile, const std::string& displayName,
                                      const std::string& player = {}, bool fileRunsItself = true);

// True when one of those hosts is installed (on the PATH).
bool ScreenSaverThemeHostInstalled();

// Writes the entry (mode 0644, complete or not at all) when such a host is
// installed. A file that cannot run by itself is played by `moviePlayer`
// (unless an administrator put a player into the hosts' folders). False when
// no host is installed or the entry cannot be written.
bool RegisterScreenSaverTheme(const std::string& installedFile, const std::string& displayName,
                              const std::string& moviePlayer = {});

// Removes the entry of the installed file, only when it runs or plays that very file.
// True when no such entry is left.
bool RemoveScreenSaverTheme(const std::string& installedFile);

} // namespace scr
