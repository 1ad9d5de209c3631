#pragma once
// The process-wide state decided once at start-up, before any window exists,
// and read by every part of the program afterwards.

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

// The role of this run; Show until mode detection says otherwise.
extern ShowMode g_showMode;
// The window given with A, C or P on the command line; 0 when none.
extern WindowHandle g_parentWindow;

const char* ShowModeName(ShowMode mode);

} // namespace scr
