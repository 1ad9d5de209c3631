#include "transitions/TransitionRandom.h"

#include "platform/Random.h"

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

namespace {
class ProcessRandomSource final : public RandomSource {
public:
    int Random(int n) override { return RandomBelow(n); }
};
} // namespace

RandomSource& ProcessRandom() {
    static ProcessRandomSource random;
    return random;
}

} // namespace scr
