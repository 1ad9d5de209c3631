// The bouncing movement of the current item.
#include "show/BouncingMotion.h"

#include "platform/VirtualClock.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace scr {
namespace {

class BouncingMotionTest : public ::testing::Test {
protected:
    // A movement timer on a virtual clock whose ticks are counted.
    std::unique_ptr<ClockTimer> MovementTimer() {
        return clock_.MakeTimer(TimerKind::Repeating, [this] { ++ticks_; });
    }

    VirtualClock clock_;
    int ticks_ = 0;
    QWidget window_;
    QWidget* target_ = new QWidget(&window_);
    const Rect bounds_{0, 0, 200, 100};
    SeededRandom random_{1};
};

TEST_F(BouncingMotionTest, StartsInTheUpperLeftQuarterWithTheTargetSize) {
    target_->resize(30, 20);
    for (int i = 0; i < 20; ++i) {
        BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
        EXPECT_GE(fly.x(), 0);
        EXPECT_LT(fly.x(), 100);
        EXPECT_GE(fly.y(), 0);
        EXPECT_LT(fly.y(), 50);
        EXPECT_EQ(target_->geometry(), QRect(fly.x(), fly.y(), 30, 20));
    }
}

TEST_F(BouncingMotionTest, TargetAsWideAsTheAreaOnlyTurnsHorizontally) {
    target_->resize(200, 10);
    BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
    fly.SetPosition(0, 40);
    fly.SetMotion(true, true, 2, 1);
    fly.StartMoving();
    for (int i = 0; i < 6; ++i) {
        const bool wasRight = fly.movingRight();
        fly.MoveStep();
        EXPECT_EQ(fly.x(), 0);
        EXPECT_NE(fly.movingRight(), wasRight); // every step only turns
    }
    EXPECT_EQ(fly.y(), 46);
}

TEST_F(BouncingMotionTest, FastStepPassesTheEdgeByOnePixelThenTurnsWithoutMoving) {
    target_->resize(50, 10);
    BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
    fly.SetPosition(200 - 50 - 1, 10);
    fly.SetMotion(true, true, 2, 1);
    fly.StartMoving();
    fly.MoveStep();
    EXPECT_EQ(fly.x(), 200 - 50 + 1);
    EXPECT_EQ(target_->x(), 151);
    fly.MoveStep();
    EXPECT_EQ(fly.x(), 151);
    EXPECT_FALSE(fly.movingRight());
    fly.MoveStep();
    EXPECT_LT(fly.x(), 151);
}

TEST_F(BouncingMotionTest, PositionAndSizeTakeEffectOnTheNextStepOnly) {
    target_->resize(20, 20);
    BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
    const QRect before = target_->geometry();
    fly.SetPosition(60, 30);
    fly.SetSize(40, 10);
    EXPECT_EQ(target_->geometry(), before);
    fly.SetMotion(true, false, 1, 1);
    fly.StartMoving();
    fly.MoveStep();
    EXPECT_EQ(target_->geometry(), QRect(61, 29, 40, 10));
}

TEST_F(BouncingMotionTest, StoppedStepsDoNothingAndTimerFollowsStartStop) {
    target_->resize(20, 20);
    BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
    fly.SetPosition(50, 50);
    fly.MoveStep();
    EXPECT_EQ(fly.x(), 50);
    fly.StartMoving();
    EXPECT_TRUE(fly.timerRunning());
    fly.StartMoving(); // running already: the timer keeps its pace
    clock_.AdvanceTo(350);
    EXPECT_EQ(ticks_, 3); // every 100 ms
    fly.StopMoving();
    EXPECT_FALSE(fly.timerRunning());
    clock_.AdvanceTo(1000);
    EXPECT_EQ(ticks_, 3);
    fly.MoveStep(); // a tick still queued after the stop
    EXPECT_EQ(fly.x(), 50);
}

TEST_F(BouncingMotionTest, ReleasedTargetIsNotTouched) {
    target_->resize(20, 20);
    BouncingMotion fly(bounds_, target_, MovementTimer(), random_);
    fly.StartMoving();
    delete target_;
    fly.MoveStep(); // must not touch the freed control
    EXPECT_EQ(fly.target(), nullptr);
}

} // namespace
} // namespace scr
