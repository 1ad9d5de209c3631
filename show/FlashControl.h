#pragma once
// The Flash control: one embedded Flash player (see FlashEngine.h) with the
// properties the show and the dialogs use, Movie, Loop, Playing, FrameNum,
// TotalFrames and Menu, and the mouse routing of the program: mouse moves and
// left-button releases over the movie raise the control's handlers, the
// player's own context menu never opens and the right button pops up the
// control's popup menu instead.
//
// The embedded player reports no frame number and always loops, so the
// control prepares movies with SwfRewriter (in memory; the player gets the
// prepared bytes): ActionScript 1/2 movies get frame notices before every
// frame, ActionScript 3 movies a frame probe (As3FrameProbe.h); the control
// follows their frame and end notices. Movies that could not be prepared
// report FrameNum = TotalFrames - 1 and Playing until paused, so the show
// keeps them for their display time and never waits for an end it could not
// see. A prepared movie whose timeline stops by itself (its own stop()) or
// never starts reads Playing false after a few silent frame times.
//
// Construction throws FlashPlayerUnavailable when the build or the machine
// has no Flash player; the Flash host then shows its notice. Each load of a
// movie writes a "movie-load" line to the stats log.

#include "show/ControlEvents.h"
#include "show/FlashEngine.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>

namespace scr {

class FlashPlayers;

class FlashPlayerUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FlashControl : public QWidget {
public:
    // The player comes from `players`, the Flash players of the window.
    FlashControl(QWidget* owner, FlashPlayers& players);
    ~FlashControl() override;

    // The movie's bytes, which the player takes from memory. A movie larger
    // than the largest SWF body is not kept: it plays as "not a movie".
    QByteArray Movie() const { return movie_; }
    void SetMovie(const QByteArray& movie);
    // Whether a movie was set (even one that cannot play).
    bool HasMovie() const { return hasMovie_; }
    // The folder whose files (and those of the folders below it) the movie
    // may load by relative URL; empty, the default: it loads nothing.
    // Applies from the next load of a movie.
    void SetMovieFolder(const QString& folder) { movieFolder_ = folder; }
    bool Loop() const { return loop_; }
    void SetLoop(bool loop);
    bool Playing() const;
    void SetPlaying(bool playing);
    int FrameNum() const;
    int TotalFrames() const { return loaded_ || pending_ ? totalFrames_ : 0; }
    bool Menu() const { return menu_; }
    void SetMenu(bool menu) { menu_ = menu; }
    void Play();

    // Why the movie could not be played (not a movie, or the player failed
    // even in a fresh page); empty while all is well.
    QString Failure() const { return failure_; }
    // Called once when the player gives up on the movie, so the show need not
    // wait out the item's time in front of an empty stage.
    void SetFailedHandler(std::function<void()> handler) { failedHandler_ = std::move(handler); }
    // Called once per load when the movie's first frame is on the player's
    // canvas (the stats log gets "movie-first-frame ms=" with the time since
    // the load began).
    void SetShownHandler(std::function<void()> handler) { shownHandler_ = std::move(handler); }
    bool MovieShown() const { return shown_; }

    // A movie was loaded into the player and the player has not given up on it.
    bool MovieOnShow() const { return loaded_ && failure_.isEmpty(); }
    // A movie was handed to the player, which has not read its header yet.
    bool MovieLoading() const { return loaded_ && engine_->Loading(); }
    // Asks the player for the picture the movie shows now; `done` gets it
    // later (a null image when no movie plays; see FlashEngine::CaptureFrame).
    void CaptureFrame(std::function<void(const QImage&)> done);

    ControlEvents& events() { return events_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void WatchInput(QWidget* widget);
    void LoadMovie();
    void HostNotice(const QString& message);
    bool Stalled() const;

    std::unique_ptr<FlashEngine> engine_;
    ControlEvents events_;
    QByteArray movie_;
    QString movieFolder_;
    bool hasMovie_ = false;
    bool loop_ = true;
    bool menu_ = true;
    bool playing_ = false; // playing as far as the program asked
    bool pending_ = false; // a movie is set but not loaded yet
    bool loaded_ = false;
    bool notices_ = false; // the loaded movie sends frame and end notices
    bool ended_ = false;   // the movie reached its end or failed
    bool noticeSeen_ = false;
    int frameNum_ = 0;
    int totalFrames_ = 0;
    double frameRate_ = 0;
    QElapsedTimer sinceNotice_; // since the last frame notice, or since playing began
    QString failure_;
    std::function<void()> failedHandler_;
    std::function<void()> shownHandler_;
    bool shown_ = false; // the current load's first frame is on the canvas
    QElapsedTimer sinceLoad_;
};

} // namespace scr
