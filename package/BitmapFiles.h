#pragma once
// Writing bitmaps to picture files.

#include "platform/Bitmap24.h"

#include <cstdint>
#include <string>
#include <vector>

namespace scr {

// A 24-bit uncompressed Windows bitmap file (bottom-up rows padded to four bytes).
std::vector<uint8_t> EncodeBmp(const Bitmap24& bitmap);

// Saves a bitmap by the file's extension, compared without regard to case:
// ".bmp" as a Windows bitmap; ".jpg", ".jpeg" and ".jpe" as JPEG with the
// given quality; any other extension fails. The file appears complete or not
// at all (an existing file is replaced). False on any failure and for an
// empty bitmap.
bool SaveBitmapByExtension(const Bitmap24& bitmap, const std::string& path, int jpegQuality);

} // namespace scr
