#include "transitions/BitmapHelpers.h"

#include "transitions/BitmapBlit.h"
#include "transitions/MulDiv.h"
#include "transitions/RegionShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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

void DrawTiledImage(Bitmap24& canvas, const Rect& r, const Bitmap24* graphic) {
    if (!graphic || graphic->isEmpty()) return;
    const int gw = graphic->width();
    const int gh = graphic->height();
    const int rows = r.height() / gh + 1;
    const int columns = r.width() / gw + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            DrawBitmap(canvas, r.left + column * gw, r.top + row * gh, *graphic);
}

void MirrorCopyRect(Bitmap24& canvas, const Rect& d, const Bitmap24& bitmap, const Rect& s, bool horizontal,
                    bool vertical) {
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
    StretchDraw(canvas, dest, bitmap, source);
}

void MergeTransparent(Bitmap24& dest, const Bitmap24& source, int percent) {
    percent = std::clamp(percent, 0, 100);
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    const std::size_t bytes = static_cast<std::size_t>(std::max(width, 0)) * 3;
    const uint16_t keep = static_cast<uint16_t>(100 - percent);
    const uint16_t take = static_cast<uint16_t>(percent);
    for (int y = 0; y < height; ++y) {
        uint8_t* __restrict out = dest.row(y);
        const uint8_t* __restrict in = source.row(y);
        // Plain byte arithmetic on whole rows, which the compiler vectorises.
        for (std::size_t i = 0; i < bytes; ++i) {
            const uint16_t kept = static_cast<uint16_t>(out[i] * keep) / 100;
            const uint16_t taken = static_cast<uint16_t>(in[i] * take) / 100;
            out[i] = static_cast<uint8_t>(kept + taken);
        }
    }
}

namespace {

// Round half to even for |v| < 2^51: adding and removing 1.5 * 2^52 leaves
// the value rounded by the floating-point unit's default rounding.
inline double RoundHalfEven(double v) {
    constexpr double kShift = 6755399441055744.0;
    volatile double shifted = v + kShift; // keeps the two steps apart
    return shifted - kShift;
}

} // namespace

void MergeRotate(Bitmap24& dest, const Bitmap24& source, int cx, int cy, double angle) {
    const int width = std::min(dest.width(), source.width());
    const int height = std::min(dest.height(), source.height());
    if (width <= 0 || height <= 0) return;
    const long double extended = angle;
    const double sinA = static_cast<double>(std::sin(extended));
    const double cosA = static_cast<double>(std::cos(extended));
    (void)RoundHalfEven;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = dest.row(y);
        const double dy = static_cast<double>(y) - cy;
        const double dySin = dy * sinA;
        const double dyCos = dy * cosA;
        for (int x = 0; x < width; ++x) {
            const double dx = static_cast<double>(x) - cx;
            const int sx = static_cast<int>(std::nearbyint(dx * cosA - dySin)) + cx;
            const int sy = static_cast<int>(std::nearbyint(dx * sinA + dyCos)) + cy;
            if (static_cast<unsigned>(sx) < static_cast<unsigned>(width) &&
                static_cast<unsigned>(sy) < static_cast<unsigned>(height)) {
                const uint8_t* in = source.row(sy) + static_cast<std::size_t>(sx) * 3;
                out[x * 3 + 0] = in[0];
                out[x * 3 + 1] = in[1];
                out[x * 3 + 2] = in[2];
            }
        }
    }
}

} // namespace scr
