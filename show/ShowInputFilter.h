#pragma once
// The one place where Qt's events become the show's input (ShowInput):
//
//   window activated / deactivated      -> Activated / Deactivated
//   another application became active   -> Deactivated
//   key press                           -> the key's kind (AltKey while Alt is held)
//   mouse move, any button pressed      -> MouseMove, MouseButton
//
// Keys and the mouse are read where they reach the window first: on its
// native window, exactly once, before Qt hands them to whichever child widget
// is under the cursor or has the focus (a picture, a label, a Flash movie).
// The events go on to their widgets unchanged.

#include "show/ShowInput.h"

#include <QObject>
#include <functional>

class QWidget;

namespace scr {

class ShowInputFilter : public QObject {
public:
    using InputHandler = std::function<void(const ShowInput&)>;

    // Watches `window` and, once it has one, its native window; hands each
    // input to `onInput`. The filter must not outlive the window.
    ShowInputFilter(QWidget* window, InputHandler onInput);
    ~ShowInputFilter() override;
    ShowInputFilter(const ShowInputFilter&) = delete;
    ShowInputFilter& operator=(const ShowInputFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchNativeWindow();
    // Hands one input on; false when that replaced the native window the
    // event came to, so the event must go no further.
    bool Deliver(ShowInput::Kind kind, Point cursor, QObject* watched);

    QWidget* window_;
    InputHandler onInput_;
    QObject* nativeWindow_ = nullptr;
};

} // namespace scr
