#include "tools/FlashFrameCapture.h"

#include "show/FlashControl.h"
#include "show/FlashHost.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <memory>

namespace scr {

std::vector<QPointer<FlashControl>> FlashFrameCapture::ControlsOnShow() const {
    std::vector<QPointer<FlashControl>> controls;
    // Through the hosts: the control has no meta-object of its own, so a
    // search by its class would also match every other widget below it.
    for (FlashHost* host : window_.findChildren<FlashHost*>()) {
        FlashControl* control = host->Player();
        if (control && control->MovieOnShow() && control->isVisibleTo(&window_) && !control->size().isEmpty())
            controls.push_back(control);
    }
    return controls;
}

bool FlashFrameCapture::MoviesOnShow() const {
    return !ControlsOnShow().empty();
}

void FlashFrameCapture::KeepPace(int64_t videoMs) {
    if (!paced_) {
        paced_ = true;
        startVideoMs_ = videoMs;
        wall_.start();
    }
    ++framesPaced_;
    int64_t due = videoMs - startVideoMs_;
    const int64_t late = wall_.elapsed() - due;
    if (late > kLateMs) ++framesLate_;
    if (late > kHeldUpMs) {
        // The show was held up (a player starting, a slow step): this frame
        // takes the picture of now, and the frames after it follow in real
        // time from here instead of rushing to make up the time.
        startVideoMs_ = videoMs;
        wall_.start();
        due = 0;
    }
    while (wall_.elapsed() < due) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

void FlashFrameCapture::PaintOver(QImage& frame) {
    // A control may go while the answers are awaited (the events run).
    const std::vector<QPointer<FlashControl>> controls = ControlsOnShow();
    // The answers land here, also after this call gave up waiting.
    struct Answers {
        std::vector<QImage> pictures;
        std::vector<bool> given;
    };
    auto answers = std::make_shared<Answers>();
    answers->pictures.resize(controls.size());
    answers->given.resize(controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        controls[i]->CaptureFrame([answers, i](const QImage& picture) {
            if (answers->given[i]) return;
            answers->given[i] = true;
            answers->pictures[i] = picture;
        });
    }
    // Waits for every control still there to answer.
    const auto waiting = [&] {
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i] && !answers->given[i]) return true;
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while (waiting() && waited.elapsed() < kCaptureTimeoutMs) {
        QCoreApplication::processEvents();
        if (waiting()) QThread::msleep(1);
    }

    std::erase_if(last_, [](const LastPicture& last) { return last.control.isNull(); });
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i]) continue;
        auto last = std::find_if(last_.begin(), last_.end(),
                                 [&](const LastPicture& entry) { return entry.control == controls[i]; });
        if (last == last_.end()) last = last_.insert(last_.end(), LastPicture{controls[i], QImage()});
        if (answers->given[i]) last->picture = answers->pictures[i];
        if (last->picture.isNull()) continue;
        const QRect place(controls[i]->mapTo(&window_, QPoint(0, 0)), controls[i]->size());
        painter.drawImage(place, last->picture);
    }
}

} // namespace scr
