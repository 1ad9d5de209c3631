#pragma once
// Drawing one 24-bit bitmap onto another: unscaled and stretched copies,
// solid fills, and copies through a clip region. Everything is clipped to the
// destination bitmap; nothing outside it is ever written.
//
// The loops that can use the processor's vector paths or a second thread
// take the run's PixelOptions first, in the manner of an execution policy.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "transitions/Rect.h"
#include "transitions/Region.h"

#include <cstdint>

namespace scr {

// Copies `count` pixels (three bytes each) to `out`, pixel i from the byte
// offset offsets[i] of `in`. Offsets below `wordSafeBelow` may be read as
// four bytes (the byte after the pixel lies inside the bitmap); the others
// are read byte by byte. Eight pixels at a time where the processor can.
void PickPixels(const PixelOptions& options, uint8_t* out, const uint8_t* in, const uint32_t* offsets,
                int count, uint32_t wordSafeBelow = UINT32_MAX);

// True when the pixel loops take their eight-pixel paths: the processor has
// AVX2 and the options allow them.
bool UsesVectorPaths(const PixelOptions& options);

// Copies src with its top-left corner at (x, y).
void DrawBitmap(const PixelOptions& options, Bitmap24& dst, int x, int y, const Bitmap24& src);

// Copies the source rectangle s of src into the destination rectangle d of
// dst, stretching or shrinking by nearest pixel (no smoothing): destination
// pixel i along an axis of n destination and m source pixels takes source
// pixel (2i + 1) * m / (2n), the source pixel under its centre.
//
// A negative extent mirrors that axis. A rectangle with a negative width w at
// x covers the pixels x + w + 1 .. x (so (21, ., 9, .) covers 10 .. 21), and
// the pixel at x receives the source's first column. When exactly one of the
// two rectangles is reversed on an axis the copy is mirrored on that axis.
// Destination pixels whose source pixel lies outside src are left as they are.
void StretchDraw(const PixelOptions& options, Bitmap24& dst, const Rect& d, const Bitmap24& src,
                 const Rect& s);
// The same, writing only the destination pixels inside `clip` (each keeps the
// source pixel it gets from the whole copy), so that a part of a canvas can be
// redrawn alone.
void StretchDraw(const PixelOptions& options, Bitmap24& dst, const Rect& d, const Bitmap24& src,
                 const Rect& s, const Rect& clip);

// Fills the rectangle (clipped to dst) with a colour given as COLORREF
// (red in the lowest byte).
void FillRect(Bitmap24& dst, const Rect& r, uint32_t colorRef);

// Copies the pixels of src that lie in the region onto the same places of
// dst; the rest of dst is left as it is.
void DrawThroughRegion(const PixelOptions& options, Bitmap24& dst, const Bitmap24& src, const Region& clip);

// Copies the rectangle `area` of src (clipped to src) into 32-bit pixels in
// the byte order blue, green, red, 0xFF (a little-endian 0xFFRRGGBB, the
// layout of 32-bit screen images), the area's top-left landing at `dst`, whose
// rows are `dstStride` bytes apart. One pass over the pixels, no colour
// conversion: how a frame reaches a screen image without the painter's
// general format conversion.
void CopyToXrgb32(const PixelOptions& options, const Bitmap24& src, const Rect& area, uint8_t* dst,
                  std::size_t dstStride);

} // namespace scr
