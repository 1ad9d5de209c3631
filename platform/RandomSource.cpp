#include "platform/RandomSource.h"

#include <ctime>

namespace scr {

uint32_t SeededRandom::step() {
    state_ = state_ * 134775813u + 1u;
    return state_;
}

int SeededRandom::Random(int n) {
    if (n <= 0) return 0;
    // The high bits of the state are the well-mixed ones: scale them to n.
    return static_cast<int>((static_cast<uint64_t>(step()) * static_cast<uint32_t>(n)) >> 32);
}

int32_t SeededRandom::Next31() {
    return static_cast<int32_t>(step() >> 1);
}

SeededRandom ClockSeededRandom() {
    return SeededRandom(static_cast<uint32_t>(std::time(nullptr)));
}

} // namespace scr
