#include "transitions/TransitionFrame.h"

#include "transitions/BitmapBlit.h"
#include "transitions/FrameComposer.h"

namespace scr {

Bitmap24 RenderTransitionFrame(const Bitmap24& oldPicture, const Bitmap24& newPicture, int style,
                               int progress, int step, RandomSource& random, const PixelOptions& pixels) {
    const int w = newPicture.width();
    const int h = newPicture.height();
    Bitmap24 old(w, h);
    StretchDraw(pixels, old, {0, 0, w, h}, oldPicture, {0, 0, oldPicture.width(), oldPicture.height()});
    Bitmap24 frame(w, h);
    ComposeFrame(frame, {old, newPicture, progress, step, style, pixels}, random, {});
    return frame;
}

} // namespace scr
