#pragma once
// Which window system a run uses, chosen before the Qt application object
// exists. A Wayland session usually has both a Wayland display and an X11
// one (Xwayland): the full-screen show and the dialogs take Wayland, where
// the compositor makes a window full screen and scales it; drawing inside
// another program's window (a preview box, a screen-saver host's window) is
// only possible on X11 and takes Xwayland. A run that needs another
// program's window where no X11 display exists cannot do its work.

#include <optional>
#include <string>

namespace scr {

// What the environment says about the displays of the session.
struct DisplayEnvironment {
    std::optional<std::string> qtPlatform;     // QT_QPA_PLATFORM: the user's own choice
    std::optional<std::string> waylandDisplay; // WAYLAND_DISPLAY
    std::optional<std::string> x11Display;     // DISPLAY
    std::optional<std::string> sessionType;    // XDG_SESSION_TYPE

    // Read from the process environment; empty variables count as unset.
    static DisplayEnvironment FromProcess();
};

struct WindowSystemChoice {
    // The Qt platform to set (QT_QPA_PLATFORM), empty to leave Qt's choice.
    std::string qtPlatform;
    // Set when the run cannot work in this session: why, for the user.
    std::string unavailable;
};

// `drawsIntoForeignWindow`: the run draws inside a window of another
// program (an X11 window id from the command line or the host).
WindowSystemChoice ChooseWindowSystem(const DisplayEnvironment& env, bool drawsIntoForeignWindow);

// Sets QT_QPA_PLATFORM as the choice says (nothing when it leaves Qt's choice).
void ApplyWindowSystemChoice(const WindowSystemChoice& choice);

} // namespace scr
