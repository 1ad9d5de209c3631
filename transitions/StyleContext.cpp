#include "transitions/StyleContext.h"

#include "transitions/BitmapBlit.h"
#include "transitions/BitmapHelpers.h"

namespace scr {

void StyleContext::pieces(std::span<const Piece> list) {
    if (list.empty()) return;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        const Piece& piece = list[i];
        if (piece.mirrorH || piece.mirrorV)
            MirrorCopyRect(frame, piece.dest, picture, piece.src, piece.mirrorH, piece.mirrorV);
        else
            StretchDraw(frame, piece.dest, picture, piece.src);
        if (invalidate) invalidate(piece.dest);
    }
    dest = list.back().dest;
    src = list.back().src;
}

} // namespace scr
