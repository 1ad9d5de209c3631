#include "transitions/control/TAnimateThread.h"

#include "transitions/control/TCustomPic_Trans.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <algorithm>

namespace scr {

TAnimateThread::TAnimateThread(TCustomPic_Trans* control) : control_(control) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start(control->ThreadPriority());
}

void TAnimateThread::pause(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!isInterruptionRequested() && timer.elapsed() < ms)
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(ms - timer.elapsed(), 1, 5)));
}

void TAnimateThread::run() {
    QElapsedTimer clock;
    clock.start();
    while (!isInterruptionRequested() && !control_->Manual() && !control_->Stopping()) {
        const qint64 t0 = clock.elapsed();
        bool ended = false;
        QMetaObject::invokeMethod(
            control_, [this, &ended] { ended = control_->RunPacedStep(); }, Qt::BlockingQueuedConnection);
        const qint64 elapsed = clock.elapsed() - t0;
        if (ended) {
            requestInterruption();
        } else if (elapsed < control_->Delay()) {
            pause(static_cast<int>(control_->Delay() - elapsed));
        }
    }
    // The termination notification, delivered on the GUI thread.
    QMetaObject::invokeMethod(
        control_, [this] { control_->AnimationComplete(this); }, Qt::BlockingQueuedConnection);
}

} // namespace scr
