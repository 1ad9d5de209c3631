#include "installer/ScreenSaverHandOver.h"

#include "installer/IdleWatcherRegistration.h"
#include "installer/ScreenSaverHost.h"
#include "installer/ScreenSaverThemeEntry.h"

namespace scr {

std::vector<std::string> HandOverToScreenSaverHosts(const ScreenSaverHandOver& saver) {
    std::vector<std::string> registered;
    if (RegisterScreenSaverTheme(saver.file, saver.displayName, saver.player))
        registered.push_back("mate-screensaver, xfce4-screensaver: " + ScreenSaverThemeEntryPath(saver.file));
    if (HandOverToScreenSaverHost(saver.file, saver.displayName, saver.player))
        registered.push_back("xscreensaver: chosen in " + HostConfigPath() + ", running " +
                             HostCommandFor(saver.file, saver.player));
    // A Wayland desktop starts no screen saver of its own accord: the idle
    // watcher does, from now on and with every session (on sway, from the
    // config line the lines name).
    if (OnWaylandSession())
        for (const std::string& line : EnableIdleWatcher({saver.file, std::nullopt}).lines)
            registered.push_back("idle watcher: " + line);
    return registered;
}

void TakeBackFromScreenSaverHosts(const std::string& file) {
    RemoveScreenSaverTheme(file);
    RemoveFromScreenSaverHost(file);
    DisableIdleWatcher(file);
}

} // namespace scr
