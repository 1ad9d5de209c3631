#pragma once
// The hand-over of an installed screen saver to the screen-saver hosts of
// the desktop, in one place: the installer wizard hands over the copy it
// installed, `scrtool install` a Flash movie file it registers where it
// lies, and uninstalling takes either back. The hosts: the X11 ones,
// xscreensaver (ScreenSaverHost.h), mate-screensaver and xfce4-screensaver
// (ScreenSaverThemeEntry.h), and on a Wayland session the idle watcher
// (IdleWatcherRegistration.h). A host added later joins here, so that every
// installer registers with it alike.

#include <string>
#include <vector>

namespace scr {

struct ScreenSaverHandOver {
    std::string file;        // the installed screen saver (a file, or a Mac projector folder)
    std::string displayName; // the name the hosts show
    // Empty when the file runs by itself (a packed screen saver); otherwise
    // the program that plays it ("PLAYER play FILE"), for a Flash movie file.
    std::string player;
};

// Registers the screen saver with every host that is installed. One line per
// host it registered with, for people ("xscreensaver: ..."); empty when no
// host is installed.
std::vector<std::string> HandOverToScreenSaverHosts(const ScreenSaverHandOver& saver);

// Removes what HandOverToScreenSaverHosts registered for `file`.
void TakeBackFromScreenSaverHosts(const std::string& file);

} // namespace scr
