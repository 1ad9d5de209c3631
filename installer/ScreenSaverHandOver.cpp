#include "installer/ScreenSaverHandOver.h"

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
    return registered;
}

void TakeBackFromScreenSaverHosts(const std::string& file) {
    RemoveScreenSaverTheme(file);
    RemoveFromScreenSaverHost(file);
}

} // namespace scr
