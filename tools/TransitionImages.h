#pragma once
// Picture files for the transition tools: reading PNG or JPEG into a 24-bit
// bitmap, writing a bitmap as PNG without ever leaving a half-written file,
// and the small argument values the tools share.

#include "platform/Bitmap24.h"

#include <optional>
#include <string>

class QImage;

namespace scr {

// The picture in a PNG or JPEG file (anything the image readers know);
// nullopt with `error` set when the file cannot be read.
std::optional<Bitmap24> LoadPictureFile(const std::string& path, std::string& error);

// A copy of a bitmap as an image, and back.
QImage BitmapToImage(const Bitmap24& bitmap);
Bitmap24 ImageToBitmap(const QImage& image);

// Writes the image as PNG through a temporary file that replaces `path` only
// when complete. False with `error` set on failure.
bool SavePng(const QImage& image, const std::string& path, std::string& error);

// "123" -> 123 within [min, max]; nullopt for anything else.
std::optional<int> ParseIntArgument(const std::string& text, int min, int max);
// "640x480" -> (640, 480), each 1..16384.
std::optional<std::pair<int, int>> ParseSizeArgument(const std::string& text);

} // namespace scr
