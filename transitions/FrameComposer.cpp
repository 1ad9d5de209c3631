#include "transitions/FrameComposer.h"

#include "transitions/BitmapBlit.h"
#include "transitions/FrameGeometry.h"
#include "transitions/StyleContext.h"
#include "transitions/StyleTable.h"

#include <algorithm>

namespace scr {

namespace {

// The smallest rectangle holding both; an empty one adds nothing.
Rect Bounding(const Rect& a, const Rect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The part of `stale` that a rectangle style's pieces leave showing. A piece
// that copies a part of the picture lying wholly inside it, with no
// mirroring, writes every pixel of its destination; the last piece is drawn
// only between the ends, and at the end the whole picture is.
Region StaleOutsidePieces(const Rect& stale, std::span<const Piece> pieces, int progress, const Rect& whole) {
    if (progress == 100) return Region();
    Region area(stale);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const bool drawn = i + 1 < pieces.size() || progress > 0;
        const bool writesAll = !piece.mirrorH && !piece.mirrorV && !piece.dest.isEmpty() &&
                               !piece.src.isEmpty() && piece.src.intersected(whole) == piece.src;
        if (drawn && writesAll) area = area.subtracted(Region(piece.dest));
    }
    return area;
}

} // namespace

FrameResult ComposeFrame(Bitmap24& frame, const FrameInput& input, RandomSource& random,
                         const FrameHooks& hooks, FrameMemory* memory) {
    FrameResult result;
    const Bitmap24& picture = input.newPicture;
    const Bitmap24& old = input.oldPicture;
    const Rect whole{0, 0, picture.width(), picture.height()};
    // The frame can be redrawn from what it holds only when the memory
    // describes it and no hook draws on it.
    const bool sameSizes = frame.width() == picture.width() && frame.height() == picture.height() &&
                           old.width() == picture.width() && old.height() == picture.height();
    const bool remembered =
        memory && memory->valid && sameSizes && !hooks.beforeNewFrame && !hooks.customDraw;
    const bool styleKnown = input.style >= 0 && input.style < kStyleCount;
    const StyleEntry* entry = styleKnown ? &StyleInfo(input.style) : nullptr;
    const bool growRegion = remembered && memory->newAreaKnown && entry && entry->kind == StyleKind::Region;
    // A pixel style writes every pixel of the frame; it draws the old
    // picture in the same pass, unless a hook draws on it first.
    const bool pixelStyleDrawsOld =
        entry && entry->kind == StyleKind::Pixel && sameSizes && !hooks.beforeNewFrame;
    if (memory) memory->valid = false;

    // The old picture goes back where the last frame wrote; those pixels
    // change back where nothing new covers them. A rectangle style's pieces
    // may cover much of that area, so there it waits until they are known.
    Rect stale = remembered && !growRegion && !pixelStyleDrawsOld ? memory->touched : Rect{};
    const auto restore = [&](const Region& area) {
        stale = {};
        if (area.isEmpty()) return;
        DrawThroughRegion(input.pixels, frame, old, area);
        if (hooks.invalidate) hooks.invalidate(area.bounds());
    };
    const bool restoreLater = !stale.isEmpty() && entry && entry->kind == StyleKind::Rectangle;
    // A pixel style puts the old picture back itself: where the last frame
    // wrote, or everywhere without a memory.
    const Rect oldPictureArea = pixelStyleDrawsOld && remembered ? memory->touched : whole;
    const bool rowsRemembered = pixelStyleDrawsOld && remembered &&
                                memory->touchedRows.size() == static_cast<std::size_t>(frame.height());
    const RowSpans* oldPictureRows = rowsRemembered ? &memory->touchedRows : nullptr;
    if (pixelStyleDrawsOld) {
        if (remembered && !oldPictureArea.isEmpty() && hooks.invalidate) hooks.invalidate(oldPictureArea);
    } else if (!remembered) {
        DrawBitmap(input.pixels, frame, 0, 0, old);
    } else if (!restoreLater) {
        restore(Region(stale));
    }
    if (hooks.beforeNewFrame) hooks.beforeNewFrame();

    int progress = std::clamp(input.progress, 0, 100);
    const FrameGeometry g = MakeFrameGeometry(picture.width(), picture.height(), progress, input.step);
    if (!entry) return result;
    result.composed = true;

    // Every area reported during the frame, to know what it wrote.
    Rect touched;
    const std::function<void(const Rect&)> report = [&](const Rect& r) {
        touched = Bounding(touched, r.normalised().intersected(whole));
        if (hooks.invalidate) hooks.invalidate(r);
    };
    StyleContext ctx{g,
                     frame,
                     picture,
                     pixelStyleDrawsOld ? &old : nullptr,
                     oldPictureArea,
                     oldPictureRows,
                     random,
                     input.pixels,
                     report,
                     {},
                     whole,
                     whole,
                     {},
                     {}};
    if (restoreLater)
        ctx.beforePieces = [&](std::span<const Piece> pieces) {
            restore(StaleOutsidePieces(stale, pieces, progress, whole));
        };
    if (entry->kind == StyleKind::Custom) {
        if (hooks.customDraw) {
            hooks.customDraw();
        } else {
            progress = 100;
            result.reachedEnd = true;
        }
    } else {
        entry->work(ctx, entry->args);
    }

    // Where a region style's frame shows the new picture.
    const auto newArea = [&] {
        if (progress == 100) return Region(whole);
        if (progress == 0 || !ctx.region) return Region();
        return ctx.region->intersected(Region(whole));
    };
    if (growRegion) {
        // Only where the region changed: the new picture where it grew, the
        // old one where it shrank.
        const Region now = newArea();
        const Region grown = now.subtracted(memory->newArea);
        const Region shrunk = memory->newArea.subtracted(now);
        DrawThroughRegion(input.pixels, frame, picture, grown);
        DrawThroughRegion(input.pixels, frame, old, shrunk);
        for (const Region* change : {&grown, &shrunk})
            if (!change->isEmpty()) report(change->bounds());
        result.changed = Bounding(grown.bounds(), shrunk.bounds());
        memory->valid = true;
        memory->newArea = now;
        memory->touched = now.bounds();
        return result;
    }

    if (!stale.isEmpty()) restore(StaleOutsidePieces(stale, {}, progress, whole));
    if (progress == 100) {
        DrawBitmap(input.pixels, frame, 0, 0, picture);
        report(whole);
    } else if (progress > 0) {
        switch (entry->kind) {
        case StyleKind::Rectangle:
            StretchDraw(input.pixels, frame, ctx.dest, picture, ctx.src);
            break;
        case StyleKind::Custom:
        case StyleKind::Region:
            if (ctx.region) DrawThroughRegion(input.pixels, frame, picture, *ctx.region);
            break;
        case StyleKind::Pixel:
            break;
        }
    }
    result.changed = ctx.dest;
    report(ctx.dest);
    // What was written is known for the styles that draw only through the
    // composer; style 0's own drawing and the hooks are not.
    if (memory && sameSizes && entry->kind != StyleKind::Custom && !hooks.beforeNewFrame) {
        memory->valid = true;
        memory->touched = touched;
        memory->newAreaKnown = entry->kind == StyleKind::Region;
        memory->newArea = memory->newAreaKnown ? newArea() : Region();
        // A pixel style that drew the old picture itself may say, row by
        // row, where the frame differs from it now.
        const bool rowsKnown = pixelStyleDrawsOld && progress < 100 &&
                               ctx.reachedRows.size() == static_cast<std::size_t>(frame.height());
        memory->touchedRows = rowsKnown ? std::move(ctx.reachedRows) : RowSpans();
    }
    return result;
}

} // namespace scr
