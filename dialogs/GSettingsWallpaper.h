#pragma once
// The wallpaper of the desktops that keep it in GSettings: GNOME and the
// desktops built on its settings (org.gnome.desktop.background), Cinnamon
// (org.cinnamon.desktop.background) and MATE (org.mate.background).

#include <string>

namespace scr {

enum class GSettingsDesktop { Gnome, Cinnamon, Mate };

// Sets the picture (as a file URI, or a file name for MATE; GNOME's
// dark-style picture too) and, for styles 1..3 (see DesktopWallpaper.h), the
// picture options "centered", "wallpaper" or "stretched". False when the
// desktop's settings schema is not installed.
bool SetGSettingsWallpaper(GSettingsDesktop desktop, const std::string& path, int style);

// Picture options "none" and an empty picture: the desktop shows its colour.
bool RemoveGSettingsWallpaper(GSettingsDesktop desktop);

// The picture options value of a style; empty for a style that keeps the current options.
std::string GSettingsPictureOptions(int style);

} // namespace scr
