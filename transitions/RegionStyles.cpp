#include "transitions/RegionStyles.h"

#include "transitions/BitmapHelpers.h"
#include "transitions/MulDiv.h"
#include "transitions/RegionBuilders.h"
#include "transitions/RegionShapes.h"

#include <numbers>
#include <vector>

namespace scr {

void RoundRectStyle(StyleContext& ctx, std::span<const int> args) {
    const int W = ctx.g.W, H = ctx.g.H, ph = ctx.g.ph, pv = ctx.g.pv;
    switch (args[0]) {
    case 58:
        ctx.region = CreateRoundRectRgn(-2 * W, -5, 2 * ph, H + 5, 2 * W, 2 * W);
        break;
    case 59:
        ctx.region = CreateRoundRectRgn(W - 2 * ph, -5, 3 * W, H + 5, 2 * W, 2 * W);
        break;
    case 69:
        ctx.region = CreateRoundRectRgn(-5, -2 * H, W + 5, 2 * pv, 2 * H, 2 * H);
        break;
    case 70:
        ctx.region = CreateRoundRectRgn(-5, H - 2 * pv, W + 5, 3 * H, 2 * H, 2 * H);
        break;
    case 80:
        ctx.region = CreateRoundRectRgn(-2 * W, -2 * H, 2 * ph, 2 * pv, 2 * W, 2 * H);
        break;
    case 81:
        ctx.region = CreateRoundRectRgn(W - 2 * ph, -2 * H, 3 * W, 2 * pv, 2 * W, 2 * H);
        break;
    case 82:
        ctx.region = CreateRoundRectRgn(-2 * W, H - 2 * pv, 2 * ph, 3 * H, 2 * W, 2 * H);
        break;
    // The bottom-right corner uses a 2H x 2H corner ellipse, unlike its three siblings.
    case 83:
        ctx.region = CreateRoundRectRgn(W - 2 * ph, H - 2 * pv, 3 * W, 3 * H, 2 * H, 2 * H);
        break;
    case 84:
        ctx.region =
            CreateRoundRectRgn(W / 2 - ph, H / 2 - pv, W / 2 + ph, H / 2 + pv, 9 * ph / 5, 9 * pv / 5);
        break;
    case 85:
        ctx.region = CreateRectRgn(0, 0, W, H)
                         .xored(CreateRoundRectRgn(ph - W / 2, pv - H / 2, 3 * W / 2 - ph, 3 * H / 2 - pv,
                                                   9 * (W - ph) / 5, 9 * (H - pv) / 5));
        break;
    default:
        break;
    }
}

void StripsStyle(StyleContext& ctx, std::span<const int> args) {
    const FrameGeometry& g = ctx.g;
    ctx.region =
        CreateStripsRgn(args[0] * g.ph, args[1] * g.pv, g.W, g.H, args[2] ? g.J : 0, args[3], args[4]);
}

void StripsMeetStyle(StyleContext& ctx, std::span<const int>) {
    const FrameGeometry& g = ctx.g;
    const Region first = CreateStripsRgn(2 * g.ph, 2 * g.pv, g.W, g.H, g.J, 1, 1);
    ctx.region = first.intersected(CreateStripsRgn(2 * g.ph, 2 * g.pv, g.W, g.H, g.J, 2, 2));
}

void RaggedStyle(StyleContext& ctx, std::span<const int> args) {
    const FrameGeometry& g = ctx.g;
    ctx.region = CreateRaggedRgn(g.ph, g.pv, g.W, g.H, args[0], args[1], ctx.random);
}

void ScatterStyle(StyleContext& ctx, std::span<const int> args) {
    const FrameGeometry& g = ctx.g;
    ctx.region = CreateScatterRgn(g.ph, g.pv, g.W, g.H, args[0], args[1], ctx.random);
}

void TriangleStyle(StyleContext& ctx, std::span<const int> args) {
    const int W = ctx.g.W, H = ctx.g.H, ph = ctx.g.ph, pv = ctx.g.pv;
    switch (args[0]) {
    case 110:
        ctx.region = CreateTriangleRgn(0, 0, 2 * ph, 0, 0, 2 * pv);
        break;
    case 111:
        ctx.region = CreateTriangleRgn(W, 0, W - 2 * ph, 0, W, 2 * pv);
        break;
    case 112:
        ctx.region = CreateTriangleRgn(0, H, 2 * ph, H, 0, H - 2 * pv);
        break;
    case 113:
        ctx.region = CreateTriangleRgn(W, H, W - 2 * ph, H, W, H - 2 * pv);
        break;
    case 114:
        ctx.region = CreateTriangleRgn(0, H, 0, 0, ph, H).united(CreateTriangleRgn(W, H, W, 0, W - ph, 0));
        break;
    case 115:
        ctx.region = CreateTriangleRgn(W, 0, 0, 0, W, pv).united(CreateTriangleRgn(W, H, 0, H, 0, H - pv));
        break;
    case 116:
        ctx.region = CreateTriangleRgn(W / 2, H / 2, 0, H, 0, H - pv)
                         .united(CreateTriangleRgn(0, 0, ph, 0, W / 2, H / 2))
                         .united(CreateTriangleRgn(W - ph, H, W / 2, H / 2, W, H))
                         .united(CreateTriangleRgn(W / 2, H / 2, W, 0, W, pv));
        break;
    case 117: {
        // A 10 x 10 grid of triangles growing from each cell's top-left corner.
        const int s = ph / 5;
        const int t = MulDiv(s, H, W);
        std::vector<Rect> rects;
        for (int i = 0; i < 10; ++i) {
            for (int j = 0; j < 10; ++j) {
                const int x = j * W / 10;
                const int y = i * H / 10;
                const Region cell = CreateTriangleRgn(x, y, x + s, y, x, y + t);
                rects.insert(rects.end(), cell.rects().begin(), cell.rects().end());
            }
        }
        ctx.region = Region::FromRects(rects);
        break;
    }
    default:
        break;
    }
}

void BlocksStyle(StyleContext& ctx, std::span<const int>) {
    ctx.region = CreateBlocksRgn(ctx.g.W, ctx.g.H, ctx.g.p, ctx.random);
}

void FadeStyle(StyleContext& ctx, std::span<const int>) {
    MergeTransparent(ctx.pixels, ctx.frame, ctx.picture, ctx.g.p, ctx.oldPicture);
}

void RotateStyle(StyleContext& ctx, std::span<const int> args) {
    const int cx = args[0] ? ctx.g.W : -1;
    const int cy = args[1] ? ctx.g.H : -1;
    const long double angle = (100 - ctx.g.p) * std::numbers::pi_v<long double> / 200;
    // Only what the turned picture reaches changes with the new picture.
    RotationReach reach = MergeRotate(ctx.pixels, ctx.frame, ctx.picture, cx, cy, static_cast<double>(angle),
                                      ctx.oldPicture, &ctx.oldPictureArea, ctx.oldPictureRows);
    ctx.dest = reach.bounds;
    ctx.reachedRows = std::move(reach.rows);
}

} // namespace scr
