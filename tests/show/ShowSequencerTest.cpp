// The show sequencer against a recording stand-in for the show window.
#include "show/ShowSequencer.h"

#include "platform/Bitmap24.h"
#include "platform/RandomSource.h"
#include "show/ShowContent.h"
#include "show/ShowStage.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace scr {
namespace {

std::string Str(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

class FakeContent : public ShowContent {
public:
    std::vector<ShowItem> items;
    std::map<int, Size> pictureSizes; // decodable pictures and their full size
    bool randomOrder = false;
    int defaultSeconds = 5;
    bool flashExtracts = true;

    int ItemCount() const override { return static_cast<int>(items.size()); }
    ShowItem GetItem(int index) const override {
        if (index < 0 || index >= ItemCount()) return ShowItem{};
        return items[static_cast<size_t>(index)];
    }
    int CountPinnedItems() const override {
        return static_cast<int>(
            std::count_if(items.begin(), items.end(), [](auto& i) { return i.pinned != 0; }));
    }
    int DefaultDisplaySeconds() const override { return defaultSeconds; }
    bool RandomOrder() const override { return randomOrder; }
    bool LoadPicture(Bitmap24& bitmap, int index, int scale) override {
        auto it = pictureSizes.find(index);
        if (it == pictureSizes.end()) return false;
        bitmap.setSize(it->second.width >> scale, it->second.height >> scale);
        return true;
    }
    std::optional<std::vector<uint8_t>> ReadMovie(int index) override {
        if (!flashExtracts) return std::nullopt;
        const std::string movie = "movie " + std::to_string(index);
        return std::vector<uint8_t>(movie.begin(), movie.end());
    }
};

class FakeStage : public ShowStage {
public:
    std::vector<std::string> log;
    ShowSequencer* sequencer = nullptr;
    // Transitions end inside StartTransition unless held; held ones end on FinishTransition.
    bool holdTransitions = false;
    int heldTransitions = 0;
    int advancesEnded = 0;
    int movingStarts = 0;
    bool fly = false;
    Rect bounds{-1, -1, 0, 0};
    bool visible = false;
    bool flash = false;
    MovieProgress movie;
    std::vector<int> timers;
    std::function<void()> duringTransition;

    void SetItemTimer(int ms) override { timers.push_back(ms); }
    void KillItemTimer() override {}
    Size WindowSize() override { return {1024, 768}; }
    void AdvanceEnded() override { ++advancesEnded; }
    Rect PictureBounds() override { return bounds; }
    void SetPictureBounds(const Rect& r) override {
        bounds = r;
        log.push_back("bounds " + Str(r));
    }
    bool PictureVisible() override { return visible; }
    void SetPictureVisible(bool v) override { visible = v; }
    void CapturePicture(const Rect&) override {}
    void SetPicture(Bitmap24&& picture, int w, int h) override {
        log.push_back("picture " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()) +
                      " -> " + std::to_string(w) + "x" + std::to_string(h));
    }
    void PictureFromBackground() override { log.push_back("from background"); }
    void PaintPictureOntoBackground() override { log.push_back("collage"); }
    void StartTransition(int style, int step, int delay) override {
        log.push_back("transition " + std::to_string(style) + " " + std::to_string(step) + " " +
                      std::to_string(delay));
        if (duringTransition) duringTransition();
        if (holdTransitions)
            ++heldTransitions;
        else
            sequencer->TransitionFinished();
    }
    void FinishTransition() {
        ASSERT_GT(heldTransitions, 0);
        --heldTransitions;
        sequencer->TransitionFinished();
    }
    void ShowPictureAtOnce() override { log.push_back("at once"); }
    void StopTransition() override { log.push_back("stop transition"); }
    // The hand-over is immediate here: the movie replaces the item before.
    void BringOnMovie(int, const Rect& r, std::optional<std::vector<uint8_t>> bytes) override {
        flash = bytes.has_value();
        visible = false;
        if (bytes) log.push_back("flash " + Str(r) + " " + std::string(bytes->begin(), bytes->end()));
    }
    void ReleaseCurrentFlash() override {
        if (flash) log.push_back("release flash");
        flash = false;
    }
    MovieProgress CurrentMovie() override {
        MovieProgress m = movie;
        m.exists = flash;
        return m;
    }
    bool CurrentFlashPosition(Point&) override { return false; }
    void ShowItemLabels(int index) override { log.push_back("labels " + std::to_string(index)); }
    void CreatePinnedItems() override { log.push_back("pinned"); }
    bool HasFly() override { return fly; }
    void StartMoving() override { ++movingStarts; }
    void StopMoving() override {}
    void SetFlyPosition(Point) override {}
    void SetFlySize(Size s) override {
        log.push_back("fly size " + std::to_string(s.width) + "x" + std::to_string(s.height));
    }
    void SetFlyTarget(bool) override {}

    bool Logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    bool LoggedPrefix(const std::string& prefix) const {
        return std::any_of(log.begin(), log.end(), [&](auto& e) { return e.rfind(prefix, 0) == 0; });
    }
};

ShowItem Picture(int seconds = 3) {
    ShowItem item;
    item.kind = ShowItem::Picture;
    item.displaySeconds = seconds;
    item.transitionEffect = 7;
    item.transitionStep = 4;
    item.transitionDelay = 10;
    item.exitEffect = -2;
    return item;
}

ShowItem Fixed(ShowItem item, int left, int top, int width, int height) {
    item.fixedPosition = 1;
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    return item;
}

ShowItem Movie(int seconds) {
    ShowItem item;
    item.kind = ShowItem::Flash;
    item.displaySeconds = seconds;
    item.width = 320;
    item.height = 240;
    return item;
}

class ShowSequencerTest : public ::testing::Test {
protected:
    ShowSequencer& Make(double scale = 1.0, bool preview = false, Point origin = {}) {
        SequencerSettings settings;
        settings.preview = preview;
        settings.origin = origin;
        settings.showSize = {1024, 768};
        settings.primaryScreen = {1024, 768};
        settings.showScale = scale;
        sequencer_.emplace(content_, stage_, settings, random_);
        stage_.sequencer = &*sequencer_;
        return *sequencer_;
    }
    FakeContent content_;
    FakeStage stage_;
    SeededRandom random_{1};
    std::optional<ShowSequencer> sequencer_;
};

TEST_F(ShowSequencerTest, EmptySequenceDoesNothing) {
    ShowItem pinned = Picture();
    pinned.pinned = 1;
    content_.items = {pinned};
    Make().Advance(true);
    EXPECT_TRUE(stage_.log.empty()); // not even the pinned items
    EXPECT_TRUE(stage_.timers.empty());
    content_.items.clear();
    Make().Advance(true);
    EXPECT_TRUE(stage_.timers.empty());
}

TEST_F(ShowSequencerTest, IntervalsHandedToTheItemTimer) {
    content_.items = {Picture(3), Picture(0), Movie(-7), Movie(2)};
    content_.defaultSeconds = 0;
    ShowSequencer& s = Make();
    stage_.movie = {true, 50, 10, true}; // the movies keep playing
    for (int i = 0; i < 4; ++i)
        s.Advance(true);
    EXPECT_EQ(stage_.timers, (std::vector<int>{3000, 1000, 7000, 2000}));
    // The last movie is waited for: a tick re-arms the test every second.
    s.Advance(true);
    s.Advance(true);
    EXPECT_EQ(stage_.timers.back(), 1000);
    EXPECT_EQ(s.playList().position(), 0);
    stage_.movie.frameNum = 49;
    s.Advance(true);
    EXPECT_EQ(stage_.timers.back(), 3000); // item 0 again
}

TEST_F(ShowSequencerTest, FirstShowCreatesPinnedItemsOnce) {
    ShowItem pinned = Picture();
    pinned.pinned = 1;
    content_.items = {Picture(), pinned, Picture()};
    ShowSequencer& s = Make();
    s.Advance(true);
    s.Advance(true);
    s.Advance(true);
    EXPECT_EQ(std::count(stage_.log.begin(), stage_.log.end(), "pinned"), 1);
    EXPECT_EQ(s.playList().entries(), (std::vector<int>{0, 2}));
}

TEST_F(ShowSequencerTest, SizesScaleWithTheShow) {
    content_.items = {Fixed(Picture(), 100, 40, 300, 200)};
    content_.pictureSizes[0] = {640, 480};
    Make(1.25).Advance(true);
    EXPECT_TRUE(stage_.Logged("bounds 125,50,375x250"));
    EXPECT_TRUE(stage_.Logged("picture 640x480 -> 375x250"));
    EXPECT_TRUE(stage_.Logged("transition 7 4 10"));
}

// A window over several monitors lays items out on the primary, which may
// start right of or below the window's origin.
TEST_F(ShowSequencerTest, ItemsAreLaidOutFromTheOrigin) {
    ShowItem random = Picture();
    random.fixedPosition = 0;
    random.width = 200;
    random.height = 100;
    content_.items = {Fixed(Picture(), 100, 40, 300, 200), random};
    ShowSequencer& s = Make(1.0, false, {1280, 56});
    s.Advance(true);
    EXPECT_TRUE(stage_.Logged("bounds 1380,96,300x200"));
    int randomPlaces = 0;
    for (int i = 0; i < 20; ++i) {
        s.Advance(true);
        if (stage_.bounds.width() != 200) continue;
        ++randomPlaces;
        EXPECT_GE(stage_.bounds.left, 1280);
        EXPECT_LE(stage_.bounds.right, 1280 + 1024);
        EXPECT_GE(stage_.bounds.top, 56);
        EXPECT_LE(stage_.bounds.bottom, 56 + 768);
    }
    EXPECT_GT(randomPlaces, 0);
}

TEST_F(ShowSequencerTest, NaturalSizeComesFromThePicture) {
    content_.items = {Fixed(Picture(), 0, 0, 0, 0)};
    content_.pictureSizes[0] = {640, 480};
    Make(1.25).Advance(true);
    EXPECT_TRUE(stage_.Logged("picture 640x480 -> 800x600"));
    // Preview decodes at one eighth and scales the natural size back up.
    stage_.log.clear();
    Make(0.25, true).Advance(true);
    EXPECT_TRUE(stage_.Logged("picture 80x60 -> 160x120"));
}

TEST_F(ShowSequencerTest, UndecodablePictureKeepsItsRectangle) {
    content_.items = {Fixed(Picture(), 10, 10, 0, 0)};
    Make().Advance(true);
    EXPECT_TRUE(stage_.Logged("bounds 10,10,512x384"));
    EXPECT_TRUE(stage_.Logged("picture 0x0 -> 512x384"));
    EXPECT_EQ(stage_.timers, std::vector<int>{3000});
}

TEST_F(ShowSequencerTest, MovingModeFitsIntoHalfTheWindow) {
    content_.items = {Fixed(Picture(), 0, 0, 1000, 400)};
    stage_.fly = true;
    Make().Advance(true);
    EXPECT_TRUE(stage_.Logged("fly size 512x204"));
    EXPECT_TRUE(stage_.Logged("picture 0x0 -> 512x204"));
}

TEST_F(ShowSequencerTest, MovingModeKeepsTheNaturalSizeOfAPicture) {
    // The natural size is known only once the picture is loaded; the place
    // was chosen before, and the size is not fitted again.
    content_.items = {Fixed(Picture(), 0, 0, 0, 0)};
    content_.pictureSizes[0] = {1000, 700};
    stage_.fly = true;
    Make().Advance(true);
    EXPECT_TRUE(stage_.Logged("fly size 1000x700"));
    EXPECT_TRUE(stage_.Logged("picture 1000x700 -> 1000x700"));
}

TEST_F(ShowSequencerTest, WithoutExitTransitionMovedPicturesStayAsCollage) {
    content_.items = {Fixed(Picture(), 0, 0, 100, 100), Fixed(Picture(), 200, 200, 100, 100)};
    ShowSequencer& s = Make();
    s.Advance(true);
    s.Advance(true);
    EXPECT_TRUE(stage_.Logged("collage"));
    EXPECT_FALSE(stage_.Logged("from background"));

    // Moving mode never paints a collage.
    stage_ = FakeStage{};
    stage_.fly = true;
    ShowSequencer& moving = Make();
    moving.Advance(true);
    moving.Advance(true);
    EXPECT_FALSE(stage_.Logged("collage"));
}

TEST_F(ShowSequencerTest, SamePlaceWithoutExitTransitionGoesStraightToTheNextPicture) {
    content_.items = {Fixed(Picture(), 0, 0, 100, 100), Fixed(Picture(), 0, 0, 100, 100)};
    ShowSequencer& s = Make();
    s.Advance(true);
    stage_.log.clear();
    s.Advance(true);
    EXPECT_EQ(stage_.log,
              (std::vector<std::string>{"labels 1", "picture 0x0 -> 100x100", "transition 7 4 10"}));
}

TEST_F(ShowSequencerTest, ExitTransitionRunsToTheBackgroundFirst) {
    ShowItem first = Fixed(Picture(), 0, 0, 100, 100);
    first.exitEffect = 12;
    first.exitStep = 5;
    first.exitDelay = 20;
    content_.items = {first, Fixed(Picture(), 300, 0, 100, 100)};
    ShowSequencer& s = Make();
    s.Advance(true);
    stage_.log.clear();
    s.Advance(true);
    ASSERT_GE(stage_.log.size(), 3u);
    EXPECT_EQ(stage_.log[0], "from background");
    EXPECT_EQ(stage_.log[1], "transition 12 5 20");
    EXPECT_TRUE(stage_.Logged("transition 7 4 10"));
}

TEST_F(ShowSequencerTest, CloseDuringExitTransitionStopsTheAdvance) {
    ShowItem first = Fixed(Picture(), 0, 0, 100, 100);
    first.exitEffect = 3;
    content_.items = {first, Fixed(Picture(), 300, 0, 100, 100)};
    ShowSequencer& s = Make();
    s.Advance(true);
    stage_.log.clear();
    stage_.timers.clear();
    stage_.duringTransition = [&] { s.Close(); };
    s.Advance(true);
    EXPECT_EQ(stage_.log,
              (std::vector<std::string>{"from background", "transition 3 0 0", "stop transition"}));
    EXPECT_TRUE(stage_.timers.empty());
}

TEST_F(ShowSequencerTest, AdvanceArrivingDuringATransitionReturnsAtOnce) {
    content_.items = {Picture(), Picture(), Picture()};
    ShowSequencer& s = Make();
    int nested = 0;
    stage_.duringTransition = [&] {
        ++nested;
        s.Advance(true);
    };
    s.Advance(true);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(s.playList().position(), 1);
    EXPECT_EQ(stage_.timers.size(), 1u);
}

// The states of the sequencer, input by input: A an advance, F the end of the
// transition that runs, C the close. Both items have an exit and an entry
// transition; the first show has no exit transition.
TEST_F(ShowSequencerTest, StatesFollowAdvancesTransitionEndsAndTheClose) {
    using State = ShowSequencer::State;
    const struct {
        const char* inputs;
        State state;
        size_t timers;
        int position;
    } cases[] = {
        {"", State::Idle, 0, 0},
        {"A", State::Entering, 0, 0},
        {"AF", State::Showing, 1, 1},
        {"AFA", State::Leaving, 1, 1},
        {"AFAA", State::Leaving, 1, 1}, // an advance meanwhile is ignored
        {"AFAF", State::Entering, 1, 1},
        {"AFAFA", State::Entering, 1, 1},
        {"AFAFF", State::Showing, 2, 0},
        {"AFAFFA", State::Leaving, 2, 0},
        {"AC", State::Closed, 0, 0},
        {"ACF", State::Closed, 0, 0}, // the stopped transition's end starts nothing
        {"AFAC", State::Closed, 1, 1},
        {"AFACFA", State::Closed, 1, 1}, // nothing after the close
        {"AFC", State::Closed, 1, 1},
        {"AFCA", State::Closed, 1, 1},
    };
    for (const auto& c : cases) {
        ShowItem item = Fixed(Picture(), 0, 0, 100, 100);
        item.exitEffect = 4;
        content_.items = {item, item};
        stage_ = FakeStage{};
        stage_.holdTransitions = true;
        ShowSequencer& s = Make();
        for (const char* input = c.inputs; *input; ++input) {
            if (*input == 'A') s.Advance(true);
            if (*input == 'F') stage_.FinishTransition();
            if (*input == 'C') s.Close();
        }
        EXPECT_EQ(s.state(), c.state) << c.inputs;
        EXPECT_EQ(stage_.timers.size(), c.timers) << c.inputs;
        EXPECT_EQ(s.playList().position(), c.position) << c.inputs;
        // The movement and what waits for the first item start once per item shown.
        EXPECT_EQ(stage_.movingStarts, static_cast<int>(c.timers)) << c.inputs;
        EXPECT_EQ(stage_.advancesEnded, static_cast<int>(c.timers)) << c.inputs;
    }
}

TEST_F(ShowSequencerTest, CloseStopsTheRunningTransitionOnce) {
    content_.items = {Picture(), Picture()};
    stage_.holdTransitions = true;
    ShowSequencer& s = Make();
    s.Advance(true);
    stage_.log.clear();
    s.Close();
    s.Close();
    EXPECT_EQ(stage_.log, std::vector<std::string>{"stop transition"});
}

TEST_F(ShowSequencerTest, AnAdvanceWithoutTransitionsEndsInsideItsCall) {
    ShowItem item = Fixed(Picture(), 0, 0, 100, 100);
    item.transitionEffect = -2;
    content_.items = {item, Movie(3)};
    stage_.holdTransitions = true;
    ShowSequencer& s = Make();
    s.Advance(true);
    EXPECT_EQ(s.state(), ShowSequencer::State::Showing);
    s.Advance(true);
    EXPECT_EQ(s.state(), ShowSequencer::State::Showing);
    EXPECT_EQ(stage_.timers, (std::vector<int>{3000, 3000}));
    EXPECT_EQ(stage_.heldTransitions, 0);
}

TEST_F(ShowSequencerTest, RandomEffectsForMinusOneAndOutOfRange) {
    SeededRandom random(3);
    for (int effect : {-1, 128, 200, 1000}) {
        for (int i = 0; i < 50; ++i) {
            const int style = ShowSequencer::ResolveEffect(effect, random);
            EXPECT_GE(style, 0);
            EXPECT_LE(style, 127);
        }
    }
    EXPECT_EQ(ShowSequencer::ResolveEffect(0, random), 0);
    EXPECT_EQ(ShowSequencer::ResolveEffect(127, random), 127);
}

TEST_F(ShowSequencerTest, NoTransitionBelowMinusOne) {
    ShowItem item = Fixed(Picture(), 0, 0, 10, 10);
    item.transitionEffect = -2;
    content_.items = {item};
    Make().Advance(true);
    EXPECT_FALSE(stage_.LoggedPrefix("transition"));
}

TEST_F(ShowSequencerTest, MovieThatCannotBeExtractedStillTakesItsTime) {
    content_.items = {Movie(4)};
    content_.flashExtracts = false;
    Make().Advance(true);
    EXPECT_FALSE(stage_.LoggedPrefix("flash"));
    EXPECT_FALSE(stage_.visible);
    EXPECT_EQ(stage_.timers, std::vector<int>{4000});
}

// A movie after a movie is handed the stage by the stage itself: the
// sequencer takes nothing off before it (the stage keeps the movie before on
// screen until the new one shows a frame).
TEST_F(ShowSequencerTest, AMovieAfterAMovieIsBroughtOnWithoutTakingTheFirstOffFirst) {
    content_.items = {Fixed(Movie(2), 0, 0, 320, 240), Fixed(Movie(2), 10, 10, 320, 240)};
    ShowSequencer& s = Make();
    s.Advance(true);
    s.Advance(true);
    EXPECT_TRUE(stage_.Logged("flash 10,10,320x240 movie 1"));
    EXPECT_FALSE(stage_.Logged("release flash"));
    EXPECT_TRUE(stage_.flash);
}

TEST_F(ShowSequencerTest, MovieThenPictureBringsTheTransitionControlBack) {
    content_.items = {Fixed(Movie(2), 0, 0, 320, 240), Fixed(Picture(), 0, 0, 100, 100)};
    ShowSequencer& s = Make();
    s.Advance(true);
    EXPECT_TRUE(stage_.Logged("flash 0,0,320x240 movie 0"));
    EXPECT_FALSE(stage_.visible);
    s.Advance(true);
    EXPECT_FALSE(stage_.flash);
    EXPECT_TRUE(stage_.visible);
}

} // namespace
} // namespace scr
