#pragma once
// The input and close rules of the show window, as one handler over typed
// input (ShowInput): which input ends the show, the mouse-jump test, the
// password check and the flags that keep a close from being undone or asked
// twice. Pure logic: everything it needs from the real window goes through
// ShowWindowHost, so tests can drive it input by input.

#include "platform/PasswordProvider.h"
#include "platform/gui/WindowMessage.h"
#include "show/ShowInput.h"
#include "transitions/Rect.h"

namespace scr {

class ShowWindowHost {
public:
    virtual ~ShowWindowHost() = default;
    // The cursor position in screen coordinates.
    virtual Point CursorPos() = 0;
    // The window's standard handling of the input at hand (activation
    // events, close, the system menu).
    virtual void DefaultHandling() = 0;
    virtual void PostWindowMessage(Msg id, uintptr_t wParam, intptr_t lParam) = 0;
    // Stops movement, a running transition and the item timer.
    virtual void StopActivity() = 0;
    virtual void Advance(bool forward) = 0;
    virtual void MoveStep() = 0;
    // The system's password check entry, or none (then the check accepts).
    virtual PasswordVerifyEntry PasswordEntry() { return FindPasswordVerifyEntry(); }
    virtual WindowHandle NativeWindow() { return 0; }
};

class ShowWindowRules {
public:
    // A cursor jump of more than this many pixels on either axis ends the show.
    static constexpr int kMouseTolerance = 5;

    ShowWindowRules(ShowWindowHost& host, bool preview, bool ignoreMouseMove);

    void Handle(ShowInput input);

    // Starts the show at once, before (and whether or not) the window is
    // activated, where the window system grants activation when it sees fit
    // and reports the pointer only once it enters the window: the activation
    // that may come later is not a request to advance (later ones are), and
    // the pointer's first report is the movement test's reference, not a jump.
    void StartWithoutActivation();

    // The form's activation events (raised by the default handling of Activate).
    void FormActivate();
    void FormDeactivate();
    // Whether a close may pass: always in preview, else only once accepted.
    bool CloseQuery() const;

    // Ends the show if the rules allow: preview closes at once; full screen
    // passes the password check first. An accepted close stops all activity
    // and posts Close.
    void RequestClose();
    // True when the show may end: no password set, no checker, or accepted.
    bool VerifyPassword();
    // Ends the show without asking anyone: the host ended the program
    // (SIGTERM) or the window the show draws into is gone.
    void ForceClose();

    bool closing() const { return closing_; }
    bool passwordCheckActive() const { return passwordCheckActive_; }
    bool homePageRequest() const { return homePageRequest_; }
    bool preview() const { return preview_; }
    Point mouseRef() const { return mouseRef_; }
    void SetMouseRef(Point p) { mouseRef_ = p; }

private:
    // Each returns whether the window's standard handling follows.
    bool HandleActivation(ShowInput input);
    bool HandleKey(ShowInput input);
    void HandleTimer(ShowInput input);
    void MouseMoveTest();

    ShowWindowHost& host_;
    bool preview_;
    bool ignoreMouseMove_;
    bool closing_ = false;
    bool passwordCheckActive_ = false;
    bool homePageRequest_ = false;
    Point mouseRef_{-1, -1};
    bool activationAwaited_ = false; // the show started without the activation it may yet get
    bool pointerKnown_ = true;       // a report of the pointer has come, or none is needed
};

} // namespace scr
