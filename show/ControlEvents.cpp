#include "show/ControlEvents.h"

namespace scr {

ShiftState MouseShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    ShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

} // namespace scr
