#pragma once
// The show environment of a test: the screen and picture bounds of the
// running Qt application, a generator with a fixed seed, and the wall clock
// unless the test brings a clock of its own. Keep it alive as long as the
// show that was given it.

#include "platform/RandomSource.h"
#include "platform/ShowEnvironment.h"
#include "platform/gui/QtScreenSize.h"
#include "platform/gui/WallClock.h"

#include <cstdint>

namespace scr::test {

class TestShowEnvironment {
public:
    explicit TestShowEnvironment(ShowClock& clock = WallClock::Instance(), uint32_t seed = 1)
        : random_(seed), environment_{{QtPrimaryScreenSize(), QtDesktopDecodeLimits()},
                                      random_,
                                      clock,
                                      PixelOptions{}} {}
    TestShowEnvironment(const TestShowEnvironment&) = delete;
    TestShowEnvironment& operator=(const TestShowEnvironment&) = delete;

    operator const ShowEnvironment&() const { return environment_; }
    const ShowEnvironment& get() const { return environment_; }

private:
    SeededRandom random_;
    ShowEnvironment environment_;
};

} // namespace scr::test
