#pragma once
// A show clock whose time stands still until AdvanceTo moves it: the timers
// due on the way tick in the order of their due times (timers due at the same
// moment in the order they were started), each with the clock reading its own
// due time (a repeating timer counts as started anew at each of its ticks).
// Waits shorter than 1 ms count as 1 ms, so time moves on with every
// tick and a timer that keeps starting itself anew cannot hold the clock.

#include "platform/ShowClock.h"

#include <cstdint>
#include <vector>

namespace scr {

class VirtualClock final : public ShowClock {
public:
    VirtualClock() = default;
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    int64_t NowMs() const override { return now_; }
    std::unique_ptr<ClockTimer> MakeTimer(TimerKind kind, std::function<void()> onTick) override;

    // Moves the time on to `ms` (nothing when that is not later), running
    // every tick due up to and including `ms`.
    void AdvanceTo(int64_t ms);
    // When the next tick is due; -1 when no timer runs.
    int64_t NextDueMs() const;
    // How many ticks have run so far: while it stands still, nothing the
    // clock paces has changed.
    uint64_t ticksRun() const { return ticksRun_; }

private:
    class Timer;
    friend class Timer;
    Timer* NextDue() const;

    int64_t now_ = 0;
    uint64_t starts_ = 0;   // counts the starts, to order timers due at the same moment
    uint64_t ticksRun_ = 0; // counts the ticks run
    std::vector<Timer*> timers_;
};

} // namespace scr
