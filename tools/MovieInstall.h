#pragma once
// `scrtool install` for a Flash movie file (a projector, another maker's
// wrapper, a bare movie, a Mac projector folder), which cannot run by itself
// on Linux: it is registered where it lies with the desktop's screen-saver
// hosts, to be played by scrtool ("scrtool play FILE -root"), and nothing is
// copied (a movie may load the files beside it). What it installs and where
// is printed; `scrtool play FILE -U` takes it back.

#include "package/RecognisedFile.h"

namespace scr {

// Registers the file; the exit status (0, or 1 when its path cannot be resolved).
int InstallMovieFile(const RecognisedFile& file);

} // namespace scr
