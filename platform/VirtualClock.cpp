#include "platform/VirtualClock.h"

#include <algorithm>
#include <utility>

namespace scr {

class VirtualClock::Timer final : public ClockTimer {
public:
    Timer(VirtualClock& clock, TimerKind kind, std::function<void()> onTick)
        : clock_(&clock), kind_(kind), onTick_(std::move(onTick)) {
        clock_->timers_.push_back(this);
    }
    ~Timer() override {
        if (!clock_) return;
        auto& timers = clock_->timers_;
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }

    void Start(int intervalMs) override {
        if (!clock_) return;
        interval_ = std::max(intervalMs, 1);
        due_ = clock_->now_ + interval_;
        order_ = ++clock_->starts_;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool Active() const override { return active_; }

    // The tick that is due: the next one is set before `onTick` runs, so the
    // tick may restart or stop the timer as it likes.
    std::function<void()> TakeTick() {
        if (kind_ == TimerKind::Repeating) {
            due_ += interval_;
            order_ = ++clock_->starts_;
        } else {
            active_ = false;
        }
        return onTick_;
    }
    void Orphan() {
        clock_ = nullptr;
        active_ = false;
    }

    int64_t due() const { return due_; }
    uint64_t order() const { return order_; }

private:
    VirtualClock* clock_;
    TimerKind kind_;
    std::function<void()> onTick_;
    int interval_ = 1;
    int64_t due_ = 0;
    uint64_t order_ = 0;
    bool active_ = false;
};

VirtualClock::~VirtualClock() {
    // A timer that outlives its clock never ticks again.
    for (Timer* timer : timers_)
        timer->Orphan();
}

std::unique_ptr<ClockTimer> VirtualClock::MakeTimer(TimerKind kind, std::function<void()> onTick) {
    return std::make_unique<Timer>(*this, kind, std::move(onTick));
}

VirtualClock::Timer* VirtualClock::NextDue() const {
    Timer* next = nullptr;
    for (Timer* timer : timers_) {
        if (!timer->Active()) continue;
        if (!next || timer->due() < next->due() ||
            (timer->due() == next->due() && timer->order() < next->order()))
            next = timer;
    }
    return next;
}

int64_t VirtualClock::NextDueMs() const {
    const Timer* next = NextDue();
    return next ? next->due() : -1;
}

void VirtualClock::AdvanceTo(int64_t ms) {
    while (Timer* next = NextDue()) {
        if (next->due() > ms) break;
        now_ = std::max(now_, next->due());
        // The tick runs from a copy: it may destroy its own timer.
        const std::function<void()> tick = next->TakeTick();
        ++ticksRun_;
        if (tick) tick();
    }
    now_ = std::max(now_, ms);
}

} // namespace scr
