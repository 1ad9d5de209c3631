#pragma once
// Puts the Flash movies on show into the frames of a render. Drawing the
// show window leaves a web page's pixels out, so each movie's picture is read
// from its player and painted over its control's place. The players play in
// real time, so while a movie is on show the render keeps the pace of real
// time: video frame k is taken when k frames' time has passed since movies
// came on show.

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <cstdint>
#include <vector>

class QWidget;

namespace scr {

class FlashControl;

class FlashFrameCapture {
public:
    explicit FlashFrameCapture(QWidget& window) : window_(window) {}

    // Whether a movie control is on show in the window now.
    bool MoviesOnShow() const;
    // Waits until the real time since movies came on show reaches the time
    // of the frame at `videoMs`; counts a frame that comes too late, and
    // starts the run anew from a frame that comes far too late.
    void KeepPace(int64_t videoMs);
    // Reads the picture of every movie on show and paints it over its
    // control's place in `frame`; a player that gives none in time keeps the
    // picture it gave before.
    void PaintOver(QImage& frame);
    // Movies are off screen: the next one starts a new real-time run.
    void Pause() { paced_ = false; }

    int64_t framesPaced() const { return framesPaced_; }
    int64_t framesLate() const { return framesLate_; }

    // How long a player may take to give its picture.
    static constexpr int kCaptureTimeoutMs = 2000;
    // A frame this much later than its time counts as late.
    static constexpr int kLateMs = 100;
    // A frame this much later than its time starts a new real-time run.
    static constexpr int kHeldUpMs = 500;

private:
    std::vector<QPointer<FlashControl>> ControlsOnShow() const;

    QWidget& window_;
    QElapsedTimer wall_;
    bool paced_ = false;
    int64_t startVideoMs_ = 0;
    int64_t framesPaced_ = 0;
    int64_t framesLate_ = 0;
    struct LastPicture {
        QPointer<FlashControl> control;
        QImage picture;
    };
    std::vector<LastPicture> last_;
};

} // namespace scr
