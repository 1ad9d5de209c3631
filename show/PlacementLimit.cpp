#include "show/PlacementLimit.h"

#include "package/StretchBitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace scr {
namespace {

int ClampToInt(int64_t v, int64_t low, int64_t high) {
    return static_cast<int>(std::clamp(v, low, high));
}

// Source pixel range [first, last) of a picture `size` pixels long stretched
// over `placed` pixels, for the placed range [from, to).
void SourceRange(int size, int64_t placed, int64_t from, int64_t to, int& first, int& last) {
    first = ClampToInt(from * size / placed, 0, size - 1);
    last = ClampToInt((to * size + placed - 1) / placed, first + 1, size);
}

} // namespace

PlacementLimit::PlacementLimit(Size window)
    : window_{std::max(window.width, 1), std::max(window.height, 1)} {}

Rect PlacementLimit::Clamp(const Rect& r) const {
    const int64_t width = static_cast<int64_t>(r.right) - r.left;
    const int64_t height = static_cast<int64_t>(r.bottom) - r.top;
    if (width <= window_.width && height <= window_.height) return r;
    const int64_t left = 0;
    const int64_t top = 0;
    const int64_t right = window_.width;
    const int64_t bottom = window_.height;
    Rect clamped{ClampToInt(r.left, left, right), ClampToInt(r.top, top, bottom), 0, 0};
    clamped.right = ClampToInt(r.right, clamped.left, right);
    clamped.bottom = ClampToInt(r.bottom, clamped.top, bottom);
    return clamped;
}

void PlacementLimit::FitPicture(Bitmap24& picture, const Rect& placed) const {
    const Rect visible = Clamp(placed);
    if (visible.isEmpty()) {
        picture.clear();
        return;
    }
    if (visible == placed || picture.isEmpty()) {
        StretchBitmap(picture, visible.width(), visible.height());
        return;
    }
    const int64_t placedW = static_cast<int64_t>(placed.right) - placed.left;
    const int64_t placedH = static_cast<int64_t>(placed.bottom) - placed.top;
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    SourceRange(picture.width(), placedW, static_cast<int64_t>(visible.left) - placed.left,
                static_cast<int64_t>(visible.right) - placed.left, x0, x1);
    SourceRange(picture.height(), placedH, static_cast<int64_t>(visible.top) - placed.top,
                static_cast<int64_t>(visible.bottom) - placed.top, y0, y1);
    Bitmap24 part(x1 - x0, y1 - y0);
    for (int y = y0; y < y1; ++y)
        std::memcpy(part.row(y - y0), picture.row(y) + static_cast<std::size_t>(x0) * 3, part.stride());
    picture = std::move(part);
    StretchBitmap(picture, visible.width(), visible.height());
}

} // namespace scr
