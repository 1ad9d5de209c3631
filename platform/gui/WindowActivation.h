#pragma once
// The window relations a dialog started for another program's window needs:
// the parent of that window, which window is in the foreground, and handing
// the foreground back when the dialog closes. X11 only (through Qt's own
// connection); elsewhere (offscreen tests) there are no foreign windows, the
// queries answer 0 and the request does nothing.
//
// X11 has no "disabled" state for the windows of other programs, so the
// dialogs do not disable the window that started them; the window manager's
// focus handling is left as it is.

#include "platform/ShowMode.h"

namespace scr {

// The parent of a window as the window system reports it; 0 when the window
// does not exist, has no parent or its parent is the root window.
WindowHandle ParentOfForeignWindow(WindowHandle window);

// The window the window manager reports as active (_NET_ACTIVE_WINDOW); 0 when unknown.
WindowHandle ForegroundWindow();

// Asks the window manager to activate the window (an _NET_ACTIVE_WINDOW
// request). Nothing happens for 0 or without an X11 connection.
void SetForegroundWindow(WindowHandle window);

} // namespace scr
