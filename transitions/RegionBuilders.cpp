#include "transitions/RegionBuilders.h"

#include "transitions/Rect.h"

#include <algorithm>
#include <vector>

namespace scr {
namespace {

// The builders are written for the horizontal part (rows of strips across
// the picture, fronts moving along x). The vertical part is the same pattern
// with the axes swapped, so each builder adds its rectangles through an Axes
// that either keeps or transposes them.
struct Axes {
    bool transposed;
    std::vector<Rect>& out;
    // (along-front left, across top, along right, across bottom)
    void add(int l, int t, int r, int b) const {
        if (transposed)
            out.push_back({t, l, b, r});
        else
            out.push_back({l, t, r, b});
    }
};

// One part of the strips: strips across a picture `length` long (in the
// direction the fronts move) and `depth` deep (across the strips).
void StripsPart(const Axes& axes, int h, int length, int depth, int j, int kind) {
    if (kind == 0) return;
    if (h <= length) {
        if (h + j > length) h = length;
        for (int i = 0; i < depth + 5; i += 10) {
            switch (kind) {
            case 1:
            case 5:
                axes.add(length - h, i, length, i + 5);
                break;
            case 2:
            case 4:
                axes.add(0, i, h, i + 5);
                break;
            case 3:
                axes.add(length - h, i, length, i + 5);
                axes.add(0, i + 5, h, i + 10);
                break;
            default:
                break;
            }
        }
    } else {
        for (int i = 5; i < depth + 5; i += 10) {
            axes.add(0, i - 5, length, i);
            switch (kind) {
            case 1:
            case 4:
                axes.add(2 * length - h, i, length, i + 5);
                break;
            case 2:
            case 5:
                axes.add(0, i, h - length, i + 5);
                break;
            default:
                break;
            }
        }
    }
}

void RaggedPart(const Axes& axes, int h, int length, int depth, int kind, RandomSource& random) {
    if (kind == 0) return;
    const int c = h < length ? length / 7 : 0;
    const int extra = depth % 5;
    for (int off = 0; off < depth; off += 5) {
        const int bottom = off + 5 + extra;
        // Each moving edge draws two numbers, in this order, and moves by their difference.
        auto jitter = [&] {
            const int r1 = random.Random(c);
            const int r2 = random.Random(c);
            return r1 - r2;
        };
        switch (kind) {
        case 1:
            axes.add(length - h + jitter(), off, length, bottom);
            break;
        case 2:
            axes.add(0, off, h + jitter(), bottom);
            break;
        case 3: {
            const int first = jitter();
            const int second = jitter();
            axes.add((length - h + first) / 2, off, length / 2, bottom);
            axes.add(length / 2, off, (length + h + second) / 2, bottom);
            break;
        }
        case 4: {
            const int first = jitter();
            const int second = jitter();
            axes.add(length - (h + first) / 2, off, length, bottom);
            axes.add(0, off, (h + second) / 2, bottom);
            break;
        }
        default:
            break;
        }
    }
}

void ScatterPart(const Axes& axes, int h, int length, int depth, int kind, RandomSource& random) {
    if (kind == 0) return;
    const int e = h < length ? length / 10 : 0;
    const int f = std::max(e / 20, 2);
    const int n = e / f;
    const int t = (3 * e / f) / 4;
    for (int y = 0; y < depth; y += f / 2) {
        if (kind == 1)
            axes.add(length - h, y, length, y + f);
        else
            axes.add(0, y, h, y + f);
        for (int i = n; i >= 1; --i) {
            const int d = i <= t ? 1 : 0;
            if (d < random.Random(i)) continue;
            if (kind == 1)
                axes.add(length - h - i * f, y, length - h - i * f + f, y + f);
            else
                axes.add(h + (i - 1) * f, y, h + i * f, y + f);
        }
    }
}

} // namespace

Region CreateStripsRgn(int hx, int hy, int W, int H, int j, int kindH, int kindV) {
    std::vector<Rect> rects;
    StripsPart({false, rects}, hx, W, H, j, kindH);
    StripsPart({true, rects}, hy, H, W, j, kindV);
    return Region::FromRects(rects);
}

Region CreateRaggedRgn(int hx, int hy, int W, int H, int kindH, int kindV, RandomSource& random) {
    std::vector<Rect> rects;
    RaggedPart({false, rects}, hx, W, H, kindH, random);
    RaggedPart({true, rects}, hy, H, W, kindV, random);
    return Region::FromRects(rects);
}

Region CreateScatterRgn(int hx, int hy, int W, int H, int kindH, int kindV, RandomSource& random) {
    std::vector<Rect> rects;
    ScatterPart({false, rects}, hx, W, H, kindH, random);
    ScatterPart({true, rects}, hy, H, W, kindV, random);
    return Region::FromRects(rects);
}

Region CreateBlocksRgn(int W, int H, int p, RandomSource& random) {
    const int d = std::max(std::min(W, H) / 50 + p / 10, 1);
    std::vector<Rect> rects;
    for (int x = 0; x < W; x += d)
        for (int y = 0; y < H; y += d)
            if (random.Random(100) < p) rects.push_back({x - d, y - d, x + d, y + d});
    return Region::FromRects(rects);
}

} // namespace scr
