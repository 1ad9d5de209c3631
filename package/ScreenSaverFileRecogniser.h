#pragma once
// The one place that tells what a screen-saver file is: our own package
// (which keeps priority, also when it carries movies), or a Flash movie that
// can be played as a screen saver, in the order they are tried:
//   1. our package: a valid trailer, or the resource form;
//   2. a Windows projector trailer;
//   3. a Linux projector header after the ELF image (32 or 64 bit);
//   4. a bare movie (the file starts with a movie);
//   5. movies stored as resources of a Windows program (any type, named
//      types too; the largest that parses);
//   6. the generic scan of the file (EmbeddedSwfScan.h).
// A folder NAME.app is a Mac projector: Contents/Resources/movie.swf.
// Every candidate is parsed in full before it is believed; the work on one
// file is bounded by MovieSearchBudget and EmbeddedSwfScan's limits.

#include "package/ByteSource.h"
#include "package/RecognisedFile.h"

#include <optional>
#include <string>
#include <vector>

namespace scr {

// Recognises the file or folder at `path`.
RecognisedFile RecogniseScreenSaverFile(const std::string& path);

// Recognises the bytes of a source (a file, or memory when fuzzing), with
// `path` as the name the result gives (no folder is looked at).
RecognisedFile RecogniseScreenSaverSource(const ByteSource& source, const std::string& path);

// "no Flash movie found in PATH: REASON", for a file of kind None.
std::string NoMovieMessage(const RecognisedFile& file);

// The movie's bytes exactly as stored; nothing when the file has no movie,
// cannot be read, or the movie is larger than kMaxSwfBodyBytes.
std::optional<std::vector<uint8_t>> ReadFoundMovie(const RecognisedFile& file);

// The movie file of a Mac projector folder.
std::string MacAppMovieFile(const std::string& folder);

// True when `path` is a folder that is, or claims to be, a Mac projector: its
// name ends in ".app" or it has a "Contents" folder. Other folders are no
// screen savers at all.
bool IsMacAppFolder(const std::string& path);

} // namespace scr
