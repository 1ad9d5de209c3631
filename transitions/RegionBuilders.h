#pragma once
// The four region builders shared by the clip-region styles. Each returns the
// union of the rectangles it makes; hx and hy are the horizontal and vertical
// progress lengths, kindH and kindV choose the pattern of the horizontal and
// vertical part (0 = no such part).

#include "platform/RandomSource.h"
#include "transitions/Region.h"

namespace scr {

// Interleaved strips 5 pixels thick at a pitch of 10. Kinds 1, 2, 4, 5 fill
// the strips in two passes (hx up to 2W): 1 both from the right (bottom),
// 2 both from the left (top), 4 first from the left then from the right,
// 5 first from the right then from the left. Kind 3 (hx up to W) fills
// alternate strips from both sides at once. A first pass snaps shut when less
// than the look-ahead j remains.
Region CreateStripsRgn(int hx, int hy, int W, int H, int j, int kindH, int kindV);

// Bands 5 pixels thick whose front edges are jittered by up to a seventh of
// the side until the front reaches the far side. Kinds: 1 from the right
// (bottom), 2 from the left (top), 3 outward from the centre line, 4 inward
// from both sides.
Region CreateRaggedRgn(int hx, int hy, int W, int H, int kindH, int kindV, RandomSource& random);

// A solid band with loose cells scattered ahead of its front, over a fringe a
// tenth of the side deep. Kind 1 from the right (bottom), any other kind from
// the left (top).
Region CreateScatterRgn(int hx, int hy, int W, int H, int kindH, int kindV, RandomSource& random);

// Random squares on a grid whose pitch grows with p; each grid point gets a
// square twice the pitch wide with probability p percent.
Region CreateBlocksRgn(int W, int H, int p, RandomSource& random);

} // namespace scr
