#pragma once
// How large a picture of a package may be decoded. A picture's header can
// claim any size; these bounds keep the memory a decode takes to what the
// screen can show.

#include <cstdint>

namespace scr {

struct DecodeLimits {
    // The largest picture (full-size pixels) a decode accepts; headers that
    // claim still larger sizes are refused rather than decoded.
    int64_t maxPixels = int64_t{1} << 31;
    // The largest picture a decode produces: one that would come out wider or
    // taller is reduced while it is decoded, keeping its aspect ratio.
    // 0 x 0 sets no such limit.
    int maxWidth = 0;
    int maxHeight = 0;
};

} // namespace scr
