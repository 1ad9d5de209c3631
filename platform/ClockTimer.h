#pragma once
// One timer on a ShowClock (platform/ShowClock.h). Made by the clock, owned
// by whoever paces something with it; destroying it stops it.

namespace scr {

class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    ClockTimer() = default;
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    // Starts the timer, or starts it anew when it runs: the first tick comes
    // `intervalMs` from now (a negative interval counts as 0), and a
    // repeating timer ticks every `intervalMs` after that.
    virtual void Start(int intervalMs) = 0;
    // No tick comes until the next Start.
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

} // namespace scr
