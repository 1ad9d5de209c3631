#pragma once
// The program's one pseudo-random generator and the shuffle built on it.
// The generator yields non-negative 31-bit values and is seeded from the clock
// in whole seconds, so two shuffles of equal length within the same second
// give the same permutation (the show relies on nothing more than that).

#include <cstdint>
#include <span>

namespace scr {

// Seeds the generator with the current time in whole seconds.
void SeedRandomFromClock();
// A non-negative 31-bit random value.
int32_t RandomValue();
// A random value in 0 .. range - 1; 0 when range < 1.
int32_t RandomBelow(int32_t range);

// Reseeds from the clock, then permutes the entries in place: for k from
// count - 1 down to 0, entry k takes a random remaining entry of the pool.
void Shuffle(std::span<int32_t> entries);

} // namespace scr
