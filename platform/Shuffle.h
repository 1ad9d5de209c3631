#pragma once
// Random permutation of an index list, shared by the show sequence, the music
// order and the dialogs.

#include <vector>

namespace scr {

// Replaces the entries of `values` by a random permutation of them, drawn from
// the process's generator (platform/Random.h). Nothing happens for an empty list.
//
// The generator is not re-seeded here: re-seeding from the clock's seconds on
// every call would make two shuffles of equal length within one second (the
// picture order and the music order at start-up) come out identical.
void Shuffle(std::vector<int>& values);

} // namespace scr
