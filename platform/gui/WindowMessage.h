#pragma once
// The window-message vocabulary the show window is written in: message ids,
// their parameters and the virtual-key codes, with the values the classic
// window system uses, so that a window's behaviour can be stated (and tested)
// as one handler over messages. MessageWindow turns Qt's events into these.

#include <cstdint>

namespace scr {

enum class Msg : uint32_t {
    Activate = 0x0006,    // wParam low word: WA_INACTIVE / WA_ACTIVE / WA_CLICKACTIVE
    Close = 0x0010,       // a request to close the window
    ActivateApp = 0x001C, // wParam: non-zero when this application becomes active
    NcActivate = 0x0086,  // wParam: non-zero when the frame shows as active
    KeyDown = 0x0100,     // wParam: virtual-key code
    SysKeyDown = 0x0104,  // a key held with Alt; wParam: virtual-key code
    SysCommand = 0x0112,  // wParam: SC_* command
    Timer = 0x0113,       // wParam: timer id
    MouseMove = 0x0200,   // lParam: y << 16 | x (client coordinates)
    LButtonDown = 0x0201,
    RButtonDown = 0x0204,
    MButtonDown = 0x0207,
};

// wParam values of Msg::Activate.
constexpr uintptr_t WA_INACTIVE = 0;
constexpr uintptr_t WA_ACTIVE = 1;

// wParam values of Msg::SysCommand.
constexpr uintptr_t SC_CLOSE = 0xF060;
constexpr uintptr_t SC_SCREENSAVE = 0xF140;

// Virtual-key codes.
namespace vk {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Pause = 0x13;
constexpr int Capital = 0x14;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Prior = 0x21; // Page Up
constexpr int Next = 0x22;  // Page Down
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int F1 = 0x70;
constexpr int F2 = 0x71;
constexpr int F4 = 0x73;
constexpr int F24 = 0x87;
} // namespace vk

struct WindowMessage {
    Msg id;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    // Set by a handler that answers the message itself (the value a window
    // procedure would return); read back by whoever sent it.
    intptr_t result = 0;
};

// lParam of a mouse message from client coordinates.
constexpr intptr_t MakePointParam(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                 static_cast<uint32_t>(x & 0xFFFF));
}

} // namespace scr
