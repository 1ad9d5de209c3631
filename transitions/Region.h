#pragma once
// A set of pixels described as rectangles, with the rules of window-system
// regions: rectangles have exclusive right and bottom edges, and the region
// is kept in a canonical banded form (bands sorted top to bottom, each band a
// sorted list of disjoint spans, equal neighbouring bands merged), so two
// regions covering the same pixels compare equal.
//
// Building from many rectangles at once (FromRects) sweeps over their edges
// in one pass, which keeps regions of thousands of strips, blocks or cells
// cheap to make; combining two regions walks both band lists once.

#include "transitions/Rect.h"

#include <cstdint>
#include <span>
#include <vector>

namespace scr {

class Region {
public:
    Region() = default;
    // The pixels of one rectangle. Reversed edges are swapped first (a
    // rectangle given right-to-left covers the same pixels as left-to-right).
    explicit Region(const Rect& rect);

    // The union of the rectangles, each normalised as in the constructor.
    static Region FromRects(std::span<const Rect> rects);

    bool isEmpty() const { return rects_.empty(); }
    // The region's rectangles in banded order: by top, then by left.
    const std::vector<Rect>& rects() const { return rects_; }
    // The smallest rectangle holding every pixel; (0, 0, 0, 0) when empty.
    Rect bounds() const;
    bool contains(int x, int y) const;
    // Number of pixels covered.
    int64_t area() const;

    Region united(const Region& other) const;
    Region intersected(const Region& other) const;
    Region xored(const Region& other) const;
    Region subtracted(const Region& other) const;
    Region translated(int dx, int dy) const;

    bool operator==(const Region&) const = default;

private:
    enum class Operation { Union, Intersection, Xor, Difference };
    static Region Combine(const Region& a, const Region& b, Operation op);

    std::vector<Rect> rects_;
};

} // namespace scr
