#pragma once
// What the show window's rules react to, as one typed value: the user's
// keys and mouse, the window's activation, and the ticks of the show's two
// timers. ShowInputFilter makes the first from Qt's events, the Flash hosts
// report their movies' clicks and mouse moves, and the show window's item and
// movement timers make the ticks.

#include "transitions/Rect.h"

namespace scr {

struct ShowInput {
    enum class Kind {
        Activated,   // the window became the active window
        Deactivated, // the window, or the whole application, lost the activation
        ForwardKey,  // Space, Page Down, Right, Down
        BackwardKey, // Backspace, Page Up, Left, Up
        HelpKey,     // F1
        HomePageKey, // F2
        OtherKey,    // any other key, not held with Alt
        AltKey,      // a key held with Alt
        MouseMove,
        MouseButton,  // any mouse button pressed on the window
        MovieClick,   // a click on a Flash movie (its player reports it)
        ItemTick,     // the item timer: the current item's time is over
        MovementTick, // the movement timer: one step of the bouncing movement
    };

    Kind kind;
    // Where the pointer stood when the input came, in screen coordinates.
    Point cursor{};

    bool IsTick() const { return kind == Kind::ItemTick || kind == Kind::MovementTick; }
};

// The kind of a key press, from Qt's key number and whether Alt was held.
ShowInput::Kind KeyInputKind(int qtKey, bool altHeld);

} // namespace scr
