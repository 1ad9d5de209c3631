#include "transitions/TransitionPlayer.h"

#include "transitions/BitmapBlit.h"

#include <QMetaMethod>
#include <algorithm>

namespace scr {

TransitionPlayer::TransitionPlayer(ShowClock& clock, RandomSource& random, PixelOptions pixels,
                                   QObject* parent)
    : QObject(parent), clock_(clock), random_(random), pixels_(pixels),
      timer_(clock.MakeTimer(TimerKind::SingleShot, [this] { RunStep(); })) {}

// Nothing is emitted while going: a transition under way just stops.
TransitionPlayer::~TransitionPlayer() {
    timer_->Stop();
}

void TransitionPlayer::Play(const TransitionSpec& transition, State startIn) {
    if (state_ != State::NotRunning) return;
    spec_ = transition;
    spec_.step = std::clamp(transition.step, 1, 100);
    spec_.delay = std::max(transition.delay, 0);
    if (!picture_.hasGraphic()) {
        emit finished(Ending::NothingToPlay);
        return;
    }
    try {
        Prepare(startIn);
    } catch (...) {
        DropPictures();
        throw;
    }
    if (startIn == State::Paused) {
        SetState(State::Paused);
        return;
    }
    SetState(State::Running);
    RunStep();
}

void TransitionPlayer::Prepare(State startIn) {
    const int w = picture_.width();
    const int h = picture_.height();
    frameMemory_.forget();
    DropPictures();
    newPicture_ = picture_.share();
    if (spec_.style == 0 && startIn != State::Paused && !spec_.reverse &&
        !isSignalConnected(QMetaMethod::fromSignal(&TransitionPlayer::customDraw))) {
        // Style 0 without a hook: the first step shows the new picture, and
        // nothing shows the old one, which is not made.
        if (frame_.width() != w || frame_.height() != h) {
            frame_.setSize(w, h);
            DrawBitmap(pixels_, frame_, 0, 0, *newPicture_);
        }
        progress_ = 0;
        return;
    }
    // The old picture is what the scene shows now where the new picture will
    // appear: colour, background and the last frame, freshly drawn at the
    // current size, resampled to the picture's size. When the last frame
    // fills that place pixel for pixel, it is that picture as it stands.
    const bool frameIsOldPicture = scene_.ShowsFrameAsItIs(frame_, w, h);
    if (frameIsOldPicture) {
        oldPicture_ = std::make_unique<Bitmap24>(frame_);
    } else {
        scene_.Render(pixels_, sceneBuffer_, scene_.Client(), frame_);
        frame_.setSize(w, h);
        oldPicture_ = std::make_unique<Bitmap24>(w, h);
        StretchDraw(pixels_, *oldPicture_, {0, 0, w, h}, sceneBuffer_, scene_.DisplayRect(frame_));
    }
    // The frame shows the start: the old picture, or reversed the new one.
    if (spec_.reverse || !frameIsOldPicture)
        DrawBitmap(pixels_, frame_, 0, 0, spec_.reverse ? *newPicture_ : *oldPicture_);
    if (!spec_.reverse) frameMemory_.holdsOldPicture();
    progress_ = spec_.reverse ? 100 : 0;
    changed_.push_back(WholeFrame());
}

void TransitionPlayer::Cut() {
    if (state_ != State::NotRunning || !picture_.hasGraphic()) return;
    const Bitmap24& picture = picture_.bitmap();
    frame_.setSize(picture.width(), picture.height());
    DrawBitmap(pixels_, frame_, 0, 0, picture);
    frameMemory_.forget();
    progress_ = 100;
    changed_.push_back(WholeFrame());
    ShowChangedAreas();
    emit progressChanged(progress_);
}

void TransitionPlayer::Stop() {
    if (state_ == State::NotRunning) return;
    End(Ending::Stopped);
}

void TransitionPlayer::SetPaused(bool paused) {
    if (paused && state_ == State::Running) {
        Halt();
        SetState(State::Paused);
    } else if (!paused && state_ == State::Paused) {
        Halt();
        SetState(State::Running);
        RunStep();
    }
}

void TransitionPlayer::SetProgress(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (state_ == State::NotRunning || percent == progress_) return;
    // A move backwards can uncover any part of the frame.
    if (percent < progress_) changed_.push_back(WholeFrame());
    progress_ = percent;
    Compose();
    emit progressChanged(progress_);
}

void TransitionPlayer::Clear() {
    if (state_ != State::NotRunning || frame_.isEmpty()) return;
    frame_ = Bitmap24();
    frameMemory_.forget();
    changed_.clear();
    emit frameCleared();
}

void TransitionPlayer::RunStep() {
    if (state_ != State::Running) return;
    const unsigned stepping = stepping_;
    const int64_t started = clock_.NowMs();
    SetProgress(spec_.reverse ? std::max(progress_ - spec_.step, 0) : progress_ + spec_.step);
    // The step's signals may have paused, stopped or restarted the stepping.
    if (stepping != stepping_) return;
    if (AtEnd()) {
        End(Ending::Completed);
        return;
    }
    const int64_t took = clock_.NowMs() - started;
    timer_->Start(static_cast<int>(std::max<int64_t>(0, spec_.delay - took)));
}

void TransitionPlayer::Halt() {
    timer_->Stop();
    ++stepping_;
}

void TransitionPlayer::End(Ending ending) {
    Halt();
    DropPictures();
    SetState(State::NotRunning);
    emit finished(ending);
}

void TransitionPlayer::SetState(State state) {
    state_ = state;
    emit stateChanged(state);
}

bool TransitionPlayer::AtEnd() const {
    return spec_.reverse ? progress_ == 0 : progress_ == 100;
}

void TransitionPlayer::Compose() {
    if (!newPicture_) return;
    const bool before = isSignalConnected(QMetaMethod::fromSignal(&TransitionPlayer::beforeNewFrame));
    const bool custom = isSignalConnected(QMetaMethod::fromSignal(&TransitionPlayer::customDraw));
    const bool after = isSignalConnected(QMetaMethod::fromSignal(&TransitionPlayer::afterNewFrame));
    // Hooks may draw on the picture they are given: they get the transition's own copy.
    if (before || custom || after) OwnNewPicture();
    const Bitmap24& picture = *newPicture_;
    const Bitmap24& oldPicture = oldPicture_ ? *oldPicture_ : picture; // a cut has none
    FrameHooks hooks;
    if (before) hooks.beforeNewFrame = [this] { emit beforeNewFrame(*ownNewPicture_, frame_); };
    if (custom) hooks.customDraw = [this] { emit customDraw(*ownNewPicture_, frame_); };
    hooks.invalidate = [this](const Rect& r) { changed_.push_back(r); };
    const FrameResult result =
        ComposeFrame(frame_, {oldPicture, picture, progress_, spec_.step, spec_.style, pixels_}, random_,
                     hooks, &frameMemory_);
    if (result.reachedEnd) progress_ = 100;
    if (result.composed && after) {
        emit afterNewFrame(*ownNewPicture_, frame_);
        // The hook may have drawn anywhere on the frame.
        frameMemory_.forget();
    }
    ShowChangedAreas();
}

void TransitionPlayer::ShowChangedAreas() {
    if (changed_.empty()) return;
    const std::vector<Rect> areas = std::move(changed_);
    changed_.clear();
    emit areasChanged(areas);
}

void TransitionPlayer::OwnNewPicture() {
    if (ownNewPicture_) return;
    auto own = std::make_shared<Bitmap24>(*newPicture_);
    ownNewPicture_ = own.get();
    newPicture_ = std::move(own);
}

void TransitionPlayer::DropPictures() {
    oldPicture_.reset();
    newPicture_.reset();
    ownNewPicture_ = nullptr;
}

} // namespace scr
