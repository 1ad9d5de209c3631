#pragma once
// Random permutation of an index list, shared by the show sequence, the music
// order and the dialogs.

#include "platform/RandomSource.h"

#include <cstdint>
#include <span>

namespace scr {

// Replaces the entries by a random permutation of them, drawn from the
// process's generator: for k from count - 1 down to 0, entry k takes a random
// remaining entry of a pool, drawn from `random`. Nothing happens for an
// empty list.
//
// The generator is not re-seeded here: re-seeding from the clock's seconds on
// every call would make two shuffles of equal length within one second (the
// picture order and the music order at start-up) come out identical.
void Shuffle(std::span<int32_t> entries, RandomSource& random);

} // namespace scr
