#pragma once
// Where a Flash projector (a standalone player program with one movie
// attached) keeps its movie:
//   Windows: the file ends with 8 bytes, the magic 0xFA123456 and the
//     movie's length, 32-bit little-endian each; the movie lies just before.
//   Linux: directly after the ELF image (the end of its section header
//     table) come the movie's length and the magic, 32-bit little-endian for
//     a 32-bit program, 64-bit (the magic sign-extended) for a 64-bit one;
//     the movie follows them.

#include "package/ByteSource.h"
#include "package/RecognisedFile.h"
#include "package/Result.h"

#include <cstdint>
#include <optional>

namespace scr {

inline constexpr uint32_t kProjectorMagic = 0xFA123456u;

// The part of a file a projector's trailer or header gives to its movie.
struct ProjectorMovieRegion {
    ScreenSaverFileKind kind = ScreenSaverFileKind::None;
    int64_t start = 0;
    int64_t size = 0;
    std::string place; // for people
};

// Nothing when the file does not end with the Windows magic; otherwise the
// region, or why the trailer cannot be right (a length of 0, a movie that
// would begin before the file).
std::optional<Result<ProjectorMovieRegion>> FindWindowsProjectorMovie(const ByteSource& source);

// Nothing when the file is not an ELF program with the magic after its
// image; otherwise the region, or why the header cannot be right.
std::optional<Result<ProjectorMovieRegion>> FindLinuxProjectorMovie(const ByteSource& source);

} // namespace scr
