#pragma once
// Brings a movie on stage without a blank stage before it. The movie loads
// off the window, where the web engine draws it all the same; the item
// before stays on screen meanwhile, and the movie takes its place once its
// first frame is on the player's canvas, or at the latest 1.5 s after it was
// asked for (or at once when its player gives up).
//
// The item before is a picture (the caller hides it at the hand-over) or a
// movie: that one's current frame is taken from its player and held in its
// place as a picture, and its host goes, so that its page serves the coming
// movie (one page, one renderer process, whatever the order of the items).

#include "transitions/Rect.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QLabel;

namespace scr {

class FlashHost;

class MovieHandover : public QObject {
    Q_OBJECT

public:
    // The longest the item before stays on screen for a coming movie.
    static constexpr int kLongestHoldMs = 1500;

    // Makes and starts the host of the coming movie at `bounds` (off the
    // window); nullptr when it cannot be made.
    using MakeHost = std::function<FlashHost*(const Rect& bounds)>;

    // Hosts and held pictures are children of `window`.
    explicit MovieHandover(QWidget* window);
    ~MovieHandover() override;

    // Brings the movie `make` makes to `place`, in place of `leaving` (the
    // host of the movie on show; nullptr when a picture or nothing is on
    // show). A hand-over still under way ends first.
    void Begin(FlashHost* leaving, const Rect& place, MakeHost make);
    // Ends a hand-over under way now: the coming movie takes its place as it
    // is (the next item comes, or its player gave up).
    void Finish();

    bool pending() const { return pending_; }
    const Rect& place() const { return place_; }

signals:
    // The coming movie stands in its place (nullptr when its host could not
    // be made) and what stood there before is gone.
    void handedOver(FlashHost* host);
    // A movie brought on has its first frame on its player's canvas (also
    // when that came after the hand-over).
    void movieShown(FlashHost* host);

private:
    // Holds the leaving movie's frame, lets its host go and makes the coming one.
    void MakeComing(const QImage& leavingFrame);
    void ReleaseLeaving();

    QWidget* window_;
    MakeHost make_;
    QPointer<FlashHost> leaving_;
    QPointer<FlashHost> coming_;
    QPointer<QLabel> held_;
    Rect place_;
    bool pending_ = false;
    bool made_ = false;
    int serial_ = 0; // counts the hand-overs, so that a late capture finds its own
    QTimer deadline_;
};

} // namespace scr
