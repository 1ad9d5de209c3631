#include "transitions/BitmapHelpers.h"

#include "transitions/BitmapBlit.h"
#include "transitions/MulDiv.h"
#include "transitions/RegionShapes.h"
#include "transitions/RowSplit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace scr {

Region CreateTriangleRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    const Point points[] = {{x1, y1}, {x2, y2}, {x3, y3}, {x1, y1}};
    return CreatePolygonRgn(points, PolygonFillMode::Winding);
}

Rect ScaleImageToRect(const Rect& image, const Rect& bounds) {
    const int iw = image.width();
    const int ih = image.height();
    const int bw = bounds.width();
    const int bh = bounds.height();
    if (iw == 0 || ih == 0) return {bounds.left, bounds.top, bounds.left, bounds.top};
    int w = 0;
    int h = 0;
    if (static_cast<double>(bh) / ih > static_cast<double>(bw) / iw) {
        w = MulDiv(iw, bw, iw);
        h = MulDiv(ih, bw, iw);
    } else {
        w = MulDiv(iw, bh, ih);
        h = MulDiv(ih, bh, ih);
    }
    return Rect{0, 0, w, h}.translated(bounds.left + (bw - w) / 2, bounds.top + (bh - h) / 2);
}

void DrawTiledImage(const PixelOptions& options, Bitmap24& canvas, const Rect& r, const Bitmap24* graphic) {
    DrawTiledImage(options, canvas, r, graphic, {0, 0, canvas.width(), canvas.height()});
}

void DrawTiledImage(const PixelOptions& options, Bitmap24& canvas, const Rect& r, const Bitmap24* graphic,
                    const Rect& clip) {
    if (!graphic || graphic->isEmpty()) return;
    const int gw = graphic->width();
    const int gh = graphic->height();
    const int rows = r.height() / gh + 1;
    const int columns = r.width() / gw + 1;
    // Only the tiles that reach into the clip are drawn.
    const Rect area = clip.intersected({0, 0, canvas.width(), canvas.height()});
    if (area.isEmpty()) return;
    const int firstRow = std::max(0, (area.top - r.top) / gh - 1);
    const int firstColumn = std::max(0, (area.left - r.left) / gw - 1);
    for (int row = firstRow; row < rows && r.top + row * gh < area.bottom; ++row)
        for (int column = firstColumn; column < columns && r.left + column * gw < area.right; ++column) {
            const Rect tile{r.left + column * gw, r.top + row * gh, r.left + (column + 1) * gw,
                            r.top + (row + 1) * gh};
            StretchDraw(options, canvas, tile, *graphic, {0, 0, gw, gh}, area);
        }
}

void MirrorCopyRect(const PixelOptions& options, Bitmap24& canvas, const Rect& d, const Bitmap24& bitmap,
                    const Rect& s, bool horizontal, bool vertical) {
    const Rect source = s.intersected({0, 0, bitmap.width(), bitmap.height()});
    if (source.isEmpty()) return;
    Rect dest = d;
    if (horizontal) {
        dest.left = d.right + 1;
        dest.right = d.left - 1;
    }
    if (vertical) {
        dest.top = d.bottom + 1;
        dest.bottom = d.top - 1;
    }
    StretchDraw(options, canvas, dest, bitmap, source);
}

namespace {

// The rows [firstRow, lastRow) of MergeTransparent, `width` pixels each.
void BlendRows(Bitmap24& dest, const Bitmap24& source, const Bitmap24* under, int width, int firstRow,
               int lastRow, int percent) {
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    const uint16_t keep = static_cast<uint16_t>(100 - percent);
    const uint16_t take = static_cast<uint16_t>(percent);
    for (int y = firstRow; y < lastRow; ++y) {
        uint8_t* out = dest.row(y);
        const uint8_t* in = source.row(y);
        const uint8_t* base = under ? under->row(y) : out;
        // Byte arithmetic in 16-bit lanes over a whole row, which the
        // compiler vectorises (the divisions become multiplications).
        for (std::size_t i = 0; i < bytes; ++i) {
            const uint16_t kept = static_cast<uint16_t>(base[i] * keep);
            const uint16_t taken = static_cast<uint16_t>(in[i] * take);
            out[i] = static_cast<uint8_t>(kept / 100 + taken / 100);
        }
    }
}

} // namespace

void MergeTransparent(const PixelOptions& options, Bitmap24& dest, const Bitmap24& source, int percent,
                      const Bitmap24* under) {
    percent = std::clamp(percent, 0, 100);
    if (under) {
        if (under->width() != dest.width() || under->height() != dest.height()) return;
        // Outside the area both share, dest keeps under's pixels.
        if (source.width() < dest.width() || source.height() < dest.height())
            DrawBitmap(options, dest, 0, 0, *under);
    }
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    if (width <= 0 || height <= 0) return;
    ForRowBands(height, static_cast<int64_t>(width) * height, options, [&](int firstRow, int lastRow, int) {
        BlendRows(dest, source, under, width, firstRow, lastRow, percent);
    });
}

namespace {

// Rounds half to even (the floating-point unit's default rounding) for
// |v| < 2^51: adding 1.5 * 2^52 pushes the fraction out of the mantissa, and
// subtracting it again leaves the rounded value. Unlike a library call this
// stays inside vectorised loops.
inline double RoundHalfEven(double v) {
    constexpr double kShift = 6755399441055744.0;
    return (v + kShift) - kShift;
}

// Where along one destination row the source point u(x) = u0 + x * du lies
// in [lo, hi]. Outer: the columns [first, last) narrowed to those that can
// be inside, widened by a pixel for safety (each is still tested). Inner: the
// columns that are inside beyond doubt, narrowed by a pixel.
void NarrowRange(double u0, double du, double lo, double hi, bool inner, int& first, int& last) {
    if (du == 0) {
        if (u0 < lo || u0 > hi) last = first;
        return;
    }
    double a = (lo - u0) / du;
    double b = (hi - u0) / du;
    if (a > b) std::swap(a, b);
    const double from = inner ? std::ceil(a) + 1 : std::floor(a) - 1;
    const double to = inner ? std::floor(b) - 1 : std::ceil(b) + 2;
    // Clamp in floating point first: a and b can be far outside int's range.
    const double clampedFrom = std::clamp(from, static_cast<double>(first), static_cast<double>(last));
    first = static_cast<int>(clampedFrom);
    last = static_cast<int>(std::clamp(to, clampedFrom, static_cast<double>(last)));
}

// The source point of destination column x of a row; dySin and dyCos are
// the row's distance from the centre times the sine and the cosine.
inline void SourcePoint(int x, int cx, int cy, double cosA, double sinA, double dySin, double dyCos,
                        int32_t& u, int32_t& v) {
    const double dx = static_cast<double>(x - cx);
    u = static_cast<int32_t>(RoundHalfEven(dx * cosA - dySin)) + cx;
    v = static_cast<int32_t>(RoundHalfEven(dx * sinA + dyCos)) + cy;
}

// The byte offsets in the source (below 2 GB) of the points that destination
// columns [first, last) of one row take, all inside the source. Built three
// times, for AVX-512 and AVX2 where the processor has them and for plain
// x86-64; the results are identical (the same rounding, and no fused
// multiply-add: the pixel code is compiled without contraction).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void RowSourceOffsets(int first, int last, int cx, int cy, double cosA, double sinA, double dySin, double dyCos,
                      int32_t stride, uint32_t* __restrict offset) {
    for (int x = first; x < last; ++x) {
        int32_t u, v;
        SourcePoint(x, cx, cy, cosA, sinA, dySin, dyCos, u, v);
        offset[x] = static_cast<uint32_t>(v) * static_cast<uint32_t>(stride) + static_cast<uint32_t>(u) * 3u;
    }
}

// Per row of a rotation: the columns whose source can be inside the picture,
// and within them those that are inside beyond doubt.
struct RowRange {
    int first, last, innerFirst, innerLast;
};

// One rotation of MergeRotate: its centre, angle, per-row ranges, and where
// under's pixels are drawn (the rectangle and, when given, per row within it).
struct Rotation {
    int cx, cy;
    double cosA, sinA;
    std::vector<RowRange> ranges;
    Rect underArea;
    const RowSpans* underRows;
};

// The rows [firstRow, lastRow) of a rotation.
void RotateRows(const PixelOptions& options, Bitmap24& dest, const Bitmap24& source, const Bitmap24* under,
                const Rotation& rotation, int firstRow, int lastRow, std::vector<uint32_t>& offsets) {
    // Plain names, not a structured binding: the edge test below is a lambda.
    const int cx = rotation.cx;
    const int cy = rotation.cy;
    const double cosA = rotation.cosA;
    const double sinA = rotation.sinA;
    const std::vector<RowRange>& ranges = rotation.ranges;
    const Rect& underArea = rotation.underArea;
    const RowSpans* underRows = rotation.underRows;
    if (under) {
        // Under's pixels wherever the turned picture does not surely cover
        // the row (outside the columns inside beyond doubt), within the area
        // where dest may differ from under.
        const int lastUnderRow =
            std::min({lastRow, underArea.bottom, underRows ? static_cast<int>(underRows->size()) : lastRow});
        for (int y = std::max(firstRow, underArea.top); y < lastUnderRow; ++y) {
            int left = underArea.left;
            int right = underArea.right;
            if (underRows) {
                const RowSpan& differs = (*underRows)[static_cast<std::size_t>(y)];
                left = std::max(left, differs.first);
                right = std::min(right, differs.last);
            }
            const auto copyUnder = [&](int from, int to) {
                from = std::max(from, left);
                to = std::min(to, right);
                if (from < to)
                    std::memcpy(dest.row(y) + static_cast<std::size_t>(from) * 3,
                                under->row(y) + static_cast<std::size_t>(from) * 3,
                                static_cast<std::size_t>(to - from) * 3);
            };
            const RowRange& r = ranges[static_cast<std::size_t>(y)];
            copyUnder(0, r.innerFirst);
            copyUnder(std::max(r.innerFirst, r.innerLast - 1), dest.width());
        }
    }
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    const std::size_t stride = source.stride();
    const uint8_t* in = source.bits();
    // Whole rows, one after the other: the eight-pixel gathers then read
    // along the source's slanted lines in an order its caches follow best
    // (narrower column blocks measured slower).
    for (int y = firstRow; y < lastRow; ++y) {
        const RowRange& r = ranges[static_cast<std::size_t>(y)];
        if (r.first >= r.last) continue;
        const int innerFirst = std::clamp(r.innerFirst, r.first, r.last);
        const int innerLast = std::clamp(r.innerLast, innerFirst, r.last);
        const double dy = static_cast<double>(y) - cy;
        const double dySin = dy * sinA;
        const double dyCos = dy * cosA;
        uint8_t* out = dest.row(y);
        // Near the picture's edges each point is tested.
        const auto tested = [&](int from, int to) {
            for (int x = from; x < to; ++x) {
                int32_t u, v;
                SourcePoint(x, cx, cy, cosA, sinA, dySin, dyCos, u, v);
                if (static_cast<unsigned>(u) < static_cast<unsigned>(width) &&
                    static_cast<unsigned>(v) < static_cast<unsigned>(height))
                    std::memcpy(out + x * 3, in + static_cast<std::size_t>(v) * stride + u * 3, 3);
            }
        };
        tested(r.first, innerFirst);
        // Inside beyond doubt: no tests. That means u <= width - 2, so
        // each pixel may be read as four bytes inside the source row.
        RowSourceOffsets(innerFirst, innerLast, cx, cy, cosA, sinA, dySin, dyCos,
                         static_cast<int32_t>(stride), offsets.data());
        PickPixels(options, out + static_cast<std::size_t>(innerFirst) * 3, in, offsets.data() + innerFirst,
                   innerLast - innerFirst);
        tested(innerLast, r.last);
    }
}

} // namespace

RotationReach MergeRotate(const PixelOptions& options, Bitmap24& dest, const Bitmap24& source, int cx, int cy,
                          double angle, const Bitmap24* under, const Rect* underArea,
                          const RowSpans* underRows) {
    const Rect whole{0, 0, dest.width(), dest.height()};
    if (under && (under->width() != dest.width() || under->height() != dest.height())) return {whole, {}};
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    if (under && (width != dest.width() || height != dest.height())) {
        // Outside the area both share, dest keeps under's pixels.
        DrawBitmap(options, dest, 0, 0, *under);
        under = nullptr;
        underRows = nullptr;
    }
    if (width <= 0 || height <= 0 || source.byteSize() >= (std::size_t{1} << 31)) return {};
    const long double extended = angle;
    Rotation rotation{cx,
                      cy,
                      static_cast<double>(std::cos(extended)),
                      static_cast<double>(std::sin(extended)),
                      std::vector<RowRange>(static_cast<std::size_t>(height)),
                      underArea ? underArea->intersected(whole) : whole,
                      underRows};
    const double cosA = rotation.cosA;
    const double sinA = rotation.sinA;
    for (int y = 0; y < height; ++y) {
        const double dy = static_cast<double>(y) - cy;
        // u(x) and v(x), the unrounded source point along the row.
        const double u0 = -cx * cosA - dy * sinA + cx;
        const double v0 = -cx * sinA + dy * cosA + cy;
        RowRange& r = rotation.ranges[static_cast<std::size_t>(y)];
        r.first = 0;
        r.last = width;
        NarrowRange(u0, cosA, -0.5, width - 0.5, false, r.first, r.last);
        NarrowRange(v0, sinA, -0.5, height - 0.5, false, r.first, r.last);
        r.innerFirst = r.first;
        r.innerLast = r.last;
        NarrowRange(u0, cosA, 0.5, width - 1.5, true, r.innerFirst, r.innerLast);
        NarrowRange(v0, sinA, 0.5, height - 1.5, true, r.innerFirst, r.innerLast);
        if (r.innerFirst >= r.innerLast) r.innerFirst = r.innerLast = r.last;
    }

    // The pixels to draw, and where the picture may reach.
    int64_t pixels = 0;
    RotationReach reach{{width, height, 0, 0}, RowSpans(static_cast<std::size_t>(height))};
    Rect& reached = reach.bounds;
    for (int y = 0; y < height; ++y) {
        const RowRange& r = rotation.ranges[static_cast<std::size_t>(y)];
        if (r.first >= r.last) continue;
        pixels += r.last - r.first;
        reach.rows[static_cast<std::size_t>(y)] = {r.first, r.last};
        reached = {std::min(reached.left, r.first), std::min(reached.top, y), std::max(reached.right, r.last),
                   std::max(reached.bottom, y + 1)};
    }
    // Each thread's source offsets of one row.
    std::vector<uint32_t> offsets[2] = {std::vector<uint32_t>(static_cast<std::size_t>(width)),
                                        std::vector<uint32_t>(static_cast<std::size_t>(width))};
    ForRowBands(height, under ? int64_t{width} * height : pixels, options,
                [&](int firstRow, int lastRow, int worker) {
                    RotateRows(options, dest, source, under, rotation, firstRow, lastRow, offsets[worker]);
                });
    if (pixels == 0) reached = {};
    return reach;
}

} // namespace scr
