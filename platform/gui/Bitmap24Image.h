#pragma once
// Conversions between the project's 24-bit bitmap and Qt images, where
// decoded pictures meet widgets.

#include "platform/Bitmap24.h"

#include <QImage>

namespace scr {

// A deep copy of the bitmap as a QImage (blue, green, red bytes per pixel).
// An empty bitmap gives a null image.
QImage ImageFromBitmap(const Bitmap24& bitmap);

// A deep copy of the image as a 24-bit bitmap; alpha is dropped. A null
// image gives an empty bitmap.
Bitmap24 BitmapFromImage(const QImage& image);

} // namespace scr
