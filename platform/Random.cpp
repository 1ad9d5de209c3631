#include "platform/Random.h"

#include <ctime>

namespace scr {
namespace {
// A 64-bit linear congruential generator (Knuth's MMIX constants); the top 31
// bits of the state are the output, which avoids the short periods of the low bits.
uint64_t g_state = 0x853c49e6748fea9bULL;
} // namespace

void SeedRandom(uint32_t seed) {
    g_state = seed ^ 0x853c49e6748fea9bULL;
    RandomValue();
}

void SeedRandomFromClock() {
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
}

int32_t RandomValue() {
    g_state = g_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int32_t>(g_state >> 33);
}

int32_t RandomBelow(int32_t range) {
    if (range <= 0) return 0;
    return RandomValue() % range;
}

} // namespace scr
