#pragma once
// The sizes one transition frame is composed from: the picture's W x H, the
// progress p (0..100) and the lengths derived from it. The longer side
// advances in whole percent of its length and the shorter follows in
// proportion, so both reach the full side at p = 100.

#include "transitions/MulDiv.h"

namespace scr {

struct FrameGeometry {
    int W = 0;
    int H = 0;
    int p = 0;
    int step = 1;
    int ph = 0; // horizontal progress in pixels
    int pv = 0; // vertical progress in pixels
    int J = 0;  // look-ahead of the strip styles: one step's worth of the longer side, slightly more
    int a = 0;  // ph / 2
    int b = 0;  // pv / 2
};

inline FrameGeometry MakeFrameGeometry(int width, int height, int progress, int step) {
    FrameGeometry g;
    g.W = width;
    g.H = height;
    g.p = progress;
    g.step = step;
    if (width <= 0 || height <= 0) return g;
    if (width >= height) {
        g.ph = MulDiv(width, progress, 100);
        g.pv = MulDiv(g.ph, height, width);
        g.J = MulDiv(width, step, 90);
    } else {
        g.pv = MulDiv(height, progress, 100);
        g.ph = MulDiv(g.pv, width, height);
        g.J = MulDiv(height, step, 90);
    }
    g.a = g.ph / 2;
    g.b = g.pv / 2;
    return g;
}

} // namespace scr
