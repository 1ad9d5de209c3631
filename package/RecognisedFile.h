#pragma once
// What the recogniser of screen-saver files found in a file: our own
// package, or a Flash movie in one of the forms that old screen savers and
// Flash projectors come in, with where the movie lies and what it is.

#include "package/SwfContainer.h"
#include "package/SwfTimeline.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scr {

enum class ScreenSaverFileKind {
    None,             // neither a package nor a movie that parses
    Package,          // our own package (appended, or stored as resources)
    WindowsProjector, // a Windows projector: the movie before an 8-byte trailer
    LinuxProjector32, // a 32-bit Linux projector: length and magic after the ELF image, then the movie
    LinuxProjector64, // the same with 64-bit length and magic
    MacApp,           // a folder NAME.app holding Contents/Resources/movie.swf
    PeResource,       // a movie stored as a resource of a Windows program
    EmbeddedSwf,      // a movie found by scanning the file
    Swf,              // a bare movie file
};

// The word scrtool prints and collection scans write: "package",
// "windows-projector", "linux-projector-32", "linux-projector-64",
// "mac-app", "pe-resource", "embedded-swf", "swf"; "none".
std::string_view KindWord(ScreenSaverFileKind kind);

// A movie that parses: header, frame header and every tag up to End, all
// within its declared length.
struct FoundMovie {
    int64_t offset = 0; // of its first byte in the movie file
    int64_t size = 0;   // bytes as stored
    SwfHeader header;
    SwfFrameHeader frame;
    int showFrames = 0; // ShowFrame tags on the main timeline
    bool actionScript3 = false;
    std::string place; // where it was found, for people ("resource RCDATA/MOVIE, language 1033")
};

// A place that looked like a movie and is not one, and why.
struct RejectedCandidate {
    int64_t offset = 0;
    std::string reason;
};

struct RecognisedFile {
    ScreenSaverFileKind kind = ScreenSaverFileKind::None;
    std::string path;      // the file or folder recognised
    std::string movieFile; // the file that holds the movie: `path`, or the movie file inside an .app
    std::optional<FoundMovie> movie;
    std::vector<FoundMovie> others;          // further movies that parse, largest first
    std::vector<RejectedCandidate> rejected; // in file order
    std::string reason;                      // kind None: why no movie was found; otherwise empty

    bool HasMovie() const { return movie.has_value(); }
};

} // namespace scr
