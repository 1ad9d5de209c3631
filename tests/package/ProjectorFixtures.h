#pragma once
// Flash movie files as users find them, built here from stubs of our own:
// Windows and Linux projectors, a Mac projector folder, a movie stored as a
// Windows resource, another maker's wrapper with decoy headers. No
// projector program of anyone else is used.

#include <cstdint>
#include <string>
#include <vector>

namespace scr::test {

// A small ELF program of our own (32- or 64-bit x86): it exits with status 0.
// One loadable segment, and the section header table (null, .text,
// .shstrtab) at the end of the file, where a linker writes it.
std::vector<uint8_t> MinimalElfProgram(int bits);

// A Windows projector: the program, the movie, the magic and the movie's length.
std::vector<uint8_t> WindowsProjector(const std::vector<uint8_t>& program, const std::vector<uint8_t>& movie);

// A Linux projector: the ELF program, the movie's length and the magic (32-
// or 64-bit, after the program's class), the movie.
std::vector<uint8_t> LinuxProjector(const std::vector<uint8_t>& elfProgram, const std::vector<uint8_t>& movie,
                                    int bits);

// Writes a Mac projector folder at `folder` (NAME.app): Contents/Info.plist,
// Contents/MacOS/NAME and Contents/Resources/movie.swf.
void WriteMacApp(const std::string& folder, const std::vector<uint8_t>& movie);

// Another maker's wrapper: a program with a header of its own, data, decoy
// movie headers that do not parse (a bad version, a zlib stream of noise, a
// cut copy of the movie, LZMA properties that are not valid, an empty movie)
// and a smaller movie that does parse (21 bytes, smaller than any real
// movie), then the movie, then more data.
std::vector<uint8_t> WrapperWithDecoys(const std::vector<uint8_t>& movie);

// Where WrapperWithDecoys put the movie.
int64_t WrappedMovieOffset(const std::vector<uint8_t>& wrapper, const std::vector<uint8_t>& movie);

} // namespace scr::test
