#include "transitions/RectangleStyles.h"

#include <array>
#include <vector>

namespace scr {
namespace {

// One piece along one axis: destination interval, source interval, mirrored.
struct Span1D {
    int dLo, dHi, sLo, sHi;
    bool mirror = false;
};

// The pieces of one axis motion, in copy order (the last one is finished at
// the end of the frame).
int AxisPieces(int kind, int S, int t, std::array<Span1D, 2>& out) {
    const int c = t / 2;
    switch (static_cast<AxisMotion>(kind)) {
    case AxisMotion::SqueezeFromEnd:
        out[0] = {S - t, S, 0, S};
        return 1;
    case AxisMotion::SqueezeFromStart:
        out[0] = {0, t, 0, S};
        return 1;
    case AxisMotion::SlideFromEnd:
        out[0] = {S - t, 2 * S - t, 0, S};
        return 1;
    case AxisMotion::SlideFromStart:
        out[0] = {t - S, t, 0, S};
        return 1;
    case AxisMotion::WipeFromStart:
        out[0] = {0, t, 0, t};
        return 1;
    case AxisMotion::WipeFromEnd:
        out[0] = {S - t, S, S - t, S};
        return 1;
    case AxisMotion::ZoomStartFixed:
        out[0] = {0, 2 * S - t, 0, t};
        return 1;
    case AxisMotion::ZoomEndFixed:
        out[0] = {t - S, S, S - t, S};
        return 1;
    case AxisMotion::ZoomCentreFixed:
        out[0] = {t - S, 2 * S - t, (S - t) / 2, (S + t) / 2};
        return 1;
    case AxisMotion::SqueezeFromCentre:
        out[0] = {(S - t) / 2, (S + t) / 2, 0, S};
        return 1;
    case AxisMotion::WipeFromCentre:
        out[0] = {(S - t) / 2, (S + t) / 2, (S - t) / 2, (S + t) / 2};
        return 1;
    case AxisMotion::WipeFromBothEnds:
        out[0] = {0, c + 1, 0, c + 1};
        out[1] = {S - c - 1, S, S - c - 1, S};
        return 2;
    case AxisMotion::SqueezeHalvesFromBothEnds:
        out[0] = {0, c + 1, 0, S / 2 + 1};
        out[1] = {S - c - 1, S, S / 2, S};
        return 2;
    case AxisMotion::FoldFromStart: {
        const int m = FoldWidth(t, S);
        out[0] = {t, t + m, t + m, t + 2 * m, true};
        out[1] = {0, t, 0, t};
        return 2;
    }
    case AxisMotion::FoldFromEnd: {
        const int m = FoldWidth(t, S);
        const int F = S - t;
        out[0] = {F - m, F, F - 2 * m, F - m, true};
        out[1] = {F, S, F, S};
        return 2;
    }
    case AxisMotion::SmearFromStart:
        out[0] = {0, t, 0, t};
        out[1] = {t, S, t, t + S / 20};
        return 2;
    case AxisMotion::SmearFromEnd:
        out[0] = {S - t, S, S - t, S};
        out[1] = {0, S - t, S - t - S / 20, S - t};
        return 2;
    case AxisMotion::Whole:
    default:
        out[0] = {0, S, 0, S};
        return 1;
    }
}

} // namespace

int FoldWidth(int t, int S) {
    if (t < S / 5) return t / 2;
    if (t + S / 5 > S) return (S - t) / 2;
    return S / 10;
}

void AxisStyle(StyleContext& ctx, std::span<const int> args) {
    const FrameGeometry& g = ctx.g;
    std::array<Span1D, 2> xs{};
    std::array<Span1D, 2> ys{};
    const int nx = AxisPieces(args[0], g.W, g.ph, xs);
    const int ny = AxisPieces(args[1], g.H, g.pv, ys);
    std::vector<Piece> list;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            list.push_back({{xs[i].dLo, ys[j].dLo, xs[i].dHi, ys[j].dHi},
                            {xs[i].sLo, ys[j].sLo, xs[i].sHi, ys[j].sHi},
                            xs[i].mirror,
                            ys[j].mirror});
    ctx.pieces(list);
}

void EdgesWipeStyle(StyleContext& ctx, std::span<const int>) {
    const int W = ctx.g.W, H = ctx.g.H, a = ctx.g.a, b = ctx.g.b;
    const Rect rects[] = {{0, 0, W, b}, {0, H - b, W, H}, {0, 0, a, H}, {W - a, 0, W, H}};
    const Piece list[] = {
        {rects[0], rects[0]}, {rects[1], rects[1]}, {rects[2], rects[2]}, {rects[3], rects[3]}};
    ctx.pieces(list);
}

void CornersWipeStyle(StyleContext& ctx, std::span<const int>) {
    const int W = ctx.g.W, H = ctx.g.H, a = ctx.g.a, b = ctx.g.b;
    const Rect rects[] = {{0, 0, a + 1, b + 1},
                          {0, H - b - 1, a + 1, H},
                          {W - a - 1, H - b - 1, W, H},
                          {W - a - 1, 0, W, b + 1}};
    const Piece list[] = {
        {rects[0], rects[0]}, {rects[1], rects[1]}, {rects[2], rects[2]}, {rects[3], rects[3]}};
    ctx.pieces(list);
}

void QuartersSqueezeStyle(StyleContext& ctx, std::span<const int>) {
    const int W = ctx.g.W, H = ctx.g.H, a = ctx.g.a, b = ctx.g.b;
    const Piece list[] = {
        {{0, 0, a + 1, b + 1}, {0, 0, W / 2 + 1, H / 2 + 1}},
        {{0, H - b, a + 1, H}, {0, H / 2 + 1, W / 2 + 1, H}},
        {{W - a, H - b, W, H}, {W / 2 + 1, H / 2 + 1, W, H}},
        {{W - a, 0, W, b + 1}, {W / 2 + 1, 0, W, H / 2 + 1}},
    };
    ctx.pieces(list);
}

void QuartersSlideStyle(StyleContext& ctx, std::span<const int>) {
    const int W = ctx.g.W, H = ctx.g.H, a = ctx.g.a, b = ctx.g.b, ph = ctx.g.ph, pv = ctx.g.pv;
    const Piece list[] = {
        {{(ph - W) / 2, 0, a + 1, H / 2 + 1}, {0, 0, W / 2 + 1, H / 2 + 1}},
        {{W / 2 - 1, (pv - H) / 2, W, b + 1}, {W / 2 - 1, 0, W, H / 2 + 1}},
        {{W - a, H / 2 - 1, W + (W - ph) / 2, H}, {W / 2 + 1, H / 2 - 1, W, H}},
        {{0, H - b, W / 2 + 1, H + (H - pv) / 2}, {0, H / 2 + 1, W / 2 + 1, H}},
    };
    ctx.pieces(list);
}

} // namespace scr
