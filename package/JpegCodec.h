#pragma once
// JPEG decoding and encoding over libjpeg-turbo, into and out of Bitmap24.

#include "platform/Bitmap24.h"
#include "platform/DecodeLimits.h"

#include <cstdint>
#include <span>
#include <vector>

namespace scr {

// Decoding scales: the picture comes out at 1/1, 1/2, 1/4 or 1/8 of its size,
// produced by the library's DCT scaling (the full-size picture never exists).
enum JpegScale : int { JpegFull = 0, JpegHalf = 1, JpegQuarter = 2, JpegEighth = 3 };

// Decodes a JPEG at a scale 0..3 into `out`. False, with `out` untouched, for
// data that is not a decodable JPEG, a scale out of range, a picture larger
// than the limits' pixel count or memory that cannot be had. A truncated but
// otherwise valid JPEG decodes (the missing part comes out grey), as the
// library does.
//
// A picture that would come out wider or taller than the limits' size is
// decoded at the largest eighth of its size that fits (the library's DCT
// scaling), and beyond one eighth its rows are averaged down while they are
// read, so memory stays bounded by the limit. The aspect ratio is kept.
bool DecodeJpeg(std::span<const uint8_t> data, int scale, Bitmap24& out, const DecodeLimits& limits = {});

// Width and height of a JPEG from its header, without decoding; false when
// the header is not readable.
bool ReadJpegSize(std::span<const uint8_t> data, int& width, int& height);

// The bits per sample of a JPEG, from its frame header (8 for the pictures
// that can be decoded, 12 or 16 for others); 0 when there is no frame header.
int JpegSamplePrecision(std::span<const uint8_t> data);

// Encodes a bitmap at a quality 1..100 (clamped). False for an empty bitmap.
bool EncodeJpeg(const Bitmap24& bitmap, int quality, std::vector<uint8_t>& out);

} // namespace scr
