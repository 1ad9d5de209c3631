#include "platform/Bitmap24.h"

#include <algorithm>
#include <cstring>

namespace scr {

void Bitmap24::setSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = 0;
        pixels_.clear();
        pixels_.shrink_to_fit();
        return;
    }
    pixels_.assign(static_cast<std::size_t>(width_) * 3 * static_cast<std::size_t>(height_), 0);
}

void Bitmap24::resizeKeeping(int width, int height) {
    Bitmap24 next(width, height);
    const int w = std::min(width_, next.width_);
    const int h = std::min(height_, next.height_);
    for (int y = 0; y < h; ++y)
        std::memcpy(next.row(y), row(y), static_cast<std::size_t>(w) * 3);
    *this = std::move(next);
}

uint32_t Bitmap24::pixel(int x, int y) const {
    const uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
    return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[0]) << 16);
}

void Bitmap24::setPixel(int x, int y, uint32_t colorRef) {
    uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = static_cast<uint8_t>(colorRef >> 16);
    p[1] = static_cast<uint8_t>(colorRef >> 8);
    p[2] = static_cast<uint8_t>(colorRef);
}

void Bitmap24::fill(uint32_t colorRef) {
    if (isEmpty()) return;
    uint8_t* first = row(0);
    for (int x = 0; x < width_; ++x) {
        first[x * 3 + 0] = static_cast<uint8_t>(colorRef >> 16);
        first[x * 3 + 1] = static_cast<uint8_t>(colorRef >> 8);
        first[x * 3 + 2] = static_cast<uint8_t>(colorRef);
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(row(y), first, stride());
}

} // namespace scr
