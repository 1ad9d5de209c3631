#include "show/ShowWindowRules.h"

#include "platform/RegistryStore.h"

#include <cstdlib>

namespace scr {
namespace {

bool IsBackwardKey(uintptr_t key) {
    return key == vk::Back || key == vk::Prior || key == vk::Left || key == vk::Up;
}
bool IsForwardKey(uintptr_t key) {
    return key == vk::Space || key == vk::Next || key == vk::Right || key == vk::Down;
}

} // namespace

ShowWindowRules::ShowWindowRules(ShowWindowHost& host, bool preview, bool ignoreMouseMove)
    : host_(host), preview_(preview), ignoreMouseMove_(ignoreMouseMove) {}

void ShowWindowRules::HandleMessage(WindowMessage& message) {
    const bool fullScreen = !preview_;
    switch (message.id) {
    case Msg::Activate:
        HandleActivate(message);
        return;
    case Msg::ActivateApp:
        // Another application became active: the show ends. Activation of
        // this application needs nothing.
        if (message.wParam == 0) {
            message.result = 0;
            RequestClose();
        }
        return;
    case Msg::NcActivate:
        if (message.wParam == 0) {
            if (fullScreen && !passwordCheckActive_) {
                RequestClose();
            } else if (!fullScreen) {
                RequestClose();
                message.result = 0;
            }
        }
        break;
    case Msg::KeyDown:
        HandleKeyDown(message);
        return;
    case Msg::SysCommand:
        // No other screen saver may start over this one, and nothing the
        // system menu offers happens while the password dialog is up.
        if ((message.wParam & 0xFFF0) == SC_SCREENSAVE || passwordCheckActive_) {
            message.result = 0;
            return;
        }
        break;
    case Msg::Timer:
        HandleTimer(message);
        return;
    case Msg::MouseMove:
        if (fullScreen && !passwordCheckActive_ && !ignoreMouseMove_) MouseMoveTest();
        break;
    case Msg::LButtonDown:
    case Msg::RButtonDown:
    case Msg::MButtonDown:
        if (fullScreen && !passwordCheckActive_) RequestClose();
        break;
    default:
        break;
    }
    host_.DefaultWindowProc(message);
}

void ShowWindowRules::HandleActivate(WindowMessage& message) {
    if (preview_) {
        host_.DefaultWindowProc(message);
        return;
    }
    if (passwordCheckActive_) {
        message.result = 0;
        return;
    }
    if ((message.wParam & 0xFFFF) == WA_INACTIVE) {
        host_.DefaultWindowProc(message);
        RequestClose();
        return;
    }
    mouseRef_ = host_.CursorPos();
    host_.DefaultWindowProc(message);
}

void ShowWindowRules::HandleKeyDown(WindowMessage& message) {
    const uintptr_t key = message.wParam;
    if (IsBackwardKey(key)) {
        host_.Advance(false);
    } else if (IsForwardKey(key)) {
        host_.Advance(true);
    } else if (key == vk::F1 || key == vk::F2) {
        // F1 and F2 end the show in every mode; F2 also opens the author's
        // home page once the window is gone, but only if this key's request
        // is the one that closed the show.
        const bool wasClosing = closing_;
        RequestClose();
        if (!wasClosing && closing_) homePageRequest_ = key == vk::F2;
    } else if (!preview_ && !passwordCheckActive_) {
        RequestClose();
    }
    host_.DefaultWindowProc(message);
}

void ShowWindowRules::HandleTimer(WindowMessage& message) {
    host_.DefaultWindowProc(message);
    if (closing_) {
        host_.StopActivity();
        return;
    }
    if (message.wParam == TimerId(ShowTimer::Item))
        host_.Advance(true);
    else if (message.wParam == TimerId(ShowTimer::Movement))
        host_.MoveStep();
}

void ShowWindowRules::MouseMoveTest() {
    const Point c = host_.CursorPos();
    if (std::abs(c.x - mouseRef_.x) > kMouseTolerance || std::abs(c.y - mouseRef_.y) > kMouseTolerance)
        RequestClose();
    else
        mouseRef_ = c;
}

void ShowWindowRules::FormActivate() {
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
