#include "transitions/RegionShapes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace scr {
namespace {

__extension__ typedef __int128 Int128;

// Smallest integer >= num / den, den > 0.
int64_t CeilDiv(int64_t num, int64_t den) {
    const int64_t q = num / den;
    return (num % den != 0 && num > 0) ? q + 1 : q;
}

// How far row k (0 = outermost) of a corner is indented: the left-most pixel
// of the row whose centre lies inside the ellipse filling an ew x eh box, at
// most ew / 2 (from there on the straight edge between the corners begins).
int CornerIndent(int k, int ew, int eh) {
    // Inside when (2x + 1 - ew)^2 * eh^2 + (2k + 1 - eh)^2 * ew^2 <= ew^2 * eh^2.
    const Int128 ew2 = static_cast<Int128>(ew) * ew;
    const Int128 eh2 = static_cast<Int128>(eh) * eh;
    const Int128 dy = 2 * static_cast<Int128>(k) + 1 - eh;
    const Int128 room = ew2 * eh2 - dy * dy * ew2;
    int lo = 0;
    int hi = ew / 2;
    if (room < 0) return hi;
    // Binary search for the first column inside: columns come closer to the
    // ellipse's centre as x grows.
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const Int128 dx = 2 * static_cast<Int128>(mid) + 1 - ew;
        if (dx * dx * eh2 <= room)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

} // namespace

Region CreateRectRgn(int left, int top, int right, int bottom) {
    return Region(Rect{left, top, right, bottom});
}

Region CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    --right;
    --bottom;
    const int ew = std::min(right - left, std::abs(ellipseWidth));
    const int eh = std::min(bottom - top, std::abs(ellipseHeight));
    if (ew < 2 || eh < 2) return CreateRectRgn(left, top, right, bottom);

    std::vector<Rect> rows;
    rows.reserve(static_cast<std::size_t>(eh) + 1);
    const int cornerRows = eh / 2;
    for (int k = 0; k < cornerRows; ++k) {
        const int indent = CornerIndent(k, ew, eh);
        rows.push_back({left + indent, top + k, right - indent, top + k + 1});
        rows.push_back({left + indent, bottom - k - 1, right - indent, bottom - k});
    }
    rows.push_back({left, top + cornerRows, right, bottom - cornerRows});
    // Rows whose indent meets in the middle are empty; FromRects drops them.
    std::erase_if(rows, [](const Rect& r) { return r.isEmpty(); });
    return Region::FromRects(rows);
}

Region CreatePolygonRgn(std::span<const Point> points, PolygonFillMode mode) {
    const std::size_t n = points.size();
    if (n < 3) return {};
    int minY = points[0].y;
    int maxY = points[0].y;
    for (const Point& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    struct Crossing {
        int64_t x;
        int direction;
    };
    std::vector<Crossing> crossings;
    std::vector<Rect> spans;
    for (int y = minY; y < maxY; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % n];
            if (a.y == b.y) continue;
            const Point& lo = a.y < b.y ? a : b;
            const Point& hi = a.y < b.y ? b : a;
            if (y < lo.y || y >= hi.y) continue;
            // The first pixel at or right of the edge's exact crossing with this row.
            const int64_t x = lo.x + CeilDiv(static_cast<int64_t>(y - lo.y) * (hi.x - lo.x), hi.y - lo.y);
            crossings.push_back({x, b.y > a.y ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += mode == PolygonFillMode::Winding ? crossings[i].direction : 1;
            const bool inside = mode == PolygonFillMode::Winding ? winding != 0 : (winding % 2) != 0;
            if (inside && crossings[i + 1].x > crossings[i].x)
                spans.push_back(
                    {static_cast<int>(crossings[i].x), y, static_cast<int>(crossings[i + 1].x), y + 1});
        }
    }
    return Region::FromRects(spans);
}

} // namespace scr
