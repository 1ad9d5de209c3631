#pragma once
// Paces the steps of one transition on a single timer of the GUI thread.
//
// The timer runs on the show clock the runner is given (platform/ShowClock.h).
// A step starts at most every `delay` milliseconds: after a step the timer
// is set to what is left of the delay (nothing when the step took longer),
// so frames start at a steady rate while composing is faster than the delay.
// Events, input and other timers run between two steps, never inside one.
//
// Three pacings drive the same timer:
//   Threaded       every step runs from the timer; Drive returns at once.
//   CallingThread  the first step runs inside Drive, the rest from the timer,
//                  so a transition of one step (an instant change) is over
//                  when Drive returns.
//   Manual         the timer does not run; the caller moves the progress.
//
// Halt and a new Drive may come from anywhere, a step's own events included:
// a step whose run was halted or replaced meanwhile has no further effect,
// so no late tick or end notice of an earlier run can reach a later one.

#include "platform/ShowClock.h"

#include <QObject>
#include <functional>
#include <memory>

namespace scr {

enum class TransitionPacing { Threaded, CallingThread, Manual };

class TransitionRunner : public QObject {
    Q_OBJECT

public:
    struct StepResult {
        int progress;
        bool atEnd;
    };
    // `step` runs one step; `delayMs` is read anew before each wait.
    TransitionRunner(ShowClock& clock, std::function<StepResult()> step, std::function<int()> delayMs,
                     QObject* parent = nullptr);

    // Starts driving the steps with this pacing (Manual only ends any driving).
    void Drive(TransitionPacing pacing);
    // Ends the driving; the transition stays where it is.
    void Halt();
    // The transition is over (run to its end or stopped): ends the driving
    // and emits finished().
    void Finish();
    bool driving() const { return driving_; }

signals:
    // After each step this runner drove, with the progress it reached.
    void progress(int percent);
    // A driven step reached the end of the transition.
    void reachedEnd();
    // The transition is over; emitted by Finish.
    void finished();

private:
    void RunStep();

    std::function<StepResult()> step_;
    std::function<int()> delayMs_;
    ShowClock& clock_;
    std::unique_ptr<ClockTimer> timer_;
    bool driving_ = false;
    // Counts the runs, so that a step can tell whether its run still goes on.
    unsigned run_ = 0;
};

} // namespace scr
