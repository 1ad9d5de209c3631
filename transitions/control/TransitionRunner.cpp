#include "transitions/control/TransitionRunner.h"

#include <QElapsedTimer>
#include <algorithm>

namespace scr {

TransitionRunner::TransitionRunner(std::function<StepResult()> step, std::function<int()> delayMs,
                                   QObject* parent)
    : QObject(parent), step_(std::move(step)), delayMs_(std::move(delayMs)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TransitionRunner::RunStep);
}

void TransitionRunner::Drive(TransitionPacing pacing) {
    Halt();
    if (pacing == TransitionPacing::Manual) return;
    driving_ = true;
    if (pacing == TransitionPacing::CallingThread)
        RunStep();
    else
        timer_.start(0);
}

void TransitionRunner::Halt() {
    timer_.stop();
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
    QElapsedTimer clock;
    clock.start();
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
    timer_.start(static_cast<int>(std::max<qint64>(0, delayMs_() - clock.elapsed())));
}

} // namespace scr
