#include "transitions/StyleContext.h"

#include "transitions/BitmapBlit.h"
#include "transitions/BitmapHelpers.h"

#include <algorithm>

namespace scr {
namespace {

// The pixels a piece's copy writes: a mirrored copy reaches two pixels past
// its rectangle's right (or bottom) edge.
Rect WrittenArea(const Piece& piece) {
    Rect r = piece.dest;
    if (piece.mirrorH) r = {std::min(r.left, r.right), r.top, std::max(r.left, r.right) + 2, r.bottom};
    if (piece.mirrorV) r = {r.left, std::min(r.top, r.bottom), r.right, std::max(r.top, r.bottom) + 2};
    return r;
}

} // namespace

void StyleContext::pieces(std::span<const Piece> list) {
    if (list.empty()) return;
    if (beforePieces) beforePieces(list);
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        const Piece& piece = list[i];
        if (piece.mirrorH || piece.mirrorV)
            MirrorCopyRect(pixels, frame, piece.dest, picture, piece.src, piece.mirrorH, piece.mirrorV);
        else
            StretchDraw(pixels, frame, piece.dest, picture, piece.src);
        if (invalidate) invalidate(WrittenArea(piece));
    }
    dest = list.back().dest;
    src = list.back().src;
}

} // namespace scr
