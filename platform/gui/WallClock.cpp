#include "platform/gui/WallClock.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace scr {
namespace {

class WallTimer final : public ClockTimer {
public:
    WallTimer(TimerKind kind, std::function<void()> onTick) {
        timer_.setSingleShot(kind == TimerKind::SingleShot);
        timer_.setTimerType(Qt::PreciseTimer);
        // The QTimer goes with this object, and its ticks with it.
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
    }
    void Start(int intervalMs) override { timer_.start(std::max(intervalMs, 0)); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

WallClock::WallClock() {
    started_.start();
}

int64_t WallClock::NowMs() const {
    return started_.elapsed();
}

std::unique_ptr<ClockTimer> WallClock::MakeTimer(TimerKind kind, std::function<void()> onTick) {
    return std::make_unique<WallTimer>(kind, std::move(onTick));
}

WallClock& WallClock::Instance() {
    static WallClock clock;
    return clock;
}

} // namespace scr
