#pragma once
// How the pixel loops may use the processor. Part of a run's environment:
// built where the run begins and handed down to the frame composer, so that
// no loop reads a process-wide switch. Both choices give the same pixels;
// tests compare them.

namespace scr {

struct PixelOptions {
    // The eight-pixel (AVX2) paths, where the processor has them.
    bool vectorPaths = true;
    // How many threads a large frame's rows are shared among: 1, or 2 where
    // the processor has two cores.
    int threads = 2;
};

} // namespace scr
