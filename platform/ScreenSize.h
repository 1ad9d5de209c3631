#pragma once
// The size of a screen in pixels, for code that must not depend on a
// windowing library (the package reader's layout fitting).

namespace scr {

struct ScreenSize {
    int width = 0;
    int height = 0;
    bool isKnown() const { return width > 0 && height > 0; }
};

} // namespace scr
