#pragma once
// Decides which item is on screen, where it is placed, how it comes and goes
// and how long it stays, as a state machine driven by three inputs: Advance
// (item timer, first activation, navigation keys), TransitionFinished (the
// transition the stage ran is over) and Close (the show is ending).
//
//   Idle ──Advance──> Leaving ──finished──> Entering ──finished──> Showing
//     the previous    (exit transition)     (entry transition)     (item timer
//     picture is                                                     runs)
//
// A state without its transition is passed straight through, so an advance
// without transitions ends inside its Advance call; Showing returns to
// Leaving on the next Advance. Advance is ignored while Leaving or Entering
// (the item timer is off then; a key pressed meanwhile does nothing), and
// every input is ignored once Closed. Nothing here runs the event loop: a
// transition's end arrives as TransitionFinished, possibly before the call
// that started it has returned.

#include "package/PackageRecords.h"
#include "platform/Bitmap24.h"
#include "show/ItemLayout.h"
#include "show/PlayList.h"

namespace scr {

class ShowContent;
class ShowStage;

struct SequencerSettings {
    bool preview = false;
    Size showSize;        // the area laid out: the primary screen, or the preview box
    Size primaryScreen;   // the primary screen in pixels
    Point origin;         // where the area laid out starts on the window (the primary's place on the desktop)
    double showScale = 1; // design pixels to window pixels
};

class ShowSequencer {
public:
    enum class State { Idle, Leaving, Entering, Showing, Closed };

    // Builds the play list (every item that is not pinned, shuffled when the
    // package asks for random order). Random choices (the order, random
    // styles, random places) draw from `random`, which outlives the sequencer.
    ShowSequencer(ShowContent& content, ShowStage& stage, const SequencerSettings& settings,
                  RandomSource& random);

    void Advance(bool forward);
    void TransitionFinished();
    // The show is ending: the running transition stops, no further step,
    // transition or item timer follows.
    void Close();

    State state() const { return state_; }
    const PlayList& playList() const { return playList_; }
    const ShowItem& currentItem() const { return currentItem_; }
    // An advance is under way (its transitions run).
    bool advancing() const { return state_ == State::Leaving || state_ == State::Entering; }
    bool firstShow() const { return firstShow_; }
    // How many advances have begun to bring an item on.
    int advancesBegun() const { return advancesBegun_; }

    // A transition style for an effect number: 0..127 as it is, anything
    // else (-1 in particular) a random style drawn from `random`.
    static int ResolveEffect(int effect, RandomSource& random);

private:
    // The steps of showing the item at the play position, in order.
    void LayOutCurrentItem();
    void LeavePreviousItem();
    void EnterCurrentItem();
    void EnterPicture();
    void FinishAdvance();
    // Ends an advance that showed no new item.
    void WaitAgain(int intervalMs);
    void ReplacePictureAtOnce(const Rect& r);

    ShowContent& content_;
    ShowStage& stage_;
    SequencerSettings settings_;
    RandomSource& random_;
    PlayList playList_;
    State state_ = State::Idle;
    ShowItem currentItem_{};
    ShowItem previousItem_{};
    bool firstShow_ = true;
    int advancesBegun_ = 0;
    // The advance under way: its direction and the item it brings on.
    bool forward_ = true;
    int index_ = -1;
    Size size_;
    Rect bounds_;
    Bitmap24 picture_;
};

} // namespace scr
