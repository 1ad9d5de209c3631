#pragma once
// Decides which item is on screen, where it is placed, how it comes and goes
// and how long it stays. One Advance runs per item-timer tick, first
// activation and navigation key. Advances run the message loop from inside
// (transitions, explicit processing points), so an advance that arrives
// meanwhile returns at once, and an accepted close stops the advance at its
// next processing point.

#include "package/PackageRecords.h"
#include "show/ItemLayout.h"
#include "show/PlayList.h"

namespace scr {

class Bitmap24;
class ShowContent;
class ShowStage;

struct SequencerSettings {
    bool preview = false;
    Size showSize;        // the area laid out: the primary screen, or the preview box
    Size primaryScreen;   // the primary screen in pixels
    double showScale = 1; // design pixels to window pixels
};

class ShowSequencer {
public:
    // Builds the play list (every item that is not pinned, shuffled when the
    // package asks for random order).
    ShowSequencer(ShowContent& content, ShowStage& stage, const SequencerSettings& settings);

    void Advance(bool forward);

    const PlayList& playList() const { return playList_; }
    const ShowItem& currentItem() const { return currentItem_; }
    bool advancing() const { return advancing_; }
    bool firstShow() const { return firstShow_; }

    // A transition style for an effect number: 0..127 as it is, anything
    // else (-1 in particular) a random style.
    static int ResolveEffect(int effect);

private:
    void ShowCurrentItem();
    // Takes the previous picture off (exit transition or collage); false
    // when the show was closed meanwhile.
    bool LeavePreviousPicture(const Rect& r);
    void EnterPicture(Bitmap24&& picture, const Rect& r);
    void ReplacePictureAtOnce(const Rect& r);

    ShowContent& content_;
    ShowStage& stage_;
    SequencerSettings settings_;
    PlayList playList_;
    ShowItem currentItem_{};
    ShowItem previousItem_{};
    bool firstShow_ = true;
    bool advancing_ = false;
};

} // namespace scr
