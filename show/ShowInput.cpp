#include "show/ShowInput.h"

#include "show/ShowTimer.h"

namespace scr {
namespace {

ShowInput ReadKey(uintptr_t key) {
    switch (key) {
    case vk::Space:
    case vk::Next:
    case vk::Right:
    case vk::Down:
        return ShowInput::ForwardKey;
    case vk::Back:
    case vk::Prior:
    case vk::Left:
    case vk::Up:
        return ShowInput::BackwardKey;
    case vk::F1:
        return ShowInput::HelpKey;
    case vk::F2:
        return ShowInput::HomePageKey;
    default:
        return ShowInput::OtherKey;
    }
}

ShowInput ReadTimer(uintptr_t id) {
    if (id == TimerId(ShowTimer::Item)) return ShowInput::ItemTimer;
    if (id == TimerId(ShowTimer::Movement)) return ShowInput::MovementTimer;
    return ShowInput::OtherTimer;
}

} // namespace

ShowInput ReadShowInput(const WindowMessage& message) {
    const uintptr_t w = message.wParam;
    switch (message.id) {
    case Msg::Activate:
        return (w & 0xFFFF) == WA_INACTIVE ? ShowInput::Deactivated : ShowInput::Activated;
    case Msg::ActivateApp:
        return w != 0 ? ShowInput::AppActivated : ShowInput::AppDeactivated;
    case Msg::NcActivate:
        return w != 0 ? ShowInput::FrameActivated : ShowInput::FrameDeactivated;
    case Msg::KeyDown:
        return ReadKey(w);
    case Msg::SysCommand:
        return (w & 0xFFF0) == SC_SCREENSAVE ? ShowInput::ScreenSaverCommand : ShowInput::SystemCommand;
    case Msg::Timer:
        return ReadTimer(w);
    case Msg::MouseMove:
        return ShowInput::MouseMove;
    case Msg::LButtonDown:
    case Msg::RButtonDown:
    case Msg::MButtonDown:
        return ShowInput::MouseButton;
    default:
        return ShowInput::Other;
    }
}

bool IsDeactivation(ShowInput input) {
    return input == ShowInput::Deactivated || input == ShowInput::AppDeactivated ||
           input == ShowInput::FrameDeactivated;
}

} // namespace scr
