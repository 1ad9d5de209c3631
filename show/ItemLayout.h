#pragma once
// Sizes and places of show items: design pixels scaled to the window, the
// default half-screen rectangle, fitting into a box, random placement.

#include "platform/RandomSource.h"
#include "transitions/Rect.h"

#include <cstdint>

namespace scr {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The item's size on screen: its stored size scaled by showScale when both
// extents are positive, else half the primary screen.
Size ItemScreenSize(int storedWidth, int storedHeight, double showScale, Size primaryScreen);

// The default top-left: a half-screen rectangle centred on the primary screen.
Point DefaultItemPosition(Size primaryScreen);

// Fits inner into box keeping its aspect ratio, centred in the box; empty
// when the box has no area. An inner rectangle that fits already is only centred.
Rect FitRect(const Rect& inner, const Rect& box);

// Moving mode keeps an item within a quarter of the window: a larger one is
// fitted into half the window's width and height.
Size FitIntoHalfWindow(Size item, Size window);

// A random offset in 0 .. space - 1, or 0 when there is no room.
int RandomOffset(int space, RandomSource& random);

// A place laid out from `origin` (the primary screen's place on the window):
// origin + offset, held within int for any stored offset.
Point FromOrigin(Point origin, int64_t x, int64_t y);

} // namespace scr
