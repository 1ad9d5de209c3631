#pragma once
// What a message of the dialogs' message box looks like and what it can
// answer: its icon, its set of buttons and which of them is the default
// button; and the answer of the button pressed.

namespace scr {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The button pressed. Closing the form by the frame's close button answers Cancel.
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageStyle {
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The default button, counted from 0 left to right; one the set does
    // not have leaves the first button the default.
    int defaultButton = 0;
};

} // namespace scr
