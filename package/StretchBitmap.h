#pragma once
// Resampling a bitmap to a new size with half-tone quality.

#include "platform/Bitmap24.h"

namespace scr {

// Resamples the whole picture to exactly width x height: area averaging along
// an axis that shrinks, bilinear interpolation along an axis that grows. Does
// nothing when a target is 0 or less or the bitmap has that size already. An
// empty bitmap becomes a black one of the target size.
void StretchBitmap(Bitmap24& bitmap, int width, int height);

} // namespace scr
