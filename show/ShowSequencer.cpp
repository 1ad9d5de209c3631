#include "show/ShowSequencer.h"

#include "platform/Bitmap24.h"
#include "platform/Random.h"
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

ShowSequencer::ShowSequencer(ShowContent& content, ShowStage& stage, const SequencerSettings& settings)
    : content_(content), stage_(stage), settings_(settings),
      playList_(PinnedFlags(content), content.RandomOrder()) {
    currentItem_ = content_.GetItem(playList_.empty() ? -1 : playList_.CurrentIndex());
}

int ShowSequencer::ResolveEffect(int effect) {
    return effect >= 0 && effect <= 127 ? effect : RandomBelow(128);
}

void ShowSequencer::Advance(bool forward) {
    if (advancing_) return;
    advancing_ = true;
    stage_.KillItemTimer();
    if (playList_.empty()) {
        advancing_ = false;
        return;
    }
    if (ItemIsFinished(currentItem_.displaySeconds, stage_.CurrentMovie())) {
        stage_.StopMoving();
        ShowCurrentItem();
        playList_.Step(forward);
        stage_.ProcessMessages();
        if (stage_.Closing())
            stage_.StopTransition();
        else
            stage_.SetItemTimer(ItemIntervalMs(currentItem_.kind, currentItem_.displaySeconds,
                                               content_.DefaultDisplaySeconds()));
    } else {
        // A movie still plays: look again in a second.
        stage_.ProcessMessages();
        if (stage_.Closing())
            stage_.StopTransition();
        else
            stage_.SetItemTimer(kMovieRetestMs);
    }
    // A close accepted meanwhile has stopped the movement for good.
    if (!stage_.Closing()) stage_.StartMoving();
    advancing_ = false;
}

void ShowSequencer::ShowCurrentItem() {
    previousItem_ = currentItem_;
    const int index = playList_.CurrentIndex();
    if (index < 0) return;
    currentItem_ = content_.GetItem(index);
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
        position = {static_cast<int>(item.left * scale), static_cast<int>(item.top * scale)};
    } else {
        position = {RandomOffset(settings_.showSize.width - size.width),
                    RandomOffset(settings_.showSize.height - size.height)};
    }

    Bitmap24 picture;
    if (item.kind == kPicture) {
        const bool loaded = content_.LoadPicture(picture, index, settings_.preview ? kPreviewScale : 0);
        if (loaded && (item.width <= 0 || item.height <= 0)) {
            const int factor = settings_.preview ? kPreviewFactor : 1;
            size = {static_cast<int>(picture.width() * factor * scale),
                    static_cast<int>(picture.height() * factor * scale)};
        }
    }
    Rect r = MakeRect(position, size);

    if (firstShow_) {
        if (content_.CountPinnedItems() > 0) stage_.CreatePinnedItems();
        if (moving) {
            const Size window = stage_.WindowSize();
            const Point start{RandomOffset(window.width - size.width),
                              RandomOffset(window.height - size.height)};
            stage_.SetFlyPosition(start);
            r = MakeRect(start, size);
        }
        stage_.CapturePicture(r);
        stage_.SetPictureBounds(r);
        stage_.SetPictureVisible(true);
        stage_.ShowPictureAtOnce();
        stage_.SetPictureVisible(false);
        firstShow_ = false;
    } else if (previousItem_.kind == kPicture) {
        if (!LeavePreviousPicture(r)) return;
    }

    stage_.ShowItemLabels(index);
    if (previousItem_.kind == kFlash && item.kind == kPicture) {
        stage_.CapturePicture(r);
        stage_.SetPictureBounds(r);
        stage_.SetPictureVisible(true);
        stage_.ShowPictureAtOnce();
    }
    stage_.ReleaseCurrentFlash();

    if (item.kind == kFlash) {
        if (auto path = content_.ExtractFlash(index)) stage_.CreateFlash(r, *path);
        stage_.SetPictureVisible(false);
    } else if (item.kind == kPicture) {
        EnterPicture(std::move(picture), r);
    }

    if (moving) {
        stage_.SetFlyTarget(item.kind == kFlash);
        stage_.SetFlySize(size);
    }
    TrimWorkingSet();
}

bool ShowSequencer::LeavePreviousPicture(const Rect& r) {
    const ShowItem& previous = previousItem_;
    if (previous.exitEffect < kNoEffectBelow) {
        // No exit transition. A picture that moves elsewhere stays painted on
        // the background (a collage), except in moving mode.
        if (stage_.PictureBounds() != r) {
            if (!stage_.HasFly()) stage_.PaintPictureOntoBackground();
            ReplacePictureAtOnce(r);
        }
    } else {
        stage_.PictureFromBackground();
        stage_.RunTransition(ResolveEffect(previous.exitEffect), previous.exitStep, previous.exitDelay);
        stage_.ProcessMessages();
        if (stage_.Closing()) return false;
    }
    stage_.ProcessMessages();
    return !stage_.Closing();
}

void ShowSequencer::ReplacePictureAtOnce(const Rect& r) {
    stage_.CapturePicture(r);
    stage_.SetPictureBounds(r);
    stage_.ShowPictureAtOnce();
}

void ShowSequencer::EnterPicture(Bitmap24&& picture, const Rect& r) {
    const ShowItem& item = currentItem_;
    if (stage_.PictureBounds() != r) ReplacePictureAtOnce(r);
    if (!stage_.PictureVisible()) stage_.SetPictureVisible(true);
    stage_.SetPicture(std::move(picture), r.width(), r.height());
    if (item.transitionEffect < kNoEffectBelow)
        stage_.ShowPictureAtOnce();
    else
        stage_.RunTransition(ResolveEffect(item.transitionEffect), item.transitionStep, item.transitionDelay);
}

} // namespace scr
