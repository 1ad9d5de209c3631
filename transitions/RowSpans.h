#pragma once
// An area of a frame as one span of columns per row, for shapes that a
// rectangle fits badly (a turned picture): row y covers [first, last).

#include <vector>

namespace scr {

struct RowSpan {
    int first = 0;
    int last = 0;
    bool operator==(const RowSpan&) const = default;
};

using RowSpans = std::vector<RowSpan>;

} // namespace scr
