// The virtual show clock: ticks in due order, repeating and single-shot
// timers, restarts and stops from inside a tick, timers destroyed mid-run.

#include "platform/VirtualClock.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scr {
namespace {

TEST(VirtualClockTest, TicksComeInDueOrderWithTheClockAtTheirDueTime) {
    VirtualClock clock;
    std::vector<std::string> ticks;
    auto record = [&](const char* name) {
        return [&ticks, &clock, name] {
            ticks.push_back(std::string(name) + "@" + std::to_string(clock.NowMs()));
        };
    };
    auto every100 = clock.MakeTimer(TimerKind::Repeating, record("r"));
    auto once250 = clock.MakeTimer(TimerKind::SingleShot, record("s"));
    auto alsoAt200 = clock.MakeTimer(TimerKind::SingleShot, record("t"));
    every100->Start(100);
    once250->Start(250);
    alsoAt200->Start(200);
    EXPECT_EQ(clock.NextDueMs(), 100);

    clock.AdvanceTo(99);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(clock.ticksRun(), 0u);
    EXPECT_EQ(clock.NowMs(), 99);
    clock.AdvanceTo(400);
    // At 200 both are due: the repeating timer set its next tick at 100,
    // after "t" was started, so "t" ticks first.
    EXPECT_EQ(ticks, (std::vector<std::string>{"r@100", "t@200", "r@200", "s@250", "r@300", "r@400"}));
    EXPECT_EQ(clock.NowMs(), 400);
    EXPECT_EQ(clock.ticksRun(), 6u);
    EXPECT_TRUE(every100->Active());
    EXPECT_FALSE(once250->Active());

    // Time never goes back.
    clock.AdvanceTo(10);
    EXPECT_EQ(clock.NowMs(), 400);
}

TEST(VirtualClockTest, ATickMayRestartStopOrDestroyItsOwnTimer) {
    VirtualClock clock;
    std::vector<int64_t> steps;
    std::unique_ptr<ClockTimer> stepper;
    // A transition-like timer that starts itself anew with a shorter wait each time.
    int wait = 40;
    stepper = clock.MakeTimer(TimerKind::SingleShot, [&] {
        steps.push_back(clock.NowMs());
        wait /= 2;
        if (wait >= 5) stepper->Start(wait);
    });
    stepper->Start(wait);

    std::unique_ptr<ClockTimer> selfDestroying;
    int destroyedTicks = 0;
    selfDestroying = clock.MakeTimer(TimerKind::Repeating, [&] {
        ++destroyedTicks;
        selfDestroying.reset();
    });
    selfDestroying->Start(10);

    std::unique_ptr<ClockTimer> stopping;
    int stoppedTicks = 0;
    stopping = clock.MakeTimer(TimerKind::Repeating, [&] {
        if (++stoppedTicks == 3) stopping->Stop();
    });
    stopping->Start(7);

    clock.AdvanceTo(1000);
    EXPECT_EQ(steps, (std::vector<int64_t>{40, 60, 70, 75}));
    EXPECT_EQ(destroyedTicks, 1);
    EXPECT_EQ(selfDestroying, nullptr);
    EXPECT_EQ(stoppedTicks, 3);
    EXPECT_EQ(clock.NextDueMs(), -1);
}

TEST(VirtualClockTest, ZeroWaitsTakeAMillisecondSoTheClockAlwaysMovesOn) {
    VirtualClock clock;
    int ticks = 0;
    std::unique_ptr<ClockTimer> busy;
    busy = clock.MakeTimer(TimerKind::SingleShot, [&] {
        ++ticks;
        busy->Start(0);
    });
    busy->Start(0);
    auto repeating = clock.MakeTimer(TimerKind::Repeating, [] {});
    repeating->Start(-5);
    clock.AdvanceTo(50);
    EXPECT_EQ(ticks, 50);
    EXPECT_EQ(clock.NowMs(), 50);
    // Restarting moves the due time to a full interval from now.
    repeating->Start(30);
    EXPECT_EQ(clock.NextDueMs(), 51);
    busy->Stop();
    EXPECT_EQ(clock.NextDueMs(), 80);
}

TEST(VirtualClockTest, TimersThatOutliveTheirClockNeverTick) {
    std::unique_ptr<ClockTimer> timer;
    int ticks = 0;
    {
        VirtualClock clock;
        timer = clock.MakeTimer(TimerKind::Repeating, [&] { ++ticks; });
        timer->Start(10);
        clock.AdvanceTo(25);
    }
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(timer->Active());
    timer->Start(10);
    EXPECT_FALSE(timer->Active());
}

} // namespace
} // namespace scr
