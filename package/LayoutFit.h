#pragma once
// Fitting a layout designed for one screen to another. A layout is scaled
// by one factor and moved; what is scaled (items, labels) applies the same
// LayoutScale, so everything keeps its place relative to the rest.

#include "package/PackageRecords.h"
#include "platform/ScreenSize.h"

#include <optional>

namespace scr {

struct LayoutScale {
    int dx = 0;
    int dy = 0;
    double factor = 1;
};

// The scale that fits a design of w x h into `screen` whole, keeping its
// proportions and centring it along the longer side; none when the screen
// is unknown or the design has no size.
std::optional<LayoutScale> FittingScale(int w, int h, const ScreenSize& screen);

// How a package's layout meets the screen: from format level 4 on, the whole
// design fits the screen (FittingScale); before, it is scaled to the
// screen's width. None when the screen is unknown or the design is the
// screen's size already.
std::optional<LayoutScale> ScaleForScreen(int formatLevel, int designWidth, int designHeight,
                                          const ScreenSize& screen);

// Left = trunc(dx + Left * f), likewise Top; Width = trunc(Width * f),
// likewise Height.
void ApplyLayoutScale(ShowItem& item, const LayoutScale& scale);

} // namespace scr
