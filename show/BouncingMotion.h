#pragma once
// Moves one control about inside a rectangle, a pixel or two per step on the
// movement timer (every 100 ms), turning back at the edges with a new random
// speed. The show window creates one in moving mode and points it at the
// control of the current item.

#include "platform/ClockTimer.h"
#include "platform/RandomSource.h"
#include "transitions/Rect.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace scr {

class BouncingMotion {
public:
    static constexpr int kIntervalMs = 100;

    // Places the target at a random point of the left and upper half of
    // `bounds` (in the target's parent's coordinates), keeping its size.
    // `movementTimer` runs (every kIntervalMs) while the movement runs; its
    // owner makes it call MoveStep on each tick. Random choices draw from `random`.
    BouncingMotion(const Rect& bounds, QWidget* target, std::unique_ptr<ClockTimer> movementTimer,
                   RandomSource& random);
    ~BouncingMotion();
    BouncingMotion(const BouncingMotion&) = delete;
    BouncingMotion& operator=(const BouncingMotion&) = delete;

    void StartMoving();
    void StopMoving();
    // One step, on each tick of the movement timer. Nothing unless running
    // and a target exists.
    void MoveStep();

    // Take effect on the next step.
    void SetPosition(int x, int y);
    void SetSize(int width, int height);
    void SetTarget(QWidget* target) { target_ = target; }

    // Direction and speed (1 or 2 pixels per step) on each axis.
    void SetMotion(bool movingRight, bool movingDown, int speedX, int speedY);

    bool running() const { return running_; }
    bool timerRunning() const { return timer_ && timer_->Active(); }
    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool movingRight() const { return movingRight_; }
    bool movingDown() const { return movingDown_; }
    QWidget* target() const { return target_; }

private:
    // One axis of a step: move by `speed` towards the far edge, or turn
    // (with a new speed, without moving) when the edge is reached.
    void StepAxis(int& position, int extent, int low, int high, bool& forward, int& speed);

    std::unique_ptr<ClockTimer> timer_;
    // The target may be released by its owner (a Flash host) between steps.
    QPointer<QWidget> target_;
    RandomSource& random_; // new speeds at the edges; outlives the movement
    int width_ = 0;
    int height_ = 0;
    Rect bounds_;
    bool running_ = false;
    int x_ = 0;
    int y_ = 0;
    bool movingRight_ = false;
    bool movingDown_ = false;
    int speedX_ = 1;
    int speedY_ = 1;
};

} // namespace scr
