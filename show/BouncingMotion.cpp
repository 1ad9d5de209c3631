#include "show/BouncingMotion.h"

#include "platform/RandomSource.h"

#include <utility>

namespace scr {
namespace {
int RandomSpeed(RandomSource& random) {
    return random.Random(2) + 1;
}
} // namespace

BouncingMotion::BouncingMotion(const Rect& bounds, QWidget* target, std::unique_ptr<ClockTimer> movementTimer,
                               RandomSource& random)
    : timer_(std::move(movementTimer)), target_(target), random_(random), bounds_(bounds) {
    movingRight_ = random.Random(2) != 0;
    movingDown_ = random.Random(2) != 0;
    speedX_ = RandomSpeed(random);
    speedY_ = RandomSpeed(random);
    if (target) {
        width_ = target->width();
        height_ = target->height();
    }
    const int halfWidth = bounds.width() / 2;
    const int halfHeight = bounds.height() / 2;
    x_ = bounds.left + (halfWidth != 0 ? random.Random(halfWidth) : 0);
    y_ = bounds.top + (halfHeight != 0 ? random.Random(halfHeight) : 0);
    if (target) target->setGeometry(x_, y_, width_, height_);
}

BouncingMotion::~BouncingMotion() {
    StopMoving();
}

void BouncingMotion::StartMoving() {
    running_ = true;
    if (timer_ && !timer_->Active()) timer_->Start(kIntervalMs);
}

void BouncingMotion::StopMoving() {
    running_ = false;
    if (timer_) timer_->Stop();
}

void BouncingMotion::StepAxis(int& position, int extent, int low, int high, bool& forward, int& speed) {
    if (forward) {
        if (position + extent < high) {
            position += speed;
        } else {
            forward = false;
            speed = RandomSpeed(random_);
        }
    } else {
        if (position > low) {
            position -= speed;
        } else {
            forward = true;
            speed = RandomSpeed(random_);
        }
    }
}

void BouncingMotion::MoveStep() {
    if (!target_ || !running_) return;
    StepAxis(x_, width_, bounds_.left, bounds_.right, movingRight_, speedX_);
    StepAxis(y_, height_, bounds_.top, bounds_.bottom, movingDown_, speedY_);
    target_->setGeometry(x_, y_, width_, height_);
}

void BouncingMotion::SetPosition(int x, int y) {
    x_ = x;
    y_ = y;
}

void BouncingMotion::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void BouncingMotion::SetMotion(bool movingRight, bool movingDown, int speedX, int speedY) {
    movingRight_ = movingRight;
    movingDown_ = movingDown;
    speedX_ = speedX;
    speedY_ = speedY;
}

} // namespace scr
