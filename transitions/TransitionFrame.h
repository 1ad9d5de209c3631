#pragma once
// One transition frame outside the control, for tools and previews: the old
// picture is stretched (nearest pixel) to the new picture's size and the
// frame at the given progress is composed with the real composition code.
// Style 0 has no handler here, so it is the instant cut.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "platform/RandomSource.h"

namespace scr {

Bitmap24 RenderTransitionFrame(const Bitmap24& oldPicture, const Bitmap24& newPicture, int style,
                               int progress, int step, RandomSource& random,
                               const PixelOptions& pixels = PixelOptions{});

} // namespace scr
