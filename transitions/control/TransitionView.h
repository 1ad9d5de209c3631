#pragma once
// Paints a transition player's frame: a plain, non-native child widget
// drawing into its parent's window, opaque, the size of the player's client
// area. It owns the player and gives the player's scene its own size; each
// step's changed areas are repainted at once, mapped through the scene.
//
// Use: load Player().Picture(), then Player().Play(transition) or Player().Cut();
// Player()'s signals tell what happened. Change the scene through
// ChangeScene, which repaints.

#include "platform/Bitmap24.h"
#include "platform/ShowClock.h"
#include "platform/gui/WallClock.h"
#include "transitions/TransitionPlayer.h"
#include "transitions/TransitionScene.h"

#include <QWidget>
#include <vector>

class QPainter;

namespace scr {

class TransitionView : public QWidget {
    Q_OBJECT

public:
    // The player's steps are paced on `clock`, its random styles draw from
    // `random` (both outlive the view); frames are composed and painted as
    // `pixels` allows.
    TransitionView(QWidget* parent, ShowClock& clock, RandomSource& random, PixelOptions pixels);
    // On the wall clock, with a generator of its own seeded from the clock,
    // and the processor's fastest pixel paths.
    explicit TransitionView(QWidget* parent = nullptr);

    TransitionPlayer& Player() { return player_; }
    const TransitionPlayer& Player() const { return player_; }
    const TransitionScene& Scene() const { return player_.Scene(); }
    // Changes the scene (colour, background, placement) and repaints:
    // view.ChangeScene([](TransitionScene& s) { s.center = true; }).
    template <typename Change>
    void ChangeScene(Change&& change) {
        change(player_.Scene());
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RepaintAreas(const std::vector<Rect>& areas);
    // The frame drawn unscaled from its own pixels, the rest filled with the
    // colour: the cheap path when there is neither stretching nor a background
    // picture.
    void PaintDirect(QPainter& painter, const QRect& area);
    // Writes the frame's part in frameArea (control coordinates) straight
    // into the window's 32-bit screen image; false when the painter does not
    // paint into one (then the painter draws the frame).
    bool PaintIntoScreenImage(QPainter& painter, const QRect& frameArea);

    SeededRandom ownRandom_ = ClockSeededRandom(); // unused when a source is given
    TransitionPlayer player_;
    Bitmap24 paintBuffer_; // the scene drawn off-screen when it stretches or has a background
};

} // namespace scr
