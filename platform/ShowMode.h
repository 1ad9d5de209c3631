#pragma once
// The role of a run (decided once at start-up, before any window exists) and
// the window handle the command line may name.

#include <cstdint>

namespace scr {

enum class ShowMode : uint8_t {
    Show = 0,
    Preview = 1,
    Config = 2,
    ChangePassword = 3,
    Install = 4,
    Uninstall = 5,
};

// A window handle as passed on the command line; an X11 window id here.
using WindowHandle = uint32_t;

const char* ShowModeName(ShowMode mode);

} // namespace scr
