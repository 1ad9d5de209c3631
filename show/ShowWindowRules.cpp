#include "show/ShowWindowRules.h"

#include "platform/RegistryStore.h"
#include "show/ShowTimer.h"

#include <cstdlib>
#include <utility>

namespace scr {

ShowWindowRules::ShowWindowRules(ShowWindowHost& host, bool preview, bool ignoreMouseMove)
    : host_(host), preview_(preview), ignoreMouseMove_(ignoreMouseMove) {}

void ShowWindowRules::Handle(ShowInput input) {
    const bool fullScreen = !preview_;
    bool standardHandling = true;
    switch (input) {
    case ShowInput::Activated:
    case ShowInput::Deactivated:
    case ShowInput::AppActivated:
    case ShowInput::AppDeactivated:
    case ShowInput::FrameActivated:
    case ShowInput::FrameDeactivated:
        standardHandling = HandleActivation(input);
        break;
    case ShowInput::ForwardKey:
    case ShowInput::BackwardKey:
    case ShowInput::HelpKey:
    case ShowInput::HomePageKey:
    case ShowInput::OtherKey:
        standardHandling = HandleKey(input);
        break;
    case ShowInput::ScreenSaverCommand:
        // No other screen saver may start over this one.
        standardHandling = false;
        break;
    case ShowInput::SystemCommand:
        // Nothing the system menu offers happens while the password dialog is up.
        standardHandling = !passwordCheckActive_;
        break;
    case ShowInput::ItemTimer:
    case ShowInput::MovementTimer:
    case ShowInput::OtherTimer:
        HandleTimer(input);
        standardHandling = false;
        break;
    case ShowInput::MouseMove:
        if (fullScreen && !passwordCheckActive_ && !ignoreMouseMove_) MouseMoveTest();
        break;
    case ShowInput::MouseButton:
        if (fullScreen && !passwordCheckActive_) RequestClose();
        break;
    case ShowInput::Other:
        break;
    }
    if (standardHandling) host_.DefaultHandling();
}

bool ShowWindowRules::HandleActivation(ShowInput input) {
    switch (input) {
    case ShowInput::Activated:
    case ShowInput::Deactivated:
        if (preview_) return true;
        if (passwordCheckActive_) return false;
        if (input == ShowInput::Deactivated) {
            host_.DefaultHandling();
            RequestClose();
            return false;
        }
        mouseRef_ = host_.CursorPos();
        return true;
    case ShowInput::AppDeactivated:
        // Another application became active: the show ends. Activation of
        // this application needs nothing.
        RequestClose();
        return false;
    case ShowInput::FrameDeactivated:
        if (preview_ || !passwordCheckActive_) RequestClose();
        return true;
    default:
        return input != ShowInput::AppActivated;
    }
}

bool ShowWindowRules::HandleKey(ShowInput input) {
    if (input == ShowInput::BackwardKey) {
        host_.Advance(false);
    } else if (input == ShowInput::ForwardKey) {
        host_.Advance(true);
    } else if (input == ShowInput::HelpKey || input == ShowInput::HomePageKey) {
        // F1 and F2 end the show in every mode; F2 also opens the author's
        // home page once the window is gone, but only if this key's request
        // is the one that closed the show.
        const bool wasClosing = closing_;
        RequestClose();
        if (!wasClosing && closing_) homePageRequest_ = input == ShowInput::HomePageKey;
    } else if (!preview_ && !passwordCheckActive_) {
        RequestClose();
    }
    return true;
}

void ShowWindowRules::HandleTimer(ShowInput input) {
    host_.DefaultHandling();
    if (closing_) {
        host_.StopActivity();
        return;
    }
    if (input == ShowInput::ItemTimer)
        host_.Advance(true);
    else if (input == ShowInput::MovementTimer)
        host_.MoveStep();
}

void ShowWindowRules::MouseMoveTest() {
    const Point c = host_.CursorPos();
    if (!pointerKnown_) {
        pointerKnown_ = true;
        mouseRef_ = c;
        return;
    }
    if (std::abs(c.x - mouseRef_.x) > kMouseTolerance || std::abs(c.y - mouseRef_.y) > kMouseTolerance)
        RequestClose();
    else
        mouseRef_ = c;
}

void ShowWindowRules::StartWithoutActivation() {
    activationAwaited_ = true;
    pointerKnown_ = false;
    host_.PostWindowMessage(Msg::Timer, TimerId(ShowTimer::Item), 0);
}

void ShowWindowRules::FormActivate() {
    if (std::exchange(activationAwaited_, false)) return;
    host_.PostWindowMessage(Msg::Timer, TimerId(ShowTimer::Item), 0);
}

void ShowWindowRules::FormDeactivate() {
    RequestClose();
}

bool ShowWindowRules::CloseQuery() const {
    return preview_ || closing_;
}

void ShowWindowRules::RequestClose() {
    if (closing_) return;
    bool accepted;
    if (preview_) {
        accepted = true;
    } else if (passwordCheckActive_) {
        accepted = false;
    } else {
        accepted = VerifyPassword();
        // The position the user stands at now must not ask again at once.
        if (!accepted) mouseRef_ = host_.CursorPos();
    }
    closing_ = accepted;
    if (accepted) {
        host_.StopActivity();
        host_.PostWindowMessage(Msg::Close, 0, 0);
    }
}

void ShowWindowRules::ForceClose() {
    if (closing_) return;
    closing_ = true;
    host_.StopActivity();
    host_.PostWindowMessage(Msg::Close, 0, 0);
}

bool ShowWindowRules::VerifyPassword() {
    if (passwordCheckActive_) return false;
    passwordCheckActive_ = true;
    bool accepted = true;
    if (ReadRegInteger(RegistryRoot::CurrentUser, "\\Control Panel\\Desktop", "ScreenSaveUsePassword", 0) !=
        0) {
        if (PasswordVerifyEntry entry = host_.PasswordEntry()) {
            try {
                accepted = entry(host_.NativeWindow()) != 0;
            } catch (...) {
                accepted = true;
            }
        }
    }
    passwordCheckActive_ = false;
    return accepted;
}

} // namespace scr
