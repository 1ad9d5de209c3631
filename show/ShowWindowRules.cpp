#include "show/ShowWindowRules.h"

#include <cstdlib>
#include <utility>

namespace scr {

using Kind = ShowInput::Kind;

ShowWindowRules::ShowWindowRules(bool preview, bool ignoreMouseMove, PasswordCheck passwordCheck)
    : preview_(preview), ignoreMouseMove_(ignoreMouseMove), passwordCheck_(std::move(passwordCheck)) {}

ShowRequest ShowWindowRules::Handle(const ShowInput& input) {
    const bool fullScreen = !preview_;
    switch (input.kind) {
    case Kind::Activated:
    case Kind::Deactivated:
        return HandleActivation(input);
    case Kind::ForwardKey:
    case Kind::BackwardKey:
    case Kind::HelpKey:
    case Kind::HomePageKey:
    case Kind::OtherKey:
        return HandleKey(input);
    case Kind::AltKey:
        // Commands for the window manager (Alt+F4 among them) do not end the
        // show; a close the window manager asks for passes CloseQuery.
        return ShowRequest::Nothing;
    case Kind::MouseMove:
        if (fullScreen && !passwordCheckActive_ && !ignoreMouseMove_) return MouseMoveTest(input.cursor);
        return ShowRequest::Nothing;
    case Kind::MouseButton:
        if (fullScreen && !passwordCheckActive_) return RequestClose(input.cursor);
        return ShowRequest::Nothing;
    case Kind::MovieClick:
        // A click on a movie ends the show, in preview too.
        return RequestClose(input.cursor);
    case Kind::ItemTick:
    case Kind::MovementTick:
        return HandleTick(input);
    }
    return ShowRequest::Nothing;
}

ShowRequest ShowWindowRules::HandleActivation(const ShowInput& input) {
    // Losing the activation ends the show, in preview too; while the password
    // check runs, its own dialog has the activation.
    if (input.kind == Kind::Deactivated) return RequestClose(input.cursor);
    if (passwordCheckActive_) return ShowRequest::Nothing;
    if (!preview_) mouseRef_ = input.cursor;
    // Every activation advances the show, except the one a show started
    // without it was still waiting for.
    if (std::exchange(activationAwaited_, false)) return ShowRequest::Nothing;
    return ShowRequest::AdvanceForwardLater;
}

ShowRequest ShowWindowRules::HandleKey(const ShowInput& input) {
    switch (input.kind) {
    case Kind::BackwardKey:
        return ShowRequest::AdvanceBackward;
    case Kind::ForwardKey:
        return ShowRequest::AdvanceForward;
    case Kind::HelpKey:
    case Kind::HomePageKey: {
        // F1 and F2 end the show in every mode; F2 also opens the author's
        // home page once the window is gone, but only if this key's request
        // is the one that closed the show.
        const bool wasClosing = closing_;
        const ShowRequest request = RequestClose(input.cursor);
        if (!wasClosing && closing_) homePageRequest_ = input.kind == Kind::HomePageKey;
        return request;
    }
    default:
        if (!preview_ && !passwordCheckActive_) return RequestClose(input.cursor);
        return ShowRequest::Nothing;
    }
}

ShowRequest ShowWindowRules::HandleTick(const ShowInput& input) const {
    if (closing_) return ShowRequest::StopActivity;
    return input.kind == Kind::ItemTick ? ShowRequest::AdvanceForward : ShowRequest::MoveStep;
}

ShowRequest ShowWindowRules::MouseMoveTest(Point c) {
    if (!pointerKnown_) {
        pointerKnown_ = true;
        mouseRef_ = c;
        return ShowRequest::Nothing;
    }
    if (std::abs(c.x - mouseRef_.x) > kMouseTolerance || std::abs(c.y - mouseRef_.y) > kMouseTolerance)
        return RequestClose(c);
    mouseRef_ = c;
    return ShowRequest::Nothing;
}

ShowRequest ShowWindowRules::StartWithoutActivation() {
    activationAwaited_ = true;
    pointerKnown_ = false;
    return ShowRequest::AdvanceForwardLater;
}

bool ShowWindowRules::CloseQuery() const {
    return preview_ || closing_;
}

ShowRequest ShowWindowRules::RequestClose(Point cursor) {
    if (closing_) return ShowRequest::Nothing;
    bool accepted;
    if (preview_) {
        accepted = true;
    } else if (passwordCheckActive_) {
        accepted = false;
    } else {
        accepted = VerifyPassword();
        // The position the user stands at must not ask again at once.
        if (!accepted) mouseRef_ = cursor;
    }
    closing_ = accepted;
    return accepted ? ShowRequest::EndShow : ShowRequest::Nothing;
}

ShowRequest ShowWindowRules::ForceClose() {
    if (closing_) return ShowRequest::Nothing;
    closing_ = true;
    return ShowRequest::EndShow;
}

bool ShowWindowRules::VerifyPassword() {
    if (!passwordCheck_) return true;
    if (passwordCheckActive_) return false;
    passwordCheckActive_ = true;
    bool accepted = true;
    try {
        accepted = passwordCheck_();
    } catch (...) {
        // A check that fails in itself must not lock the user in.
        accepted = true;
    }
    passwordCheckActive_ = false;
    return accepted;
}

} // namespace scr
