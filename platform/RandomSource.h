#pragma once
// Where random choices come from. Every random choice of a run (the play
// list and music order, random transition styles and their ragged edges,
// scattered cells and blocks, the bouncing movement's start) draws from the
// one RandomSource of the show environment, so a seed makes a run repeatable;
// tests and tools hand in a SeededRandom of their own.

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

// A generator seeded from the clock in whole seconds: the player's.
SeededRandom ClockSeededRandom();

} // namespace scr
