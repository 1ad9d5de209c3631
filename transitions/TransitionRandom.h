#pragma once
// The random numbers of the random transition styles (ragged edges, scattered
// cells, blocks). Composition takes them from a RandomSource so that tests
// and tools can seed them; the player uses one generator for the process.

#include <cstdint>

namespace scr {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform integer from 0 to n - 1; 0 when n <= 0.
    virtual int Random(int n) = 0;
};

// A linear congruential generator of non-negative 31-bit values. Equal seeds
// give equal sequences on every platform.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(uint32_t seed) : state_(seed) {}

    int Random(int n) override;
    // The next raw value, 0 .. 2^31 - 1.
    int32_t Next31();
    void setSeed(uint32_t seed) { state_ = seed; }

private:
    uint32_t step();
    uint32_t state_;
};

// The process's one generator (platform/Random.h) as a RandomSource, so the
// random styles draw from the same sequence as the show, the music and the
// dialogs. Used on the GUI thread only.
RandomSource& ProcessRandom();

} // namespace scr
