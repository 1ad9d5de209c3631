#pragma once
// Small pictures for exact-pixel tests.

#include "platform/Bitmap24.h"

#include <cstdint>

namespace scr::test {

// Every pixel's colour says where it is: x in the low 12 bits, y in the next
// 11, and a tag in the top bit so two pictures never share a colour.
inline uint32_t CoordinateColour(int x, int y, bool tag) {
    return static_cast<uint32_t>(x & 0xFFF) | (static_cast<uint32_t>(y & 0x7FF) << 12) |
           (tag ? 1u << 23 : 0u);
}

inline Bitmap24 CoordinatePicture(int w, int h, bool tag) {
    Bitmap24 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, CoordinateColour(x, y, tag));
    return b;
}

inline Bitmap24 Uniform(int w, int h, uint32_t colour) {
    Bitmap24 b(w, h);
    b.fill(colour);
    return b;
}

} // namespace scr::test
