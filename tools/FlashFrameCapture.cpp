#include "tools/FlashFrameCapture.h"

#include "show/VtXShockwaveFlashEx.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <memory>

namespace scr {

std::vector<VtXShockwaveFlashEx*> FlashFrameCapture::ControlsOnShow() const {
    std::vector<VtXShockwaveFlashEx*> controls;
    for (VtXShockwaveFlashEx* control : window_.findChildren<VtXShockwaveFlashEx*>())
        if (control->isVisibleTo(&window_) && !control->size().isEmpty()) controls.push_back(control);
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
    const int64_t due = videoMs - startVideoMs_;
    if (wall_.elapsed() > due + kLateMs) ++framesLate_;
    while (wall_.elapsed() < due) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

void FlashFrameCapture::PaintOver(QImage& frame) {
    const std::vector<VtXShockwaveFlashEx*> controls = ControlsOnShow();
    // The answers land here, also after this call gave up waiting.
    struct Answers {
        std::vector<QImage> pictures;
        std::vector<bool> given;
        size_t count = 0;
    };
    auto answers = std::make_shared<Answers>();
    answers->pictures.resize(controls.size());
    answers->given.resize(controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        controls[i]->CaptureFrame([answers, i](const QImage& picture) {
            if (answers->given[i]) return;
            answers->given[i] = true;
            answers->pictures[i] = picture;
            ++answers->count;
        });
    }
    QElapsedTimer waited;
    waited.start();
    while (answers->count < controls.size() && waited.elapsed() < kCaptureTimeoutMs) {
        QCoreApplication::processEvents();
        if (answers->count < controls.size()) QThread::msleep(1);
    }

    std::erase_if(last_, [](const LastPicture& last) { return last.control.isNull(); });
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < controls.size(); ++i) {
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
