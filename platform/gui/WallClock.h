#pragma once
// The show clock of the player: real time, monotonic, with timers on the GUI
// thread's event loop (precise Qt timers). It keeps no state beyond its start
// time, so one instance serves the whole process.

#include "platform/ShowClock.h"

#include <QElapsedTimer>

namespace scr {

class WallClock final : public ShowClock {
public:
    WallClock();
    int64_t NowMs() const override;
    std::unique_ptr<ClockTimer> MakeTimer(TimerKind kind, std::function<void()> onTick) override;

    // The process's wall clock, for whatever paces itself in real time.
    static WallClock& Instance();

private:
    QElapsedTimer started_;
};

} // namespace scr
