#pragma once
// The show window: full screen over the whole virtual desktop (layout on the
// primary screen), full screen on the output a Wayland compositor gives it,
// or drawn inside a host's window (the preview box, or the window a Linux
// screen-saver host names). It owns the package, the
// transition control, the background, the Flash hosts, the music, the
// bouncing movement and the label controls, and ends the show by the input
// rules of ShowWindowRules.
//
// Input reaches it in one way: Qt's events through ShowInputFilter, and the
// ticks of its item and movement timers, all as ShowInput; the rules answer
// each with a ShowRequest, which the window carries out.

#include "platform/ShowEnvironment.h"
#include "platform/ShowMode.h"
#include "platform/gui/TerminationSignals.h"
#include "platform/gui/WallClock.h"
#include "show/PlacementLimit.h"
#include "show/ShowInput.h"
#include "show/ShowPackage.h"
#include "show/ShowSequencer.h"
#include "show/ShowStage.h"
#include "show/ShowWindowRules.h"
#include "show/TransitionStats.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QCloseEvent;
class QTimer;

namespace scr {

class BackgroundImage;
class FlashPlayers;
class MovieHandover;
class ShowInputFilter;
class ShowMusic;
class FlashHost;
class BouncingMotion;
class TransitionView;

// The alpha (0..255) of a translucent show window for the package's opacity
// percentage; none (opaque) outside 20..99.
std::optional<int> LayeredAlpha(int opacityPercent);

// Whether the show plays its music through the sound device. A show rendered
// to a video makes its sound track itself and plays nothing.
enum class ShowSound { Play, Silent };

class ShowWindow : public QWidget, private ShowStage {
    Q_OBJECT

public:
    // mode: Show or Preview. In Preview `host` is the preview box; in Show a
    // window named by XSCREENSAVER_WINDOW takes its place when it exists.
    // Every timer of the show (item, movement, transition steps, music) runs
    // on the environment's clock, every random choice draws from its random
    // source; both outlive the window.
    ShowWindow(std::unique_ptr<ShowPackage> package, const ShowEnvironment& environment, ShowMode mode,
               WindowHandle host, ShowSound sound = ShowSound::Play);
    ~ShowWindow() override;

    // Shows the window and starts the show; the caller's event loop runs it
    // until ended() is emitted. False, and nothing shown, when there is
    // nothing to draw into (a preview whose box does not exist).
    bool Start();
    // Whether the window has accepted a close and is hidden.
    bool hasEnded() const { return ended_; }

    // One input, as the input filter and the timers hand it on; tests drive
    // the window through it.
    void HandleInput(const ShowInput& input);

    // The author's home page to open once the window is gone: asked for
    // with F2 and beginning with "http"; "" for none.
    std::string HomePageToOpen() const;

    // Where the window stands: over the whole X11 desktop, placed by itself;
    // inside a host's window; or full screen on one output, placed by a
    // Wayland compositor.
    enum class Placement { Desktop, ForeignWindow, Output };
    Placement placement() const { return placement_; }
    bool embedded() const { return placement_ == Placement::ForeignWindow; }
    Size showSize() const { return showSize_; }
    double showScale() const { return showScale_; }
    const ShowWindowRules& rules() const { return rules_; }
    const ShowSequencer& sequencer() const { return *sequencer_; }
    TransitionView* transitionView() const { return trans_; }
    BackgroundImage* backgroundImage() const { return background_; }
    BouncingMotion* fly() const { return fly_.get(); }
    // The item timer's interval while it runs; none when it is stopped.
    std::optional<int> itemTimerIntervalMs() const;
    bool cursorHidden() const { return cursorHidden_; }
    // When the music began (or, silent, would have begun), on the show's
    // clock: once the first advance has ended; none before.
    std::optional<int64_t> musicStartMs() const { return musicStartMs_; }
    // How many advances have brought an item on (or begun to).
    int advancesBegun() const { return sequencer_ ? sequencer_->advancesBegun() : 0; }
    // Starts the show as an embedded window does, without waiting for an
    // activation, and returns; the caller runs the events and the clock.
    // No user is there: the window then reacts to its timers only (and
    // to the termination signals, which close it).
    void StartUnattended();

signals:
    // The window has accepted a close and is hidden: the show is over.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Carries out what the rules asked for.
    void Carry(ShowRequest request);
    // Hands `input` to HandleInput once control is back in the event loop.
    void PostInput(ShowInput input);
    Point CursorPos() const;
    void SetUpGeometry(WindowHandle host);
    void SetUpAppearance();
    // Shows the window and starts the show at once, the cursor where it is
    // as the reference of the movement test.
    void ShowAndStart();
    // Ends the show's activity and releases what the window owns while
    // every widget of it still exists; takes no action of its own.
    void Teardown();
    // Writes the stats line of the show's end (what was under way), once.
    void ReportEnd();
    bool FirstItemIsMovie() const;
    bool HasMovies() const;
    void StartMusic();
    // Stops movement, a running transition and the item timer.
    void StopActivity();

    // ShowStage
    void SetItemTimer(int intervalMs) override;
    void KillItemTimer() override;
    Size WindowSize() override { return {width(), height()}; }
    void AdvanceEnded() override;
    Rect PictureBounds() override;
    void SetPictureBounds(const Rect& bounds) override;
    bool PictureVisible() override;
    void SetPictureVisible(bool visible) override;
    void CapturePicture(const Rect& r) override;
    void SetPicture(Bitmap24&& picture, int width, int height) override;
    void PictureFromBackground() override;
    void PaintPictureOntoBackground() override;
    void StartTransition(int style, int step, int delay) override;
    // The transition player finished a transition: the sequencer's, as only
    // StartTransition plays one (a cut never finishes one).
    void TransitionOver();
    void ShowPictureAtOnce() override;
    void StopTransition() override;
    void BringOnMovie(int itemIndex, const Rect& bounds, std::optional<std::vector<uint8_t>> movie) override;
    void ReleaseCurrentFlash() override;
    // The coming movie stands in its place: what stood before goes.
    void MovieHandedOver(FlashHost* host);
    MovieProgress CurrentMovie() override;
    bool CurrentFlashPosition(Point& position) override;
    void ShowItemLabels(int itemIndex) override;
    void CreatePinnedItems() override;
    bool HasFly() override { return fly_ != nullptr; }
    void StartMoving() override;
    void StopMoving() override;
    void SetFlyPosition(Point position) override;
    void SetFlySize(Size size) override;
    void SetFlyTarget(bool flash) override;

    FlashHost* MakeFlashHost(const Rect& bounds, const std::vector<uint8_t>& movie, bool loop,
                             const std::string& folder);
    void CaptureArea(const Rect& r);
    // Where the transition control stands (the visible part of the bounds).
    Rect PictureGeometry() const;
    // Runs a step that allocates for an item; false, with a statistics line
    // naming the step, when memory could not be had.
    template <class Step>
    bool Allocating(const char* step, Step&& run);
    // The current item is left out: its picture stays hidden and its
    // transitions do not run, until the next item comes.
    void SkipCurrentItem();

    std::unique_ptr<ShowPackage> package_;
    ShowClock& clock_;
    RandomSource& random_;
    const PixelOptions pixels_;
    const ShowSound sound_;
    std::optional<int64_t> musicStartMs_;
    const bool preview_;
    bool unattended_ = false;
    Placement placement_ = Placement::Desktop;
    WindowHandle hostWindow_ = 0;
    Size primaryScreen_;
    Size showSize_;
    Point layoutOrigin_; // the primary screen's place on the window
    double showScale_ = 1;
    PlacementLimit limit_;
    std::unique_ptr<ClockTimer> itemTimer_;
    int itemIntervalMs_ = 0;
    bool ended_ = false;
    Rect pictureRequest_; // the picture bounds as asked for, before clamping
    bool itemSkipped_ = false;
    ShowWindowRules rules_;
    TerminationSignals terminationSignals_;
    TransitionStats stats_;
    BackgroundImage* background_ = nullptr;
    TransitionView* trans_ = nullptr;
    // The Flash players of the window's hosts; they end before any widget of
    // the window goes.
    std::unique_ptr<FlashPlayers> flashPlayers_;
    QPointer<FlashHost> currentFlash_;
    // Brings each movie item on without a blank stage before it.
    MovieHandover* movieHandover_ = nullptr;
    // The movement moves the current movie once it stands in its place.
    bool flyTargetsMovie_ = false;
    std::vector<QPointer<QWidget>> pinnedItems_;
    std::unique_ptr<BouncingMotion> fly_;
    std::unique_ptr<ShowMusic> music_;
    std::unique_ptr<ShowSequencer> sequencer_;
    QTimer* hostWatch_ = nullptr;
    bool cursorHidden_ = false;
    bool tornDown_ = false;
    bool endReported_ = false;
    // Creating a Flash player makes the web engine attach a top-level window
    // of its own, which takes the activation away; the window then takes it
    // back. Neither is the user's doing.
    enum class FlashAttach {
        None,
        Attaching,           // the player is being created and attached
        ReclaimingActivation // the activation that comes next is the window's own
    };
    FlashAttach flashAttach_ = FlashAttach::None;
    bool firstFrameReported_ = false;
    // Last, so that it goes first: no input reaches a window being destroyed.
    std::unique_ptr<ShowInputFilter> inputFilter_;
};

} // namespace scr
