#pragma once
// The area an item may occupy around the show window: the window grown by
// half its size on every side, so that no rectangle of an item, and no
// bitmap made for one, is ever more than twice the window in either
// direction. Whatever lies beyond could never be seen; an item reaching
// beyond keeps its place and scale, and only its part inside the area is made.

#include "platform/Bitmap24.h"
#include "show/ItemLayout.h"
#include "transitions/Rect.h"

namespace scr {

class PlacementLimit {
public:
    PlacementLimit() = default;
    explicit PlacementLimit(Size window);

    // The largest bitmap an item can need: twice the window each way.
    Size MaxSize() const { return {2 * window_.width, 2 * window_.height}; }

    // The part of r inside the area; an r outside it becomes an empty
    // rectangle at the area's nearest corner. Safe for any int coordinates.
    Rect Clamp(const Rect& r) const;

    // Turns `picture`, meant to be stretched over `placed`, into the bitmap
    // of its visible part Clamp(placed): the source part that maps there,
    // stretched to that size. The stretch over the whole of `placed` is
    // never made. An empty picture becomes a black one of the visible size;
    // nothing is left of a picture placed wholly outside the area.
    void FitPicture(Bitmap24& picture, const Rect& placed) const;

private:
    Size window_;
};

} // namespace scr
