#pragma once
// Mouse events and popup menu of a control, as the show and the dialogs hook
// them: a mouse-move handler (Sender, Shift, X, Y), a click handler (Sender,
// raised when the left button is released over the control) and the popup
// menu the right button opens.

#include <QMenu>
#include <QMetaType>
#include <QPointer>
#include <Qt>
#include <cstdint>
#include <functional>

class QObject;

namespace scr {

// The shift state of a mouse message: which keys and buttons were down.
enum ShiftFlag : uint8_t {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using ShiftState = uint8_t;

// Shift, Ctrl and the three mouse buttons (a mouse message carries no Alt state).
ShiftState MouseShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

using MouseMoveEvent = std::function<void(QObject* sender, ShiftState shift, int x, int y)>;
using NotifyEvent = std::function<void(QObject* sender)>;

struct ControlEvents {
    MouseMoveEvent onMouseMove;
    NotifyEvent onClick;
    QPointer<QMenu> popupMenu;
};

} // namespace scr

Q_DECLARE_METATYPE(scr::MouseMoveEvent)
Q_DECLARE_METATYPE(scr::NotifyEvent)
