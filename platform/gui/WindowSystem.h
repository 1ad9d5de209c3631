#pragma once
// What the window system of the running application lets a window do.

namespace scr {

// Whether the windows of this process are Wayland surfaces. Then the
// compositor places every window (a window asks for full screen and gets one
// output), grants activation when it sees fit (a headless compositor never
// does), and tells a window where the pointer is only once the pointer
// enters it.
bool OnWayland();

} // namespace scr
