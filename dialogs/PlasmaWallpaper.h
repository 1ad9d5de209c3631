#pragma once
// The wallpaper of KDE Plasma, set through the desktop shell's scripting
// interface (org.kde.plasmashell, evaluateScript) on the session bus.

#include <QString>
#include <string>

namespace scr {

// The script that gives every desktop the picture with the style (fill mode
// 6 centred, 3 tiled, 0 stretched; other styles keep the fill mode).
QString PlasmaWallpaperScript(const std::string& path, int style);
// The script that switches every desktop to the plain-colour wallpaper.
QString PlasmaRemoveWallpaperScript();

// Run the scripts; false when the shell does not answer.
bool SetPlasmaWallpaper(const std::string& path, int style);
bool RemovePlasmaWallpaper();

} // namespace scr
