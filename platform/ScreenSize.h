#pragma once
// The size of the primary screen in pixels, for code that must not depend on
// a windowing library (the package reader's layout fitting). The GUI layer
// installs a provider at start-up; without one the size is unknown (0 x 0) and
// callers do not rescale.

#include <functional>

namespace scr {

struct ScreenSize {
    int width = 0;
    int height = 0;
    bool isKnown() const { return width > 0 && height > 0; }
};

ScreenSize PrimaryScreenSize();
void SetPrimaryScreenSizeProvider(std::function<ScreenSize()> provider);

} // namespace scr
