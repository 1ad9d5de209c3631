#pragma once
// The work of the clip-region styles (58..117, 123..127) and the pixel styles
// (118..122). A region style leaves its region in the context; the frame is
// then finished by drawing the whole new picture through it. A pixel style
// writes the frame itself.

#include "transitions/StyleContext.h"

#include <span>

namespace scr {

// args: the style number (each round rectangle style has its own geometry).
void RoundRectStyle(StyleContext& ctx, std::span<const int> args);
// args: hx multiple of ph, hy multiple of pv, look-ahead used (0/1), kindH, kindV.
void StripsStyle(StyleContext& ctx, std::span<const int> args);
// Style 99: the grids of strips kinds (1, 1) and (2, 2) intersected.
void StripsMeetStyle(StyleContext& ctx, std::span<const int> args);
// args: kindH, kindV.
void RaggedStyle(StyleContext& ctx, std::span<const int> args);
// args: kindH, kindV.
void ScatterStyle(StyleContext& ctx, std::span<const int> args);
// args: the style number (110..117).
void TriangleStyle(StyleContext& ctx, std::span<const int> args);
// Style 127: random blocks.
void BlocksStyle(StyleContext& ctx, std::span<const int> args);

// Style 118: cross-fade.
void FadeStyle(StyleContext& ctx, std::span<const int> args);
// Styles 119..122. args: 0 for a centre just left of (above) the picture,
// 1 for just right of (below) it, for x then y.
void RotateStyle(StyleContext& ctx, std::span<const int> args);

} // namespace scr
