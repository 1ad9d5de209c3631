#pragma once
// Decoding a JPEG picture that is compiled into the program.

#include "platform/Bitmap24.h"

#include <QString>

namespace scr {

// Decodes the JPEG resource `name` into `bitmap`. With `unscramble` set, the
// first (size / 8) bytes are unscrambled first (the package's byte
// transform). `scale` reduces while decoding: 0 full size, 1 half, 2 quarter,
// 3 eighth (each side rounded up, as the JPEG library does). Returns false,
// leaving the bitmap unchanged, when the resource is missing or is not a
// decodable JPEG picture.
bool LoadJpegResource(const QString& name, Bitmap24& bitmap, bool unscramble = false, int scale = 0);

} // namespace scr
