#include "platform/gui/VirtualKeys.h"

#include "platform/gui/WindowMessage.h"

#include <Qt>
#include <array>
#include <utility>

namespace scr {
namespace {

constexpr std::array<std::pair<int, int>, 22> kNamedKeys = {{
    {Qt::Key_Backspace, vk::Back},   {Qt::Key_Tab, vk::Tab},       {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Return, vk::Return},    {Qt::Key_Enter, vk::Return},  {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control},  {Qt::Key_Alt, vk::Menu},      {Qt::Key_Pause, vk::Pause},
    {Qt::Key_CapsLock, vk::Capital}, {Qt::Key_Escape, vk::Escape}, {Qt::Key_Space, vk::Space},
    {Qt::Key_PageUp, vk::Prior},     {Qt::Key_PageDown, vk::Next}, {Qt::Key_End, vk::End},
    {Qt::Key_Home, vk::Home},        {Qt::Key_Left, vk::Left},     {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},      {Qt::Key_Down, vk::Down},     {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete},
}};

} // namespace

int VirtualKeyFromQtKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
    for (const auto& [key, code] : kNamedKeys)
        if (key == qtKey) return code;
    return 0xFF;
}

} // namespace scr
