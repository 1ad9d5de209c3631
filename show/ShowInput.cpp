#include "show/ShowInput.h"

#include <Qt>

namespace scr {

ShowInput::Kind KeyInputKind(int qtKey, bool altHeld) {
    // Alt on its own is a key like any other; held with another key it makes
    // a command for the window manager, not the user's wish to end the show.
    if (altHeld && qtKey != Qt::Key_Alt) return ShowInput::Kind::AltKey;
    switch (qtKey) {
    case Qt::Key_Space:
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return ShowInput::Kind::ForwardKey;
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
        return ShowInput::Kind::BackwardKey;
    case Qt::Key_F1:
        return ShowInput::Kind::HelpKey;
    case Qt::Key_F2:
        return ShowInput::Kind::HomePageKey;
    default:
        return ShowInput::Kind::OtherKey;
    }
}

} // namespace scr
