// Fuzzes the recogniser of screen-saver files: the package trailer, the
// projector trailers, ELF and PE headers, the PE resource tree, movie
// headers, zlib and LZMA bodies, the tag walk and the generic scan, and the
// report of what was found.

#include "package/ScreenSaverFileRecogniser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const scr::MemoryByteSource source({data, size});
    const scr::RecognisedFile file = scr::RecogniseScreenSaverSource(source, "fuzz");
    if (!file.HasMovie()) (void)scr::NoMovieMessage(file);
    return 0;
}
