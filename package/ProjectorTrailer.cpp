#include "package/ProjectorTrailer.h"

#include "package/ElfImage.h"

namespace scr {
namespace {

constexpr uint64_t kProjectorMagic64 = 0xFFFFFFFF00000000ull | kProjectorMagic;

uint64_t ReadLe(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

std::string ProjectorName(ScreenSaverFileKind kind) {
    return kind == ScreenSaverFileKind::WindowsProjector   ? "Windows projector"
           : kind == ScreenSaverFileKind::LinuxProjector32 ? "32-bit Linux projector"
                                                           : "64-bit Linux projector";
}

// The region of a movie of `length` bytes from `start`, when it fits into the file.
Result<ProjectorMovieRegion> Region(ScreenSaverFileKind kind, int64_t start, uint64_t length, int64_t room,
                                    std::string place) {
    const std::string name = ProjectorName(kind);
    if (length == 0) return Failure{"its " + name + " trailer gives a movie length of 0"};
    if (length > static_cast<uint64_t>(room))
        return Failure{"its " + name + " trailer gives a movie of " + std::to_string(length) +
                       " bytes, but only " + std::to_string(room) + " bytes lie " +
                       (kind == ScreenSaverFileKind::WindowsProjector ? "before" : "after") + " it"};
    return ProjectorMovieRegion{kind, start, static_cast<int64_t>(length), std::move(place)};
}

// The Linux header at `at` for a program of `bits`; nothing when the magic is not there.
std::optional<Result<ProjectorMovieRegion>> LinuxHeaderAt(const ByteSource& source, int64_t at, int bits) {
    const int word = bits / 8;
    uint8_t header[16];
    if (!source.readAt(at, header, static_cast<std::size_t>(2 * word))) return std::nullopt;
    const uint64_t length = ReadLe(header, word);
    const uint64_t magic = ReadLe(header + word, word);
    // A 64-bit header holds the magic sign-extended; one written without the
    // extension is taken as well.
    if (magic != kProjectorMagic && (bits == 32 || magic != kProjectorMagic64)) return std::nullopt;
    const auto kind =
        bits == 32 ? ScreenSaverFileKind::LinuxProjector32 : ScreenSaverFileKind::LinuxProjector64;
    const int64_t start = at + 2 * word;
    return Region(kind, start, length, source.size() - start,
                  "after the " + std::to_string(bits) + "-bit ELF image, at byte " + std::to_string(start));
}

} // namespace

std::optional<Result<ProjectorMovieRegion>> FindWindowsProjectorMovie(const ByteSource& source) {
    uint8_t trailer[8];
    if (source.size() < 8 || !source.readAt(source.size() - 8, trailer, sizeof trailer)) return std::nullopt;
    if (ReadLe(trailer, 4) != kProjectorMagic) return std::nullopt;
    const uint64_t length = ReadLe(trailer + 4, 4);
    const int64_t room = source.size() - 8;
    const int64_t start =
        room - static_cast<int64_t>(std::min<uint64_t>(length, static_cast<uint64_t>(room)));
    return Region(ScreenSaverFileKind::WindowsProjector, start, length, room,
                  "before the projector trailer, at byte " + std::to_string(start));
}

std::optional<Result<ProjectorMovieRegion>> FindLinuxProjectorMovie(const ByteSource& source) {
    const std::optional<ElfImageEnd> image = ReadElfImageEnd(source);
    if (!image) return std::nullopt;
    // The header follows the section header table; a program whose headers
    // place something further into the file is looked at there too.
    if (image->sectionTableEnd > 0)
        if (auto found = LinuxHeaderAt(source, image->sectionTableEnd, image->bits)) return found;
    if (image->furthestEnd != image->sectionTableEnd)
        if (auto found = LinuxHeaderAt(source, image->furthestEnd, image->bits)) return found;
    return std::nullopt;
}

} // namespace scr
