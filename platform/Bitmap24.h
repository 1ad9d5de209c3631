#pragma once
// A 24-bit device-independent bitmap: rows stored top-down and contiguously,
// three bytes per pixel in blue, green, red order (the order Windows bitmaps
// and JPEG output in BGR mode use). Rows are not padded, so one row follows
// the next directly and a whole picture can be copied with one memcpy.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scr {

class Bitmap24 {
public:
    Bitmap24() = default;
    Bitmap24(int width, int height) { setSize(width, height); }

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * 3; }
    std::size_t byteSize() const { return pixels_.size(); }

    // Resizes to width x height. Existing pixels are not preserved; new
    // memory is zero (black). Negative sizes are treated as 0.
    void setSize(int width, int height);
    // Resizes while keeping the pixels of the overlapping top-left area;
    // pixels that become visible are black.
    void resizeKeeping(int width, int height);
    void clear() { setSize(0, 0); }

    uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride(); }
    const uint8_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * stride(); }
    uint8_t* bits() { return pixels_.data(); }
    const uint8_t* bits() const { return pixels_.data(); }

    // Colour as a COLORREF-style value: red in the lowest byte, then green, blue.
    uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, uint32_t colorRef);
    void fill(uint32_t colorRef);

    bool operator==(const Bitmap24& other) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

} // namespace scr
