#pragma once
// Region shapes with the geometry of the window system's region calls:
// plain, rounded and polygonal regions, scan-converted to rectangles.

#include "transitions/Region.h"

#include <span>

namespace scr {

enum class PolygonFillMode { Alternate, Winding };

// The rectangle (left, top, right, bottom), reversed edges swapped.
Region CreateRectRgn(int left, int top, int right, int bottom);

// A rectangle with rounded corners. As with the window system's call, the
// region covers (left, top, right - 1, bottom - 1): one pixel less at the
// right and at the bottom. The corner ellipse is ellipseWidth x ellipseHeight,
// each limited to that rectangle's extent; below 2 the corners are square.
// A pixel row of a corner reaches as far as the pixel centres inside the ellipse.
Region CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);

// A polygon, closed from the last point back to the first. A pixel (x, y)
// belongs to the region when the point (x, y) lies inside the outline, edges
// on the left and top counting as inside and those on the right and bottom as
// outside; which points are inside follows the fill mode.
Region CreatePolygonRgn(std::span<const Point> points, PolygonFillMode mode);

} // namespace scr
