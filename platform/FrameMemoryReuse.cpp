#include "platform/FrameMemoryReuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace scr {

void ReuseFreedFrameMemory() {
#if defined(__GLIBC__)
    // Above 32 MB (the largest the C library takes; a 3840 x 2160 x 3 byte
    // frame is 25 MB), blocks are mapped alone.
    constexpr int kMappedAbove = 32 * 1024 * 1024;
    // The heap gives memory back once that much lies free at its top.
    constexpr int kKeptFree = 128 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kMappedAbove);
    mallopt(M_TRIM_THRESHOLD, kKeptFree);
#endif
}

} // namespace scr
