#pragma once
// A Flash movie file as a package of our own: what `scrtool unpack` writes
// for a projector, another maker's wrapper or a bare movie, so that `scrtool
// pack` makes a packed screen saver of it. One Flash item, the movie's bytes
// exactly as stored, laid out at the movie's own stage size on a design
// screen of that size (the show fits it to any screen, centred, on black).

#include "package/PackageBuilder.h"
#include "package/RecognisedFile.h"

#include <string>
#include <vector>

namespace scr {

// The name a movie file goes by as a screen saver: its file or folder name
// without the extension ("Fish" for Fish.exe and Fish.app).
std::string MovieScreenSaverName(const std::string& path);

// The description of a package holding `movie`, the bytes of the movie that
// `file` found. A movie of more than one frame is waited for to its end and
// shown anew (so it loops); a movie of one frame (animated by its script)
// stays an hour before it is shown anew.
PackageDescription MoviePackageDescription(const RecognisedFile& file, std::vector<uint8_t> movie);

} // namespace scr
