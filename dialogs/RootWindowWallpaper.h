#pragma once
// The wallpaper of an X server without a desktop program: the root window's
// background. The picture is composed to the screen's size, put into a pixmap
// that the server keeps after the program ends (close-down mode
// RetainPermanent), and announced with the root properties _XROOTPMAP_ID and
// ESETROOT_PMAP_ID, as other wallpaper setters do; the pixmap a setter left
// before is freed first. The chosen style is kept in the root property
// _SCRPLAYER_WALLPAPER_STYLE, so "keep the style" has a style to keep.

#include <QImage>
#include <QSize>

namespace scr {

// The full-screen picture for a style: centred on black (cut where it is
// larger), tiled from the top-left corner, or stretched to the screen. A null
// picture or an empty screen gives a null image.
QImage ComposeWallpaper(const QImage& picture, int style, QSize screen);

// Sets the root window background of the first screen of `display`
// ($DISPLAY when null). Styles 1..3 as in DesktopWallpaper.h; any other
// keeps the style set last (centred when none was set). False when the
// display cannot be opened, the picture is null or the screen's pixel format
// is not a true-colour one.
bool SetRootWindowWallpaper(const QImage& picture, int style, const char* display = nullptr);

// Frees the pixmap set before and restores the server's default background.
bool RemoveRootWindowWallpaper(const char* display = nullptr);

} // namespace scr
