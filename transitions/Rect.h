#pragma once
// Integer points and rectangles in pixel coordinates. A rectangle is
// (left, top, right, bottom) with right and bottom exclusive, so (0, 0, 4, 3)
// covers 4 x 3 pixels. Extents may be zero or negative: the drawing
// operations give negative extents their own meaning (a mirrored copy).

#include <algorithm>

namespace scr {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // True when the rectangle covers no pixel (also for negative extents).
    bool isEmpty() const { return right <= left || bottom <= top; }

    Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // The same pixels with reversed edges swapped: left <= right, top <= bottom.
    Rect normalised() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    // The common part of two rectangles; empty rectangles come out with
    // non-positive extents.
    Rect intersected(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

    bool operator==(const Rect&) const = default;
};

} // namespace scr
