#include "show/ShowSequencer.h"

#include "platform/WorkingSet.h"
#include "show/ItemTiming.h"
#include "show/ShowContent.h"
#include "show/ShowStage.h"

namespace scr {
namespace {

constexpr int kPicture = static_cast<int>(ItemKind::Picture);
constexpr int kFlash = static_cast<int>(ItemKind::Flash);
// Effects below this value mean "no transition".
constexpr int kNoEffectBelow = -1;
// Pictures in preview are decoded at one eighth of their size.
constexpr int kPreviewScale = 3;
constexpr int kPreviewFactor = 8;

Rect MakeRect(Point p, Size s) {
    return {p.x, p.y, p.x + s.width, p.y + s.height};
}

std::vector<bool> PinnedFlags(const ShowContent& content) {
    std::vector<bool> pinned;
    for (int i = 0; i < content.ItemCount(); ++i)
        pinned.push_back(content.GetItem(i).pinned != 0);
    return pinned;
}

} // namespace

ShowSequencer::ShowSequencer(ShowContent& content, ShowStage& stage, const SequencerSettings& settings,
                             RandomSource& random)
    : content_(content), stage_(stage), settings_(settings), random_(random),
      playList_(PinnedFlags(content), content.RandomOrder(), random) {
    currentItem_ = content_.GetItem(playList_.empty() ? -1 : playList_.CurrentIndex());
}

int ShowSequencer::ResolveEffect(int effect, RandomSource& random) {
    return effect >= 0 && effect <= 127 ? effect : random.Random(128);
}

void ShowSequencer::Advance(bool forward) {
    if (advancing() || state_ == State::Closed) return;
    stage_.KillItemTimer();
    if (playList_.empty()) {
        state_ = State::Idle;
        stage_.AdvanceEnded();
        return;
    }
    if (!ItemIsFinished(currentItem_.displaySeconds, stage_.CurrentMovie())) {
        // A movie still plays: look again in a second.
        WaitAgain(kMovieRetestMs);
        return;
    }
    stage_.StopMoving();
    ++advancesBegun_;
    forward_ = forward;
    state_ = State::Leaving;
    LayOutCurrentItem();
    if (index_ < 0) {
        FinishAdvance();
        return;
    }
    LeavePreviousItem();
}

void ShowSequencer::TransitionFinished() {
    if (state_ == State::Leaving)
        EnterCurrentItem();
    else if (state_ == State::Entering)
        FinishAdvance();
}

void ShowSequencer::Close() {
    if (state_ == State::Closed) return;
    state_ = State::Closed;
    picture_ = Bitmap24();
    stage_.StopTransition();
}

void ShowSequencer::LayOutCurrentItem() {
    previousItem_ = currentItem_;
    index_ = playList_.CurrentIndex();
    if (index_ < 0) return;
    currentItem_ = content_.GetItem(index_);
    const ShowItem& item = currentItem_;
    const bool moving = stage_.HasFly();
    const double scale = settings_.showScale;

    Size size = ItemScreenSize(item.width, item.height, scale, settings_.primaryScreen);
    Point position = DefaultItemPosition(settings_.primaryScreen);
    if (moving) {
        // The item starts where the previous one stands.
        Point flashPosition;
        if (previousItem_.kind == kPicture)
            position = {stage_.PictureBounds().left, stage_.PictureBounds().top};
        else if (previousItem_.kind == kFlash && stage_.CurrentFlashPosition(flashPosition))
            position = flashPosition;
        size = FitIntoHalfWindow(size, settings_.showSize);
    } else if (item.fixedPosition != 0) {
        position = FromOrigin(settings_.origin, static_cast<int>(item.left * scale),
                              static_cast<int>(item.top * scale));
    } else {
        position = FromOrigin(settings_.origin, RandomOffset(settings_.showSize.width - size.width, random_),
                              RandomOffset(settings_.showSize.height - size.height, random_));
    }

    picture_ = Bitmap24();
    if (item.kind == kPicture) {
        const bool loaded = content_.LoadPicture(picture_, index_, settings_.preview ? kPreviewScale : 0);
        if (loaded && (item.width <= 0 || item.height <= 0)) {
            const int factor = settings_.preview ? kPreviewFactor : 1;
            size = {static_cast<int>(picture_.width() * factor * scale),
                    static_cast<int>(picture_.height() * factor * scale)};
        }
    }
    size_ = size;
    bounds_ = MakeRect(position, size);
}

void ShowSequencer::LeavePreviousItem() {
    const ShowItem& previous = previousItem_;
    if (firstShow_) {
        if (content_.CountPinnedItems() > 0) stage_.CreatePinnedItems();
        if (stage_.HasFly()) {
            const Size window = stage_.WindowSize();
            const Point start{RandomOffset(window.width - size_.width, random_),
                              RandomOffset(window.height - size_.height, random_)};
            stage_.SetFlyPosition(start);
            bounds_ = MakeRect(start, size_);
        }
        stage_.CapturePicture(bounds_);
        stage_.SetPictureBounds(bounds_);
        stage_.SetPictureVisible(true);
        stage_.ShowPictureAtOnce();
        stage_.SetPictureVisible(false);
        firstShow_ = false;
    } else if (previous.kind == kPicture && previous.exitEffect >= kNoEffectBelow) {
        // The exit transition runs in place, to the background under the picture.
        stage_.PictureFromBackground();
        stage_.StartTransition(ResolveEffect(previous.exitEffect, random_), previous.exitStep,
                               previous.exitDelay);
        return;
    } else if (previous.kind == kPicture && stage_.PictureBounds() != bounds_) {
        // No exit transition. A picture that moves elsewhere stays painted on
        // the background (a collage), except in moving mode.
        if (!stage_.HasFly()) stage_.PaintPictureOntoBackground();
        ReplacePictureAtOnce(bounds_);
    }
    EnterCurrentItem();
}

void ShowSequencer::EnterCurrentItem() {
    state_ = State::Entering;
    const ShowItem& item = currentItem_;
    stage_.ShowItemLabels(index_);
    if (previousItem_.kind == kFlash && item.kind == kPicture) {
        stage_.CapturePicture(bounds_);
        stage_.SetPictureBounds(bounds_);
        stage_.SetPictureVisible(true);
        stage_.ShowPictureAtOnce();
    }
    if (item.kind == kFlash) {
        // The item before stays on screen until the movie's first frame is.
        stage_.BringOnMovie(index_, bounds_, content_.ReadMovie(index_));
        FinishAdvance();
        return;
    }
    stage_.ReleaseCurrentFlash();
    if (item.kind == kPicture) {
        EnterPicture();
        return;
    }
    FinishAdvance();
}

void ShowSequencer::EnterPicture() {
    const ShowItem& item = currentItem_;
    if (stage_.PictureBounds() != bounds_) ReplacePictureAtOnce(bounds_);
    if (!stage_.PictureVisible()) stage_.SetPictureVisible(true);
    stage_.SetPicture(std::move(picture_), bounds_.width(), bounds_.height());
    picture_ = Bitmap24();
    if (item.transitionEffect < kNoEffectBelow) {
        stage_.ShowPictureAtOnce();
        FinishAdvance();
        return;
    }
    stage_.StartTransition(ResolveEffect(item.transitionEffect, random_), item.transitionStep,
                           item.transitionDelay);
}

void ShowSequencer::FinishAdvance() {
    // A close that arrived while the item came on ends the advance here.
    if (state_ == State::Closed) return;
    if (index_ >= 0 && stage_.HasFly()) {
        stage_.SetFlyTarget(currentItem_.kind == kFlash);
        stage_.SetFlySize(size_);
    }
    if (index_ >= 0) TrimWorkingSet();
    playList_.Step(forward_);
    WaitAgain(
        ItemIntervalMs(currentItem_.kind, currentItem_.displaySeconds, content_.DefaultDisplaySeconds()));
}

void ShowSequencer::WaitAgain(int intervalMs) {
    if (state_ == State::Closed) return;
    stage_.SetItemTimer(intervalMs);
    stage_.StartMoving();
    state_ = State::Showing;
    stage_.AdvanceEnded();
}

void ShowSequencer::ReplacePictureAtOnce(const Rect& r) {
    stage_.CapturePicture(r);
    stage_.SetPictureBounds(r);
    stage_.ShowPictureAtOnce();
}

} // namespace scr
