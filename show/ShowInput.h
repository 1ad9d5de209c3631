#pragma once
// The input the show window's rules react to, read from a window message:
// what happened, without the message's codes.

#include "platform/gui/WindowMessage.h"

namespace scr {

enum class ShowInput {
    Activated,          // the window became the active window
    Deactivated,        // the window lost the activation
    AppActivated,       // this application became active
    AppDeactivated,     // another application became active
    FrameActivated,     // the window's frame shows as active
    FrameDeactivated,   // the window's frame shows as inactive
    ForwardKey,         // Space, Page Down, Right, Down
    BackwardKey,        // Backspace, Page Up, Left, Up
    HelpKey,            // F1
    HomePageKey,        // F2
    OtherKey,           // any other key (not held with Alt)
    ScreenSaverCommand, // the system would start a screen saver
    SystemCommand,      // any other command of the system menu
    ItemTimer,
    MovementTimer,
    OtherTimer,
    MouseMove,
    MouseButton, // left, right or middle button pressed
    Other,       // nothing the rules react to
};

ShowInput ReadShowInput(const WindowMessage& message);

// Any of the three ways the window is told it lost the activation.
bool IsDeactivation(ShowInput input);

} // namespace scr
