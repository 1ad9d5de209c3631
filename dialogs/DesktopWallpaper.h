#pragma once
// The desktop wallpaper: applying a picture file with a style through the
// desktop that runs, and removing it again.
//
//   GNOME and its relatives (Unity, Budgie, Pantheon, Cinnamon, MATE): their
//     settings (picture URI or file name and picture options), through GSettings;
//   KDE Plasma: the desktop shell's scripting interface over D-Bus;
//   Xfce: the desktop's backdrop properties in Xfconf over D-Bus;
//   any other X11 session (a bare X server, Xvfb): the root window's
//     background, set to a full-screen picture that outlives the program
//     (the _XROOTPMAP_ID / ESETROOT_PMAP_ID convention).
//
// The desktop is told by XDG_CURRENT_DESKTOP (a colon-separated list; the
// first known name decides). Failures are quiet: the picture simply does not
// change.

#include <string>

namespace scr {

// Wallpaper styles as the menu's Tags give them; any other value keeps the
// style the desktop uses now.
enum WallpaperStyle : int {
    WallpaperKeepStyle = 0,
    WallpaperCenter = 1,
    WallpaperTile = 2,
    WallpaperStretch = 3,
};

// The style a wallpaper menu item's Tag stands for: 1028 centre, 1029 tile,
// 1030 stretch, anything else WallpaperKeepStyle.
int WallpaperStyleFromTag(int tag);

enum class DesktopKind { GnomeFamily, Cinnamon, Mate, Plasma, Xfce, OtherX11, None };

// The desktop to talk to: from XDG_CURRENT_DESKTOP; without a known name, a
// set DISPLAY gives OtherX11, no DISPLAY gives None.
DesktopKind RunningDesktop();

// "SCR Wallpaper.bmp" in the system directory (platform/StandardDirectories.h),
// the folder installed screen savers go into.
std::string WallpaperFilePath();

// Makes the picture file the wallpaper with the given style.
void SetWallpaper(const std::string& path, int style);
// Takes the wallpaper away, leaving the desktop's plain colour.
void RemoveWallpaper();

} // namespace scr
