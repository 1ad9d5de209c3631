#pragma once
// Plays one picture transition at a time: changes the frame from what the
// scene shows to Picture through one of the 128 styles, a step at a time.
// No widgets: a view paints the frame where the scene says and repaints the
// areas each step reports.
//
// States, in the manner of QTimeLine:
//
//   NotRunning  no transition; the frame shows the last one's end (or was cut or cleared).
//   Running     the steps run on the show clock, one every `delay` milliseconds at most.
//   Paused      a transition is prepared; the caller moves the progress (SetProgress).
//
//   from        call                   to          signals
//   NotRunning  Play(transition)       Running     stateChanged, a first step at once
//   NotRunning  Play(.., Paused)       Paused      stateChanged
//   NotRunning  Play, no picture       NotRunning  finished(NothingToPlay)
//   Running     a step reaches the end NotRunning  progressChanged, stateChanged, finished(Completed)
//   Running     SetPaused(true)        Paused      stateChanged
//   Paused      SetPaused(false)       Running     stateChanged, a step at once
//   Running     Stop()                 NotRunning  stateChanged, finished(Stopped)
//   Paused      Stop()                 NotRunning  stateChanged, finished(Stopped)
//   NotRunning  Cut()                  NotRunning  progressChanged(100): the frame is Picture
//   NotRunning  Clear()                NotRunning  frameCleared: the frame is empty
//
// Anything else is ignored: Play, Cut and Clear while a transition runs or
// is paused, Stop and SetProgress while none does. A stopped transition
// leaves the frame at the progress it reached. Every Play that is not
// ignored ends in exactly one finished(); Cut and Clear never emit it, so
// whoever plays can take each finished() as the end of its own Play.
//
// Steps: each moves the progress by `step` toward 100 (toward 0 with
// reverse); a step starts `delay` milliseconds after the previous one
// started, or at once when composing took longer. Signals are emitted on
// the thread of the clock's timers; handlers may call anything here,
// including Stop or Play, also from inside a step.

#include "platform/Bitmap24.h"
#include "platform/RandomSource.h"
#include "platform/ShowClock.h"
#include "transitions/FrameComposer.h"
#include "transitions/TransitionPicture.h"
#include "transitions/TransitionScene.h"
#include "transitions/TransitionSpec.h"

#include <QObject>
#include <memory>
#include <vector>

namespace scr {

class TransitionPlayer : public QObject {
    Q_OBJECT

public:
    enum class State { NotRunning, Paused, Running };
    Q_ENUM(State)
    enum class Ending { Completed, Stopped, NothingToPlay };
    Q_ENUM(Ending)

    // The steps are paced on `clock`; the random styles draw from `random`;
    // the frames are composed as `pixels` allows. Clock and generator
    // outlive the player.
    TransitionPlayer(ShowClock& clock, RandomSource& random, PixelOptions pixels, QObject* parent = nullptr);
    ~TransitionPlayer() override;

    // The picture the next Play or Cut changes to. A transition keeps the
    // picture it started with, whatever happens to this one meanwhile.
    TransitionPicture& Picture() { return picture_; }
    TransitionScene& Scene() { return scene_; }
    const TransitionScene& Scene() const { return scene_; }
    // The frame at the current progress, kept after a transition ends.
    const Bitmap24& Frame() const { return frame_; }
    const PixelOptions& Pixels() const { return pixels_; }
    State state() const { return state_; }
    int Progress() const { return progress_; }
    // What the transition played last was given: style, step (kept in
    // 1..100), delay and direction.
    const TransitionSpec& Spec() const { return spec_; }

    // Starts a transition to Picture from what the scene shows now, running
    // (the first step at once) or, with startIn Paused, waiting for SetProgress.
    void Play(const TransitionSpec& transition, State startIn = State::Running);
    // Picture replaces the frame at once.
    void Cut();
    void Stop();
    void SetPaused(bool paused);
    // Moves the progress (cut to 0..100) and composes its frame.
    void SetProgress(int percent);
    void Clear();

signals:
    void stateChanged(TransitionPlayer::State state);
    // After each change of the progress, with the frame composed for it.
    void progressChanged(int percent);
    void finished(TransitionPlayer::Ending ending);
    // The parts of the frame (frame coordinates) that a step changed; shown
    // as they are when this is emitted.
    void areasChanged(const std::vector<Rect>& areas);
    void frameCleared();
    // Drawing hooks, given the transition's own copy of its new picture and
    // the frame: before each frame is composed; for style 0, drawing the
    // frame instead of the cut; after each frame is composed.
    void beforeNewFrame(Bitmap24& picture, Bitmap24& frame);
    void customDraw(Bitmap24& picture, Bitmap24& frame);
    void afterNewFrame(Bitmap24& picture, Bitmap24& frame);

private:
    void Prepare(State startIn);
    void RunStep();
    // Ends the stepping; a step under way then has no further effect.
    void Halt();
    void End(Ending ending);
    void SetState(State state);
    bool AtEnd() const;
    void Compose();
    void ShowChangedAreas();
    void OwnNewPicture();
    void DropPictures();
    Rect WholeFrame() const { return {0, 0, frame_.width(), frame_.height()}; }

    ShowClock& clock_;
    RandomSource& random_;
    const PixelOptions pixels_;
    std::unique_ptr<ClockTimer> timer_;
    State state_ = State::NotRunning;
    // Counts the starts and halts of the stepping, so that a step can tell
    // whether the stepping it belongs to still goes on after its signals.
    unsigned stepping_ = 0;
    TransitionSpec spec_;
    int progress_ = 0;
    TransitionPicture picture_;
    TransitionScene scene_;
    Bitmap24 frame_;
    FrameMemory frameMemory_; // what the composer last wrote into frame_
    Bitmap24 sceneBuffer_;    // the scene drawn to capture the old picture
    std::vector<Rect> changed_;
    // Only while a transition runs: what the scene showed where the new
    // picture appears (none for a cut), and the new picture as it was at
    // Play, shared with Picture until a drawing hook needs its own copy.
    std::unique_ptr<Bitmap24> oldPicture_;
    std::shared_ptr<const Bitmap24> newPicture_;
    Bitmap24* ownNewPicture_ = nullptr;
};

} // namespace scr
