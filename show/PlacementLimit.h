#pragma once
// How large an item may be on the show window: no rectangle of an item, and
// no bitmap made for one, is ever larger than the window. An item that fits
// the window's size keeps its rectangle wherever it stands; a larger one
// keeps its place and scale, but only its part on the window is made, since
// nothing beyond could ever be seen.

#include "platform/Bitmap24.h"
#include "show/ItemLayout.h"
#include "transitions/Rect.h"

namespace scr {

class PlacementLimit {
public:
    PlacementLimit() = default;
    explicit PlacementLimit(Size window);

    // r itself when it is no wider and no taller than the window; else its
    // part on the window, which is an empty rectangle at the window's nearest
    // edge when there is none. Safe for any int coordinates.
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
