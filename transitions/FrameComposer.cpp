#include "transitions/FrameComposer.h"

#include "transitions/BitmapBlit.h"
#include "transitions/FrameGeometry.h"
#include "transitions/StyleContext.h"
#include "transitions/StyleTable.h"

#include <algorithm>

namespace scr {

FrameResult ComposeFrame(Bitmap24& frame, const FrameInput& input, RandomSource& random,
                         const FrameHooks& hooks) {
    FrameResult result;
    DrawBitmap(frame, 0, 0, input.oldPicture);
    if (hooks.beforeNewFrame) hooks.beforeNewFrame();

    const Bitmap24& picture = input.newPicture;
    int progress = std::clamp(input.progress, 0, 100);
    const FrameGeometry g = MakeFrameGeometry(picture.width(), picture.height(), progress, input.step);
    const Rect whole{0, 0, g.W, g.H};
    if (input.style < 0 || input.style >= kStyleCount) return result;
    result.composed = true;

    const StyleEntry& entry = StyleInfo(input.style);
    StyleContext ctx{g, frame, picture, random, hooks.invalidate, whole, whole, {}};
    if (entry.kind == StyleKind::Custom) {
        if (hooks.customDraw) {
            hooks.customDraw();
        } else {
            progress = 100;
            result.reachedEnd = true;
        }
    } else {
        entry.work(ctx, entry.args);
    }

    if (progress == 100) {
        DrawBitmap(frame, 0, 0, picture);
    } else if (progress > 0) {
        switch (entry.kind) {
        case StyleKind::Rectangle:
            StretchDraw(frame, ctx.dest, picture, ctx.src);
            break;
        case StyleKind::Custom:
        case StyleKind::Region:
            if (ctx.region) DrawThroughRegion(frame, picture, *ctx.region);
            break;
        case StyleKind::Pixel:
            break;
        }
    }
    result.changed = ctx.dest;
    if (hooks.invalidate) hooks.invalidate(ctx.dest);
    return result;
}

} // namespace scr
