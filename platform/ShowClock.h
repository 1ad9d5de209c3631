#pragma once
// The time a show runs on. Everything of the show that waits (the item
// timer, the steps of a transition, the bouncing movement, the music tick)
// reads one clock, handed to it when it is made:
//
//   WallClock (platform/gui)  real time on the GUI thread's timers, for the player;
//   VirtualClock              time the caller moves on (AdvanceTo), for rendering
//                             a show to a video frame by frame, as fast as the
//                             processor allows and the same on every run.
//
// A tick always runs on the thread that owns the clock, never inside a call
// that only starts or stops a timer. The clock outlives every timer it made.

#include "platform/ClockTimer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace scr {

enum class TimerKind {
    SingleShot, // one tick per Start
    Repeating,  // a tick every interval until stopped
};

class ShowClock {
public:
    virtual ~ShowClock() = default;

    // Milliseconds since the clock began; never goes back.
    virtual int64_t NowMs() const = 0;
    // A stopped timer that calls `onTick` on each of its ticks. A tick may
    // stop, restart or destroy its own timer.
    virtual std::unique_ptr<ClockTimer> MakeTimer(TimerKind kind, std::function<void()> onTick) = 0;
};

} // namespace scr
