#include "transitions/control/TransitionRunner.h"

#include <algorithm>

namespace scr {

TransitionRunner::TransitionRunner(ShowClock& clock, std::function<StepResult()> step,
                                   std::function<int()> delayMs, QObject* parent)
    : QObject(parent), step_(std::move(step)), delayMs_(std::move(delayMs)), clock_(clock),
      timer_(clock.MakeTimer(TimerKind::SingleShot, [this] { RunStep(); })) {}

void TransitionRunner::Drive(TransitionPacing pacing) {
    Halt();
    if (pacing == TransitionPacing::Manual) return;
    driving_ = true;
    if (pacing == TransitionPacing::CallingThread)
        RunStep();
    else
        timer_->Start(0);
}

void TransitionRunner::Halt() {
    timer_->Stop();
    driving_ = false;
    ++run_;
}

void TransitionRunner::Finish() {
    Halt();
    emit finished();
}

void TransitionRunner::RunStep() {
    if (!driving_) return;
    const unsigned run = run_;
    const int64_t started = clock_.NowMs();
    const StepResult result = step_();
    // The step's events may have halted this run or started another one.
    if (run != run_) return;
    emit progress(result.progress);
    if (run != run_) return;
    if (result.atEnd) {
        Halt();
        emit reachedEnd();
        return;
    }
    const int64_t took = clock_.NowMs() - started;
    timer_->Start(static_cast<int>(std::max<int64_t>(0, delayMs_() - took)));
}

} // namespace scr
