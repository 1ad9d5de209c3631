#include "transitions/BitmapBlit.h"

#include "transitions/RowSplit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

namespace scr {
namespace {

// How one axis of a stretched copy maps destination pixels to source pixels.
struct AxisMap {
    int dstFirst = 0; // first destination pixel covered
    int dstCount = 0;
    int srcFirst = 0; // first source pixel covered
    int srcCount = 0;
    bool mirrored = false;

    // The source pixel for destination pixel x (dstFirst <= x < dstFirst + dstCount).
    int source(int x) const {
        const int64_t i = x - dstFirst;
        const int j = static_cast<int>((2 * i + 1) * srcCount / (2 * static_cast<int64_t>(dstCount)));
        return mirrored ? srcFirst + srcCount - 1 - j : srcFirst + j;
    }
};

// The pixels covered by an extent starting at `origin`: positive extents run
// right of it, negative ones end at it.
void Covered(int origin, int extent, int& first, int& count) {
    if (extent >= 0) {
        first = origin;
        count = extent;
    } else {
        first = origin + extent + 1;
        count = -extent;
    }
}

AxisMap MakeAxis(int dOrigin, int dExtent, int sOrigin, int sExtent) {
    AxisMap map;
    Covered(dOrigin, dExtent, map.dstFirst, map.dstCount);
    Covered(sOrigin, sExtent, map.srcFirst, map.srcCount);
    map.mirrored = (dExtent < 0) != (sExtent < 0);
    return map;
}

inline void CopyPixel(uint8_t* d, const uint8_t* s) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
}

// Copies a span of whole pixels (at least one). Spans of a few pixels, as in
// regions of thin strips, are moved as two overlapping fixed-size words
// instead of through a call of memcpy for each.
inline void CopySpan(uint8_t* d, const uint8_t* s, std::size_t bytes) {
    if (bytes > 32) {
        std::memcpy(d, s, bytes);
    } else if (bytes >= 16) {
        std::memcpy(d, s, 16);
        std::memcpy(d + bytes - 16, s + bytes - 16, 16);
    } else if (bytes >= 8) {
        std::memcpy(d, s, 8);
        std::memcpy(d + bytes - 8, s + bytes - 8, 8);
    } else if (bytes >= 4) {
        std::memcpy(d, s, 4);
        std::memcpy(d + bytes - 4, s + bytes - 4, 4);
    } else {
        CopyPixel(d, s);
    }
}

// Pixels are moved as four-byte words, faster than three single bytes; the
// fourth byte lands on the next pixel, which is written right after.
void PickPixelsPlain(uint8_t* out, const uint8_t* in, const uint32_t* offsets, int count,
                     uint32_t wordSafeBelow) {
    int i = 0;
    for (; i + 1 < count; ++i) {
        if (offsets[i] < wordSafeBelow)
            std::memcpy(out + i * 3, in + offsets[i], 4);
        else
            CopyPixel(out + i * 3, in + offsets[i]);
    }
    CopyPixel(out + i * 3, in + offsets[i]);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Eight pixels at a time: one gather of eight words, packed to 24 bytes and
// stored as 32; the 8 extra bytes land on the next pixels, written after.
__attribute__((target("avx2"))) void PickPixelsAvx2(uint8_t* out, const uint8_t* in, const uint32_t* offsets,
                                                    int count, uint32_t wordSafeBelow) {
    int i = 0;
    if (wordSafeBelow == UINT32_MAX) {
        const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2,
                                              4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
        const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
        for (; i + 11 <= count; i += 8) {
            const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(offsets + i));
            const __m256i words = _mm256_i32gather_epi32(reinterpret_cast<const int*>(in), at, 1);
            const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, pack), join);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + static_cast<std::size_t>(i) * 3), packed);
        }
    }
    PickPixelsPlain(out + static_cast<std::size_t>(i) * 3, in, offsets + i, count - i, wordSafeBelow);
}
#endif

} // namespace

bool UsesVectorPaths(const PixelOptions& options) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 && options.vectorPaths;
#else
    static_cast<void>(options);
    return false;
#endif
}

void PickPixels(const PixelOptions& options, uint8_t* out, const uint8_t* in, const uint32_t* offsets,
                int count, uint32_t wordSafeBelow) {
    if (count <= 0) return;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (UsesVectorPaths(options)) {
        PickPixelsAvx2(out, in, offsets, count, wordSafeBelow);
        return;
    }
#endif
    PickPixelsPlain(out, in, offsets, count, wordSafeBelow);
}

void DrawBitmap(const PixelOptions& options, Bitmap24& dst, int x, int y, const Bitmap24& src) {
    const Rect area =
        Rect{x, y, x + src.width(), y + src.height()}.intersected({0, 0, dst.width(), dst.height()});
    if (area.isEmpty()) return;
    const std::size_t bytes = static_cast<std::size_t>(area.width()) * 3;
    // Rows of equal bitmaps are contiguous: a band of them is one copy.
    const bool whole = x == 0 && y == 0 && dst.width() == src.width() && dst.stride() == src.stride();
    ForRowBands(area.height(), static_cast<int64_t>(area.width()) * area.height(), options,
                [&](int firstRow, int lastRow, int) {
                    if (whole) {
                        std::memcpy(dst.row(area.top + firstRow), src.row(area.top + firstRow),
                                    dst.stride() * static_cast<std::size_t>(lastRow - firstRow));
                        return;
                    }
                    for (int row = area.top + firstRow; row < area.top + lastRow; ++row)
                        std::memcpy(dst.row(row) + static_cast<std::size_t>(area.left) * 3,
                                    src.row(row - y) + static_cast<std::size_t>(area.left - x) * 3, bytes);
                });
}

void StretchDraw(const PixelOptions& options, Bitmap24& dst, const Rect& d, const Bitmap24& src,
                 const Rect& s) {
    StretchDraw(options, dst, d, src, s, {0, 0, dst.width(), dst.height()});
}

void StretchDraw(const PixelOptions& options, Bitmap24& dst, const Rect& d, const Bitmap24& src,
                 const Rect& s, const Rect& clip) {
    if (dst.isEmpty() || src.isEmpty()) return;
    if (d.width() == 0 || d.height() == 0 || s.width() == 0 || s.height() == 0) return;
    const AxisMap mx = MakeAxis(d.left, d.width(), s.left, s.width());
    const AxisMap my = MakeAxis(d.top, d.height(), s.top, s.height());
    const int x0 = std::max({mx.dstFirst, clip.left, 0});
    const int x1 = std::min({mx.dstFirst + mx.dstCount, clip.right, dst.width()});
    const int y0 = std::max({my.dstFirst, clip.top, 0});
    const int y1 = std::min({my.dstFirst + my.dstCount, clip.bottom, dst.height()});
    if (x0 >= x1 || y0 >= y1) return;

    // Source column of every visible destination column; the columns whose
    // source lies outside src are trimmed from both ends (the mapping is
    // monotonic, so those are at the ends).
    int first = x0;
    int last = x1;
    while (first < last && (mx.source(first) < 0 || mx.source(first) >= src.width()))
        ++first;
    while (last > first && (mx.source(last - 1) < 0 || mx.source(last - 1) >= src.width()))
        --last;
    if (first >= last) return;
    const int count = last - first;
    const bool straight = !mx.mirrored && mx.dstCount == mx.srcCount;
    std::vector<uint32_t> offsets;
    if (!straight) {
        offsets.resize(static_cast<std::size_t>(count));
        for (int x = first; x < last; ++x)
            offsets[static_cast<std::size_t>(x - first)] = static_cast<uint32_t>(mx.source(x)) * 3;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(count) * 3;
    const std::size_t dstOffset = static_cast<std::size_t>(first) * 3;

    const auto drawRows = [&](int firstRow, int lastRow) {
        int previousSource = -1;
        uint8_t* previousRow = nullptr;
        for (int y = firstRow; y < lastRow; ++y) {
            const int sy = my.source(y);
            if (sy < 0 || sy >= src.height()) continue;
            uint8_t* out = dst.row(y) + dstOffset;
            if (sy == previousSource && previousRow) {
                std::memcpy(out, previousRow, rowBytes);
            } else if (straight) {
                std::memcpy(out, src.row(sy) + static_cast<std::size_t>(mx.source(first)) * 3, rowBytes);
            } else {
                // The fourth byte after a pixel exists except at the end of the last row.
                const uint32_t wordSafeBelow =
                    sy + 1 < src.height() ? UINT32_MAX : static_cast<uint32_t>(src.stride()) - 3;
                PickPixels(options, out, src.row(sy), offsets.data(), count, wordSafeBelow);
            }
            previousSource = sy;
            previousRow = out;
        }
    };
    ForRowBands(y1 - y0, static_cast<int64_t>(count) * (y1 - y0), options,
                [&](int firstBand, int lastBand, int) { drawRows(y0 + firstBand, y0 + lastBand); });
}

void FillRect(Bitmap24& dst, const Rect& r, uint32_t colorRef) {
    const Rect area = r.intersected({0, 0, dst.width(), dst.height()});
    if (area.isEmpty()) return;
    const uint8_t pixel[3] = {static_cast<uint8_t>(colorRef >> 16), static_cast<uint8_t>(colorRef >> 8),
                              static_cast<uint8_t>(colorRef)};
    uint8_t* first = dst.row(area.top) + static_cast<std::size_t>(area.left) * 3;
    for (int x = 0; x < area.width(); ++x)
        CopyPixel(first + x * 3, pixel);
    for (int y = area.top + 1; y < area.bottom; ++y)
        std::memcpy(dst.row(y) + static_cast<std::size_t>(area.left) * 3, first,
                    static_cast<std::size_t>(area.width()) * 3);
}

void DrawThroughRegion(const PixelOptions& options, Bitmap24& dst, const Bitmap24& src, const Region& clip) {
    const Rect bounds{0, 0, std::min(dst.width(), src.width()), std::min(dst.height(), src.height())};
    const std::vector<Rect>& rects = clip.rects();
    // Band by band (the rectangles of a band share their rows), row by row
    // within a band: a region of thin columns then walks each row once from
    // left to right instead of running down every column of the bitmap.
    for (std::size_t first = 0; first < rects.size();) {
        std::size_t end = first + 1;
        int64_t bandWidth = rects[first].width();
        while (end < rects.size() && rects[end].top == rects[first].top &&
               rects[end].bottom == rects[first].bottom)
            bandWidth += rects[end++].width();
        const int top = std::max(rects[first].top, bounds.top);
        const int bottom = std::min(rects[first].bottom, bounds.bottom);
        const auto copyRows = [&](int firstRow, int lastRow, int) {
            for (int y = top + firstRow; y < top + lastRow; ++y) {
                uint8_t* out = dst.row(y);
                const uint8_t* in = src.row(y);
                for (std::size_t i = first; i < end; ++i) {
                    const int left = std::max(rects[i].left, bounds.left);
                    const int right = std::min(rects[i].right, bounds.right);
                    if (left >= right) continue;
                    const std::size_t offset = static_cast<std::size_t>(left) * 3;
                    CopySpan(out + offset, in + offset, static_cast<std::size_t>(right - left) * 3);
                }
            }
        };
        if (top < bottom) ForRowBands(bottom - top, bandWidth * (bottom - top), options, copyRows);
        first = end;
    }
}

namespace {

// One row of CopyToXrgb32, a pixel at a time.
void RowToXrgb32Plain(const uint8_t* __restrict in, uint32_t* __restrict out, int width) {
    for (int x = 0; x < width; ++x, in += 3)
        out[x] =
            0xFF000000u | in[0] | (static_cast<uint32_t>(in[1]) << 8) | (static_cast<uint32_t>(in[2]) << 16);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Eight pixels at a time: their 24 bytes are loaded as two overlapping
// halves of 16 (the second reads 4 bytes past them, inside the row while two
// more pixels follow) and spread to four bytes each with one shuffle.
__attribute__((target("avx2"))) void RowToXrgb32Avx2(const uint8_t* in, uint32_t* out, int width) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1,
                                            3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 10 <= width; x += 8) {
        const uint8_t* pixels = in + static_cast<std::size_t>(x) * 3;
        const __m256i bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(pixels + 12),
                                                  reinterpret_cast<const __m128i*>(pixels));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_or_si256(_mm256_shuffle_epi8(bytes, spread), opaque));
    }
    RowToXrgb32Plain(in + static_cast<std::size_t>(x) * 3, out + x, width - x);
}
#endif

void RowToXrgb32(bool vector, const uint8_t* in, uint32_t* out, int width) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (vector) {
        RowToXrgb32Avx2(in, out, width);
        return;
    }
#else
    static_cast<void>(vector);
#endif
    RowToXrgb32Plain(in, out, width);
}

} // namespace

void CopyToXrgb32(const PixelOptions& options, const Bitmap24& src, const Rect& area, uint8_t* dst,
                  std::size_t dstStride) {
    const Rect clipped = area.intersected({0, 0, src.width(), src.height()});
    if (clipped.isEmpty()) return;
    dst += static_cast<std::size_t>(clipped.top - area.top) * dstStride +
           static_cast<std::size_t>(clipped.left - area.left) * 4;
    const bool vector = UsesVectorPaths(options);
    ForRowBands(clipped.height(), static_cast<int64_t>(clipped.width()) * clipped.height(), options,
                [&](int first, int last, int) {
                    for (int i = first; i < last; ++i)
                        RowToXrgb32(
                            vector, src.row(clipped.top + i) + static_cast<std::size_t>(clipped.left) * 3,
                            reinterpret_cast<uint32_t*>(dst + static_cast<std::size_t>(i) * dstStride),
                            clipped.width());
                });
}

} // namespace scr
