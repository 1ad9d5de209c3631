#pragma once
// The work of the rectangle styles 1..57: which rectangles of the new picture
// go where in the frame. Styles 1..53 are built from one motion along each
// axis (AxisStyle); the four-piece styles 54..57 have their own functions.

#include "transitions/StyleContext.h"

#include <span>

namespace scr {

// The motion of one axis of a rectangle style, on a side of length S with the
// front t pixels along it. Kinds 1..17 are the horizontal styles 1..17 (and,
// on the vertical axis, 18..34); kind 0 leaves the axis whole.
enum class AxisMotion : int {
    Whole = 0,
    SqueezeFromEnd = 1,
    SqueezeFromStart = 2,
    SlideFromEnd = 3,
    SlideFromStart = 4,
    WipeFromStart = 5,
    WipeFromEnd = 6,
    ZoomStartFixed = 7,
    ZoomEndFixed = 8,
    ZoomCentreFixed = 9,
    SqueezeFromCentre = 10,
    WipeFromCentre = 11,
    WipeFromBothEnds = 12,
    SqueezeHalvesFromBothEnds = 13,
    FoldFromStart = 14,
    FoldFromEnd = 15,
    SmearFromStart = 16,
    SmearFromEnd = 17,
};

// args: the motion of the horizontal axis, then of the vertical axis.
void AxisStyle(StyleContext& ctx, std::span<const int> args);
// Style 54: frame wipe from the four edges toward the centre.
void EdgesWipeStyle(StyleContext& ctx, std::span<const int> args);
// Style 55: wipe from the four corners.
void CornersWipeStyle(StyleContext& ctx, std::span<const int> args);
// Style 56: the four quarters squeezed in from the corners.
void QuartersSqueezeStyle(StyleContext& ctx, std::span<const int> args);
// Style 57: the four quarters slide in, each from its own side.
void QuartersSlideStyle(StyleContext& ctx, std::span<const int> args);

// Width of the mirrored fold ahead of a front that has travelled t pixels of
// a side of length S: grows as t / 2, stays S / 10, shrinks as (S - t) / 2.
int FoldWidth(int t, int S);

} // namespace scr
