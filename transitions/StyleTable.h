#pragma once
// The catalogue of the 128 transition styles: for each style number its kind,
// the function that does its own work in a frame, that function's arguments,
// and a short description for people (tool output, contact sheets).

#include "transitions/StyleContext.h"

#include <array>
#include <span>

namespace scr {

constexpr int kStyleCount = 128;

enum class StyleKind {
    Custom,    // style 0: drawn by a handler, or an instant cut without one
    Rectangle, // 1..57: rectangles of the new picture copied into the frame
    Region,    // 58..117, 123..127: the new picture drawn through a clip region
    Pixel,     // 118..122: the frame written pixel by pixel
};

using StyleWork = void (*)(StyleContext&, std::span<const int>);

struct StyleEntry {
    StyleKind kind;
    StyleWork work; // null for style 0
    std::array<int, 5> args;
    const char* description;
};

// The entry of a style 0..127.
const StyleEntry& StyleInfo(int style);

} // namespace scr
