#pragma once
// The transition control's geometry and pixel helpers: triangle regions,
// aspect-true fitting, tiling, mirrored copies, and the two per-pixel effects
// (cross-fade and rotation). All work on 24-bit bitmaps through direct row
// access; none keeps state. The ones that copy or blend pixels take the
// run's PixelOptions first, as the loops of BitmapBlit.h do.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "transitions/Rect.h"
#include "transitions/Region.h"
#include "transitions/RowSpans.h"

namespace scr {

// The triangle with corners (x1, y1), (x2, y2), (x3, y3), filled with the
// winding rule.
Region CreateTriangleRgn(int x1, int y1, int x2, int y2, int x3, int y3);

// The largest rectangle of the image's aspect ratio that fits bounds, centred
// in it (enlarging as well as reducing). The image rectangle must not be empty.
Rect ScaleImageToRect(const Rect& image, const Rect& bounds);

// Covers r with unscaled copies of the graphic, row by row from r's top-left
// corner: (height / graphic height + 1) rows of (width / graphic width + 1)
// tiles. Tiles are not cut at r's edges, only at the canvas's. A null or
// empty graphic draws nothing.
void DrawTiledImage(const PixelOptions& options, Bitmap24& canvas, const Rect& r, const Bitmap24* graphic);
// The same, writing only the canvas pixels inside `clip`.
void DrawTiledImage(const PixelOptions& options, Bitmap24& canvas, const Rect& r, const Bitmap24* graphic,
                    const Rect& clip);

// Copies the source rectangle s of bitmap (first cut to the bitmap) into the
// destination rectangle d of canvas, stretching as needed. With `horizontal`
// d's left and right become (d.right + 1, d.left - 1), with `vertical` its top
// and bottom (d.bottom + 1, d.top - 1): the copy is mirrored on that axis.
void MirrorCopyRect(const PixelOptions& options, Bitmap24& canvas, const Rect& d, const Bitmap24& bitmap,
                    const Rect& s, bool horizontal, bool vertical);

// Cross-fades source into dest in place: every byte becomes
// dest * (100 - percent) / 100 + source * percent / 100, each product divided
// separately with truncation. Works over the area both bitmaps share.
//
// Given `under` (of dest's size), dest is first taken to hold under's
// pixels: the result is that of copying under into dest, then merging, in
// one pass. MergeRotate takes `under` the same way.
void MergeTransparent(const PixelOptions& options, Bitmap24& dest, const Bitmap24& source, int percent,
                      const Bitmap24* under = nullptr);

// Draws source turned by `angle` radians about (cx, cy) into dest by inverse
// mapping: destination pixel (x, y) takes source pixel
// (round(dx cos A - dy sin A) + cx, round(dx sin A + dy cos A) + cy) with
// dx = x - cx, dy = y - cy and rounding half to even; destination pixels whose
// source lies outside the picture keep their value. The bitmaps have the
// same size (only the area both share is used); a source of 2 GB or more is
// not drawn.
//
// Returns where the turned picture may reach (empty when it reaches none):
// the rectangle around those pixels, and their columns in each row of the
// area both bitmaps share; nothing outside them takes a source pixel. With
// `under`, under's pixels are drawn only where dest may differ from it: inside
// `underArea` when one is given and, within that, only in the spans of
// `underRows` when given (rows beyond the list differ nowhere). Elsewhere
// dest must hold them already.
struct RotationReach {
    Rect bounds;
    RowSpans rows;
};
RotationReach MergeRotate(const PixelOptions& options, Bitmap24& dest, const Bitmap24& source, int cx, int cy,
                          double angle, const Bitmap24* under = nullptr, const Rect* underArea = nullptr,
                          const RowSpans* underRows = nullptr);

} // namespace scr
