#pragma once
// Keeping freed frame buffers for reuse.
//
// A show allocates and frees bitmaps of a whole screen for every item (the
// decoded picture, the transition's old and new pictures), 25 MB each at
// 3840 x 2160. By default the C library maps each such block afresh and
// returns it on free, so every new bitmap pays one page fault per 4 KB page,
// several milliseconds at 4K. Raising the size above which blocks are mapped
// on their own, and the amount the heap keeps when it shrinks, lets freed
// buffers of that size be used again without faults. Blocks larger than a
// 4K frame (huge items) are still mapped and returned on their own.

namespace scr {

void ReuseFreedFrameMemory();

} // namespace scr
