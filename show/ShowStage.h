#pragma once
// What the show sequencer needs from the show window: the transition control
// that brings pictures in and out, the Flash host of the current item, the
// labels and pinned items, the bouncing movement and the item timer. The
// show window implements it with real widgets; tests with a recording fake.

#include "show/ItemLayout.h"
#include "show/ItemTiming.h"
#include "transitions/Rect.h"

#include <optional>
#include <string>
#include <vector>

namespace scr {

class Bitmap24;

class ShowStage {
public:
    virtual ~ShowStage() = default;

    // The window: the item timer, the window's actual size.
    virtual void SetItemTimer(int intervalMs) = 0;
    virtual void KillItemTimer() = 0;
    virtual Size WindowSize() = 0;
    // An advance has ended: an item is on screen and its timer runs (or the
    // play list is empty). What waits for the first item may start now.
    virtual void AdvanceEnded() = 0;

    // The transition control.
    virtual Rect PictureBounds() = 0;
    virtual void SetPictureBounds(const Rect& bounds) = 0;
    virtual bool PictureVisible() = 0;
    virtual void SetPictureVisible(bool visible) = 0;
    // Its picture becomes what the window shows under r (background,
    // pictures and labels), so a following transition starts from the screen.
    virtual void CapturePicture(const Rect& r) = 0;
    // Its picture becomes `picture`, resampled to width x height.
    virtual void SetPicture(Bitmap24&& picture, int width, int height) = 0;
    // Its picture becomes the background under its bounds.
    virtual void PictureFromBackground() = 0;
    // Copies its current picture onto the background for good (the collage).
    virtual void PaintPictureOntoBackground() = 0;
    // Starts a transition to its picture. Its end, whether it ran to the end
    // or was stopped, is reported to ShowSequencer::TransitionFinished, which
    // may happen before this call returns.
    virtual void StartTransition(int style, int step, int delay) = 0;
    // The picture replaces what is shown at once.
    virtual void ShowPictureAtOnce() = 0;
    virtual void StopTransition() = 0;

    // The Flash host of the current item, item `itemIndex` of the package.
    // The movie of item `itemIndex` takes the place of what is on show (the
    // previous movie, the picture) once its first frame is on screen, at
    // most 1.5 s later: until then the item before stays, so the show never
    // goes blank between its items. Without a movie (it could not be read)
    // the item before goes at once.
    virtual void BringOnMovie(int itemIndex, const Rect& bounds,
                              std::optional<std::vector<uint8_t>> movie) = 0;
    virtual void ReleaseCurrentFlash() = 0;
    virtual MovieProgress CurrentMovie() = 0;
    // Top-left of the current Flash host; false when there is none.
    virtual bool CurrentFlashPosition(Point& position) = 0;

    // The labels of an item (replacing those of the previous one), and the
    // pinned items, created once at the first show.
    virtual void ShowItemLabels(int itemIndex) = 0;
    virtual void CreatePinnedItems() = 0;

    // The bouncing movement; all but HasFly do nothing without it.
    virtual bool HasFly() = 0;
    virtual void StartMoving() = 0;
    virtual void StopMoving() = 0;
    virtual void SetFlyPosition(Point position) = 0;
    virtual void SetFlySize(Size size) = 0;
    // The moved control: the Flash host (true) or the transition control.
    virtual void SetFlyTarget(bool flash) = 0;
};

} // namespace scr
