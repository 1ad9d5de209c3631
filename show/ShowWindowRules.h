#pragma once
// The input and close rules of the show window, as one function from typed
// input (ShowInput) to a typed request (ShowRequest): which input ends the
// show, which steps it, the mouse-jump test, and the flags that keep a close
// from being undone or asked twice. Pure logic without a window, so tests
// drive it input by input.

#include "show/ShowInput.h"
#include "transitions/Rect.h"

#include <functional>

namespace scr {

// What the rules ask of the show window for one input.
enum class ShowRequest {
    Nothing,
    AdvanceForward,
    AdvanceBackward,
    // Advance forward once control is back in the event loop, as a tick of
    // the item timer (the show's start, and each activation of the window).
    AdvanceForwardLater,
    MoveStep,
    // The show is closing: stop whatever still runs (movement, transition, item timer).
    StopActivity,
    // The close is accepted: stop all activity, then close the window.
    EndShow,
};

// Asked before a full-screen show ends; true lets it end. This is the one
// place a password check belongs. The player gives none (on this desktop the
// screen locker owns passwords), so every close is accepted; a check given
// here may run a dialog of its own, during which input that arrives is ignored.
using PasswordCheck = std::function<bool()>;

class ShowWindowRules {
public:
    // A cursor jump of more than this many pixels on either axis ends the show.
    static constexpr int kMouseTolerance = 5;

    ShowWindowRules(bool preview, bool ignoreMouseMove, PasswordCheck passwordCheck = {});

    ShowRequest Handle(const ShowInput& input);

    // Starts the show at once, before (and whether or not) the window is
    // activated, where the window system grants activation when it sees fit
    // and reports the pointer only once it enters the window: the activation
    // that may come later is not a request to advance (later ones are), and
    // the pointer's first report is the movement test's reference, not a jump.
    ShowRequest StartWithoutActivation();

    // Whether a close may pass: always in preview, else only once accepted.
    bool CloseQuery() const;

    // Ends the show if the rules allow: preview closes at once; full screen
    // asks the password check first (a refusal takes `cursor` as the new
    // reference of the movement test). EndShow when accepted.
    ShowRequest RequestClose(Point cursor);
    // Ends the show without asking anyone: the host ended the program
    // (SIGTERM) or the window the show draws into is gone.
    ShowRequest ForceClose();

    bool closing() const { return closing_; }
    bool passwordCheckActive() const { return passwordCheckActive_; }
    bool homePageRequest() const { return homePageRequest_; }
    bool preview() const { return preview_; }
    Point mouseRef() const { return mouseRef_; }
    void SetMouseRef(Point p) { mouseRef_ = p; }

private:
    ShowRequest HandleActivation(const ShowInput& input);
    ShowRequest HandleKey(const ShowInput& input);
    ShowRequest HandleTick(const ShowInput& input) const;
    ShowRequest MouseMoveTest(Point cursor);
    // True when the show may end: no check, or the check accepted.
    bool VerifyPassword();

    bool preview_;
    bool ignoreMouseMove_;
    PasswordCheck passwordCheck_;
    bool closing_ = false;
    bool passwordCheckActive_ = false;
    bool homePageRequest_ = false;
    Point mouseRef_{-1, -1};
    bool activationAwaited_ = false; // the show started without the activation it may yet get
    bool pointerKnown_ = true;       // a report of the pointer has come, or none is needed
};

} // namespace scr
