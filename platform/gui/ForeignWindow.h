#pragma once
// Drawing inside a window of another program: the preview box of a
// screen-saver host, or the window a Linux screen-saver host names in the
// environment variable XSCREENSAVER_WINDOW. X11 only; on other platforms
// (offscreen tests) every function reports that no such window exists.

#include "platform/ShowMode.h"

#include <QSize>
#include <optional>

class QWidget;
struct xcb_connection_t;

namespace scr {

// The application's connection to the X server; nullptr without X11.
xcb_connection_t* X11Connection();

// The size of the window's client area; none when the window does not exist.
std::optional<QSize> ForeignWindowSize(WindowHandle window);

// Makes `widget` a child of the foreign window; false when that is not possible.
bool EmbedInForeignWindow(QWidget* widget, WindowHandle window);

// The window named by XSCREENSAVER_WINDOW (decimal or hexadecimal), or 0.
WindowHandle ScreenSaverHostWindow();

} // namespace scr
