#pragma once
// The one pseudo-random generator of the process: non-negative 31-bit values,
// seeded from the clock in whole seconds. Every random choice of the show, the
// music and the dialogs draws from it, so a seed makes a run repeatable.

#include <cstdint>

namespace scr {

// Seeds the generator with the current time in whole seconds.
void SeedRandomFromClock();
void SeedRandom(uint32_t seed);

// The next value, 0 .. 2^31 - 1.
int32_t RandomValue();

// RandomValue() modulo range; 0 when range is 0 or less.
int32_t RandomBelow(int32_t range);

} // namespace scr
