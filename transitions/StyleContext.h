#pragma once
// What a transition style's own work sees and produces while one frame is
// composed: the geometry, the two bitmaps, the random source, and as results
// the last piece (dest and src) of a rectangle style or the clip region of a
// region style.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "platform/RandomSource.h"
#include "transitions/FrameGeometry.h"
#include "transitions/Rect.h"
#include "transitions/Region.h"
#include "transitions/RowSpans.h"

#include <functional>
#include <optional>
#include <span>

namespace scr {

// One rectangle of the new picture copied into the frame: src stretched into
// dest, mirrored on the axes flagged.
struct Piece {
    Rect dest;
    Rect src;
    bool mirrorH = false;
    bool mirrorV = false;
};

struct StyleContext {
    const FrameGeometry& g;
    Bitmap24& frame;
    const Bitmap24& picture;
    // Set when the frame does not hold the old picture yet: a pixel style
    // then draws it in the same pass as the new one.
    const Bitmap24* oldPicture;
    // With oldPicture: the frame may differ from the old picture only here,
    // and within it, when given, only in these spans of each row.
    Rect oldPictureArea;
    const RowSpans* oldPictureRows;
    RandomSource& random;
    // How the pixel loops may use the processor.
    const PixelOptions& pixels;
    // Receives every area of the frame that changed, in frame coordinates.
    const std::function<void(const Rect&)>& invalidate;

    // Called with the whole list before the first piece is drawn, when the
    // composer has work of its own to finish on the frame first.
    std::function<void(std::span<const Piece>)> beforePieces;

    // Results. dest and src start as the whole picture.
    Rect dest;
    Rect src;
    std::optional<Region> region;
    // A pixel style's reach, one span per row, when it knows it: the frame
    // now holds the old picture outside them (with oldPicture given).
    RowSpans reachedRows;

    // Copies and invalidates every piece but the last at once; the last one
    // is left in dest and src for the end of the frame.
    void pieces(std::span<const Piece> list);
};

} // namespace scr
