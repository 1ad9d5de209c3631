#include "show/MovieHandover.h"

#include "show/FlashControl.h"
#include "show/FlashHost.h"

#include <QLabel>
#include <QPixmap>

namespace scr {
namespace {

// The coming movie's place, moved off the window to the left: the web
// engine draws a shown view wherever it stands, and the window shows none of it.
Rect OffTheWindow(const Rect& place) {
    const int shift = place.right + 64;
    return {place.left - shift, place.top, place.right - shift, place.bottom};
}

} // namespace

MovieHandover::MovieHandover(QWidget* window) : QObject(window), window_(window) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &MovieHandover::Finish);
}

MovieHandover::~MovieHandover() = default;

void MovieHandover::Begin(FlashHost* leaving, const Rect& place, MakeHost make) {
    Finish();
    pending_ = true;
    made_ = false;
    place_ = place;
    make_ = std::move(make);
    leaving_ = leaving;
    coming_ = nullptr;
    deadline_.start(kLongestHoldMs);
    const int serial = ++serial_;
    // Never from inside the caller: an advance may come from one of the
    // leaving host's own handlers, and the host goes in MakeComing.
    const auto next = [this, serial](const QImage& frame) {
        QTimer::singleShot(0, this, [this, serial, frame] {
            if (serial == serial_ && pending_ && !made_) MakeComing(frame);
        });
    };
    if (leaving && leaving->Player() && leaving->Player()->MovieOnShow())
        leaving->Player()->CaptureFrame(next);
    else
        next(QImage());
}

void MovieHandover::MakeComing(const QImage& leavingFrame) {
    made_ = true;
    if (leaving_ && !leavingFrame.isNull()) {
        held_ = new QLabel(window_);
        held_->setAttribute(Qt::WA_TransparentForMouseEvents);
        held_->setGeometry(leaving_->geometry());
        held_->setPixmap(QPixmap::fromImage(
            leavingFrame.scaled(leaving_->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        held_->show();
        held_->raise();
    }
    ReleaseLeaving();
    coming_ = make_ ? make_(OffTheWindow(place_)) : nullptr;
    make_ = nullptr;
    FlashControl* player = coming_ ? coming_->Player() : nullptr;
    if (!player) {
        // No player (the notice shows instead): nothing to wait for.
        Finish();
        return;
    }
    const QPointer<FlashHost> host = coming_;
    player->SetShownHandler([this, host] {
        if (!host) return;
        if (host == coming_) Finish();
        emit movieShown(host);
    });
}

void MovieHandover::ReleaseLeaving() {
    if (!leaving_) return;
    leaving_->hide();
    // Its page goes back to the pool now, for the coming movie.
    delete leaving_.data();
}

void MovieHandover::Finish() {
    if (!pending_) return;
    if (!made_) MakeComing(QImage());
    // MakeComing may have finished already (a host without a player).
    if (!pending_) return;
    pending_ = false;
    deadline_.stop();
    if (coming_) {
        coming_->move(place_.left, place_.top);
        coming_->raise();
    }
    delete held_.data();
    emit handedOver(coming_);
}

} // namespace scr
