#pragma once
// The transition control: a windowless picture control (a plain, non-native
// child widget painting into its parent's window) that shows one picture and
// changes from what it currently shows to a new picture through one of the
// 128 animated transition styles.
//
// Use: load Picture, set Style, Step and Delay, call Execute. Execute calls
// Prepare (which captures what the control showed as the old picture) and,
// unless Manual is set, Animate. Each step moves the progress by Step toward
// 100 (or toward 0 with Reverse) through SetProgress, which composes the frame
// (UpdateDisplay) and fires OnProgress; reaching the end calls
// AnimationComplete, which fires OnComplete. Stop ends a transition early
// without OnComplete and keeps the frame reached. Clear empties the frame
// while no transition runs.
//
// Pacing: a TransitionRunner times the steps on one timer of the GUI thread.
// With Threaded on (the default) Execute returns before the first step; with
// Threaded off Execute runs the first step itself (an instant change is over
// when it returns) and the timer the rest; with Manual on the caller sets the
// progress. Runner().finished() tells when a transition is over, whether it
// ran to its end or was stopped.
//
// Events are plain callbacks, written directly; `Sender` is the control.
// Everything runs on the GUI thread.

#include "platform/Bitmap24.h"
#include "platform/RandomSource.h"
#include "platform/ShowClock.h"
#include "platform/gui/WallClock.h"
#include "transitions/FrameComposer.h"
#include "transitions/Rect.h"
#include "transitions/control/TransitionPicture.h"
#include "transitions/control/TransitionRunner.h"

#include <QRegion>
#include <QThread>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QPainter;

namespace scr {

using TShowStyle = uint8_t; // 0..127
using TPercent = uint8_t;   // 0..100

enum class TBackgroundMode : uint8_t { bmNone = 0, bmTiled = 1, bmStretched = 2, bmCentered = 3 };

// How a control is sized by its parent; anything but alNone means the parent
// decides the size, so AutoSize does not apply.
enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TNotifyEvent = std::function<void(QObject* sender)>;
// Sender, the new picture bitmap, the frame bitmap.
using TCustomDrawEvent = std::function<void(QObject* sender, Bitmap24& picture, Bitmap24& screen)>;

class TCustomPic_Trans : public QWidget {
    Q_OBJECT

public:
    // The steps of a transition are paced on `clock`.
    explicit TCustomPic_Trans(QWidget* parent = nullptr, ShowClock& clock = WallClock::Instance());
    ~TCustomPic_Trans() override;

    // --- Pictures --------------------------------------------------------
    TransitionPicture& Picture() { return picture_; }
    const TransitionPicture& Picture() const { return picture_; }
    // Copies the picture's content; null clears the graphic.
    void SetPicture(const TransitionPicture* picture);
    TransitionPicture& BgPicture() { return bgPicture_; }
    const TransitionPicture& BgPicture() const { return bgPicture_; }
    void SetBgPicture(const TransitionPicture* picture);
    // True when Picture has no graphic or an empty one.
    bool GetEmpty() const { return picture_.isEmpty(); }

    // --- Properties ------------------------------------------------------
    TBackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(TBackgroundMode mode);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool value);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool value) { threaded_ = value; }
    // Kept with the other settings; the steps run on the GUI thread at any value.
    QThread::Priority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(QThread::Priority value) { threadPriority_ = value; }
    bool Manual() const { return manual_; }
    void SetManual(bool value);
    // Style above 127 (written directly) composes the old picture only.
    TShowStyle Style() const { return style_; }
    void SetStyle(TShowStyle value) { style_ = value; }
    uint16_t Step() const { return step_; }
    // 0 becomes 1, values above 100 become 100.
    void SetStep(uint16_t value);
    // Minimum time between the starts of two steps, in milliseconds.
    uint16_t Delay() const { return delay_; }
    void SetDelay(uint16_t value) { delay_ = value; }
    bool Reverse() const { return reverse_; }
    void SetReverse(bool value) { reverse_ = value; }
    TPercent Progress() const { return progress_; }
    // Colour of the client area under background and frame, as COLORREF.
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t colorRef);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign value) { align_ = value; }
    // The random numbers of the random styles: the show's source, which
    // outlives the control (a generator of the control's own, seeded from the
    // clock, until one is given).
    void SetRandomSource(RandomSource& random) { random_ = &random; }

    // --- State -----------------------------------------------------------
    bool Running() const { return running_; }
    bool Stopping() const { return stopping_; }
    bool Painting() const { return painting_; }
    // The frame shown at the current progress (kept after a transition ends).
    const Bitmap24& Frame() const { return frame_; }
    // The frame's unscaled placement in client coordinates.
    const Rect& PicRect() const { return picRect_; }
    // The part of the client area in which the frame is shown.
    Rect DisplayRect() const;
    // A changed area of the frame mapped to client coordinates (InvalidateArea's geometry).
    Rect FrameAreaToClient(const Rect& r) const;

    // --- Operations ------------------------------------------------------
    void Execute();
    void Stop();
    void Clear();
    void SetProgress(int value);
    void Prepare();
    void Animate();
    void UpdateDisplay();
    void AnimationComplete(QObject* sender);
    void CalculatePicRect();
    void InvalidateArea(const Rect& r);
    void AdjustClientSize();

    // One paced step; atEnd when the transition is at its end (or no longer
    // runs). The runner calls it.
    TransitionRunner::StepResult RunPacedStep();
    // The pacing of the running transition and its progress and end signals.
    TransitionRunner& Runner() { return runner_; }

    // --- Events ----------------------------------------------------------
    TNotifyEvent OnChange, OnProgress, OnComplete, OnMouseEnter, OnMouseLeave;
    TCustomDrawEvent OnCustomDraw, OnBeforeNewFrame, OnAfterNewFrame;

protected:
    // Draws colour, background and frame onto the part `area` of the
    // control. Only that part is drawn and converted for the screen: a
    // transition step repaints just what it changed.
    virtual void Paint(const QRegion& area);
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PictureChange();
    void BgPictureChange();
    // Draws colour, background and frame into the paint buffer, inside `area` only.
    void RenderPaintBuffer(const Rect& area);
    // The frame drawn unscaled from its own pixels, the rest filled with the
    // colour: the cheap path when there is neither stretching nor a background
    // picture.
    void PaintDirect(QPainter& painter, const QRect& area);
    // Writes the frame's part in frameArea (control coordinates) straight
    // into the window's 32-bit screen image; false when the painter does not
    // paint into one (then the painter draws the frame).
    bool PaintIntoScreenImage(QPainter& painter, const QRect& frameArea);
    bool DrawsBackgroundPicture() const;
    // The last frame shows at the place a w x h picture will take, unscaled
    // and whole: it is then what the control shows there.
    bool FrameShownAsItIs(int w, int h) const;
    void OwnNewPicture();
    void DropNewPicture();
    bool AtEnd() const;
    void InvalidateControl();
    Rect ClientRect() const { return {0, 0, width(), height()}; }

    TransitionPicture picture_;
    TransitionPicture bgPicture_;
    TBackgroundMode bgMode_ = TBackgroundMode::bmTiled;
    bool autoSize_ = true;
    bool center_ = false;
    bool stretch_ = false;
    bool stretchFine_ = false;
    bool threaded_ = true;
    QThread::Priority threadPriority_ = QThread::NormalPriority;
    bool manual_ = false;
    bool stopping_ = false;
    uint16_t delay_ = 40;
    bool reverse_ = false;
    TShowStyle style_ = 51;
    uint16_t step_ = 4;
    TPercent progress_ = 0;
    bool running_ = false;
    uint32_t color_ = 0x00000000;
    TAlign align_ = TAlign::alNone;
    SeededRandom ownRandom_ = ClockSeededRandom();
    RandomSource* random_ = &ownRandom_;

    Bitmap24 frame_;
    FrameMemory frameMemory_; // what the composer last wrote into frame_
    Rect picRect_;
    TransitionRunner runner_;
    bool painting_ = false;
    bool destroying_ = false;
    Bitmap24 paintBuffer_;
    std::mutex paintBufferLock_;
    std::mutex frameLock_;
    std::unique_ptr<Bitmap24> oldPicture_;
    // The new picture: Picture's bitmap as it was at Execute, shared with it.
    std::shared_ptr<const Bitmap24> newPicture_;
    // The same bitmap once the control holds its own copy of it, made the
    // first time an event handler is given the picture to draw on.
    Bitmap24* ownNewPicture_ = nullptr;
    QRegion pendingRepaint_;
};

} // namespace scr
