#pragma once
// What reading a package depends on, the package reader's part of the show
// environment (platform/ShowEnvironment.h).

#include "platform/DecodeLimits.h"
#include "platform/ScreenSize.h"

namespace scr {

// The default fits no layout (the screen is unknown) and bounds pictures
// only by their pixel count.
struct ReadingEnvironment {
    ScreenSize screen; // the primary screen in pixels; 0 x 0 when unknown
    DecodeLimits decode;
};

} // namespace scr
