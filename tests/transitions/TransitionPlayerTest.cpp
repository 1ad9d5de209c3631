#include "transitions/TransitionPlayer.h"

#include "platform/VirtualClock.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace scr {
namespace {

using State = TransitionPlayer::State;
using Ending = TransitionPlayer::Ending;

Bitmap24 Uniform(int w, int h, uint32_t colour) {
    Bitmap24 b(w, h);
    b.fill(colour);
    return b;
}

constexpr uint32_t kOld = 0x0000FF; // red, the scene's colour
constexpr uint32_t kNew = 0x00FF00; // green, the new picture
constexpr int kWipeLeft = 5;        // columns up to width * p / 100 show the new picture
constexpr int kWipeRight = 6;

std::string Name(State s) {
    return s == State::Running ? "Running" : s == State::Paused ? "Paused" : "NotRunning";
}
std::string Name(Ending e) {
    return e == Ending::Completed ? "Completed" : e == Ending::Stopped ? "Stopped" : "NothingToPlay";
}

// A player on a virtual clock, its scene 40 x 30 in the old colour, its
// picture 40 x 30 in the new one, and a record of its signals.
class Player : public ::testing::Test {
protected:
    Player() {
        player.Scene().clientArea = [] { return Rect{0, 0, 40, 30}; };
        player.Scene().color = kOld;
        player.Picture().assign(Uniform(40, 30, kNew));
        QObject::connect(&player, &TransitionPlayer::stateChanged,
                         [this](State s) { emitted.push_back("state " + Name(s)); });
        QObject::connect(&player, &TransitionPlayer::progressChanged, [this](int p) {
            emitted.push_back("progress " + std::to_string(p));
            progress.push_back(p);
            times.push_back(clock.NowMs());
        });
        QObject::connect(&player, &TransitionPlayer::finished,
                         [this](Ending e) { emitted.push_back("finished " + Name(e)); });
        QObject::connect(&player, &TransitionPlayer::frameCleared,
                         [this] { emitted.push_back("frameCleared"); });
    }

    // Lets the clock run until no step is due any more.
    void RunClock() {
        for (int guard = 0; guard < 10000 && clock.NextDueMs() >= 0; ++guard)
            clock.AdvanceTo(clock.NextDueMs());
    }
    int Count(const std::string& signal) const {
        return int(std::count(emitted.begin(), emitted.end(), signal));
    }
    void Forget() {
        emitted.clear();
        progress.clear();
        times.clear();
    }

    VirtualClock clock;
    SeededRandom random{7};
    TransitionPlayer player{clock, random, PixelOptions{}};
    std::vector<std::string> emitted;
    std::vector<int> progress;
    std::vector<int64_t> times;
};

// The state machine: from each state, each call, the state it leads to and
// the signals on the way.
TEST_F(Player, StateTable) {
    using Call = std::function<void(TransitionPlayer&)>;
    const TransitionSpec wipe{.style = kWipeLeft, .step = 25, .delay = 10};
    const Call none = [](TransitionPlayer&) {};
    const Call running = [&](TransitionPlayer& p) { p.Play(wipe); };
    const Call paused = [&](TransitionPlayer& p) { p.Play(wipe, State::Paused); };
    const Call cutDone = [](TransitionPlayer& p) { p.Cut(); };
    const struct Row {
        const char* name;
        Call arrange;
        Call act;
        State after;
        std::vector<std::string> emitted;
    } rows[] = {
        {"play", none, running, State::Running, {"state Running", "progress 25"}},
        {"play paused", none, paused, State::Paused, {"state Paused"}},
        {"play without picture",
         [](TransitionPlayer& p) { p.Picture().clear(); },
         running,
         State::NotRunning,
         {"finished NothingToPlay"}},
        {"play one step",
         none,
         [](TransitionPlayer& p) { p.Play({.style = kWipeLeft, .step = 100}); },
         State::NotRunning,
         {"state Running", "progress 100", "state NotRunning", "finished Completed"}},
        {"play while running", running, running, State::Running, {}},
        {"play while paused", paused, running, State::Paused, {}},
        {"pause", running, [](TransitionPlayer& p) { p.SetPaused(true); }, State::Paused, {"state Paused"}},
        {"pause again", paused, [](TransitionPlayer& p) { p.SetPaused(true); }, State::Paused, {}},
        {"pause idle", none, [](TransitionPlayer& p) { p.SetPaused(true); }, State::NotRunning, {}},
        {"resume",
         paused,
         [](TransitionPlayer& p) { p.SetPaused(false); },
         State::Running,
         {"state Running", "progress 25"}},
        {"resume running", running, [](TransitionPlayer& p) { p.SetPaused(false); }, State::Running, {}},
        {"stop running",
         running,
         [](TransitionPlayer& p) { p.Stop(); },
         State::NotRunning,
         {"state NotRunning", "finished Stopped"}},
        {"stop paused",
         paused,
         [](TransitionPlayer& p) { p.Stop(); },
         State::NotRunning,
         {"state NotRunning", "finished Stopped"}},
        {"stop idle", none, [](TransitionPlayer& p) { p.Stop(); }, State::NotRunning, {}},
        {"cut", none, cutDone, State::NotRunning, {"progress 100"}},
        {"cut while running", running, cutDone, State::Running, {}},
        {"cut while paused", paused, cutDone, State::Paused, {}},
        {"cut without picture",
         [](TransitionPlayer& p) { p.Picture().clear(); },
         cutDone,
         State::NotRunning,
         {}},
        {"clear", cutDone, [](TransitionPlayer& p) { p.Clear(); }, State::NotRunning, {"frameCleared"}},
        {"clear empty", none, [](TransitionPlayer& p) { p.Clear(); }, State::NotRunning, {}},
        {"clear while paused", paused, [](TransitionPlayer& p) { p.Clear(); }, State::Paused, {}},
        {"progress paused",
         paused,
         [](TransitionPlayer& p) { p.SetProgress(60); },
         State::Paused,
         {"progress 60"}},
        {"progress idle", none, [](TransitionPlayer& p) { p.SetProgress(60); }, State::NotRunning, {}},
    };
    for (const Row& row : rows) {
        VirtualClock rowClock;
        TransitionPlayer p(rowClock, random, PixelOptions{});
        p.Scene().clientArea = [] { return Rect{0, 0, 40, 30}; };
        p.Picture().assign(Uniform(40, 30, kNew));
        std::vector<std::string> seen;
        row.arrange(p);
        QObject::connect(&p, &TransitionPlayer::stateChanged,
                         [&](State s) { seen.push_back("state " + Name(s)); });
        QObject::connect(&p, &TransitionPlayer::progressChanged,
                         [&](int v) { seen.push_back("progress " + std::to_string(v)); });
        QObject::connect(&p, &TransitionPlayer::finished,
                         [&](Ending e) { seen.push_back("finished " + Name(e)); });
        QObject::connect(&p, &TransitionPlayer::frameCleared, [&] { seen.push_back("frameCleared"); });
        row.act(p);
        EXPECT_EQ(p.state(), row.after) << row.name;
        EXPECT_EQ(seen, row.emitted) << row.name;
    }
}

TEST_F(Player, StepIsKeptInRange) {
    player.Play({.style = kWipeLeft, .step = 0}, State::Paused);
    EXPECT_EQ(player.Spec().step, 1);
    player.Stop();
    player.Play({.style = kWipeLeft, .step = 250}, State::Paused);
    EXPECT_EQ(player.Spec().step, 100);
    EXPECT_EQ(TransitionSpec{}.step, 4);
    EXPECT_EQ(TransitionSpec{}.delay, 40);
    EXPECT_EQ(TransitionSpec{}.style, 51);
}

// Step 3 forward runs 3, 6, ..., 99, 100; reversed 97, ..., 1, 0. A step
// starts every Delay milliseconds, the first at once.
TEST_F(Player, StepAndDelayPaceTheProgress) {
    player.Play({.style = kWipeLeft, .step = 3, .delay = 40});
    RunClock();
    std::vector<int> expected;
    for (int p = 3; p <= 99; p += 3)
        expected.push_back(p);
    expected.push_back(100);
    EXPECT_EQ(progress, expected);
    ASSERT_EQ(times.size(), expected.size());
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(times[i], int64_t(i) * 40) << i;
    EXPECT_EQ(Count("finished Completed"), 1);
    EXPECT_EQ(player.state(), State::NotRunning);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kNew));

    Forget();
    const int64_t start = clock.NowMs();
    player.Play({.style = kWipeLeft, .step = 3, .delay = 0, .reverse = true});
    RunClock();
    expected.clear();
    for (int p = 97; p >= 1; p -= 3)
        expected.push_back(p);
    expected.push_back(0);
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(Count("finished Completed"), 1);
    // Delay 0 still lets time move on between steps.
    EXPECT_GT(clock.NowMs(), start);
}

TEST_F(Player, PlayInsideAStepIsIgnored) {
    int nested = 0;
    QObject::connect(&player, &TransitionPlayer::progressChanged, [&](int p) {
        if (p != 50) return;
        player.Play({.style = 1, .step = 1});
        ++nested;
    });
    player.Play({.style = kWipeLeft, .step = 25});
    RunClock();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(Count("finished Completed"), 1);
}

TEST_F(Player, StopKeepsTheFrameReached) {
    QObject::connect(&player, &TransitionPlayer::progressChanged, [&](int p) {
        if (p == 50) player.Stop();
    });
    player.Play({.style = kWipeLeft, .step = 10, .delay = 30});
    RunClock();
    EXPECT_EQ(player.state(), State::NotRunning);
    EXPECT_EQ(Count("finished Stopped"), 1);
    EXPECT_EQ(Count("finished Completed"), 0);
    EXPECT_EQ(player.Progress(), 50);
    EXPECT_EQ(player.Frame().pixel(19, 10), kNew);
    EXPECT_EQ(player.Frame().pixel(20, 10), kOld);
    clock.AdvanceTo(clock.NowMs() + 1000);
    EXPECT_EQ(progress.back(), 50) << "no frames after Stop";
    player.Stop();
    EXPECT_EQ(Count("finished Stopped"), 1);
}

TEST_F(Player, PausedMovesOnlyWhenTold) {
    player.Play({.style = kWipeLeft}, State::Paused);
    EXPECT_EQ(player.Progress(), 0);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kOld));
    clock.AdvanceTo(1000);
    EXPECT_TRUE(progress.empty());
    player.SetProgress(150);
    EXPECT_EQ(player.Progress(), 100);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kNew));
    player.SetProgress(100); // the same value again: nothing
    EXPECT_EQ(progress, std::vector<int>{100});
    EXPECT_EQ(player.state(), State::Paused) << "reaching the end while paused ends nothing";
    // Going back uncovers the old picture again.
    player.SetProgress(25);
    EXPECT_EQ(player.Frame().pixel(9, 0), kNew);
    EXPECT_EQ(player.Frame().pixel(10, 0), kOld);
    player.Stop();
    EXPECT_EQ(Count("finished Stopped"), 1);
    EXPECT_EQ(Count("finished Completed"), 0);
    player.SetProgress(10); // idle: no effect
    EXPECT_EQ(player.Progress(), 25);
}

TEST_F(Player, ResumingGoesOnFromTheProgressReached) {
    player.Play({.style = kWipeLeft, .step = 20, .delay = 5}, State::Paused);
    player.SetProgress(40);
    player.SetPaused(false);
    RunClock();
    EXPECT_EQ(progress, (std::vector<int>{40, 60, 80, 100}));
    EXPECT_EQ(Count("finished Completed"), 1);
}

// Paused and resumed inside a step: the steps go on from where they were,
// each value comes once, and the end is reported once.
TEST_F(Player, PauseAndResumeInsideAStepCompletesOnce) {
    bool switched = false;
    QObject::connect(&player, &TransitionPlayer::progressChanged, [&](int p) {
        if (p != 30 || switched) return;
        switched = true;
        player.SetPaused(true);
        player.SetPaused(false);
    });
    player.Play({.style = kWipeLeft, .step = 10, .delay = 5});
    RunClock();
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(Count("finished Completed"), 1);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kNew));
}

// The transition shows the picture as it was at Play: the player keeps that
// picture (shared, not copied) while Picture changes, and a hook that draws
// on the picture it is given changes neither Picture nor the next run.
TEST_F(Player, TheTransitionKeepsThePictureItStartedWith) {
    player.Play({.style = 0}, State::Paused);
    player.Picture().edit([](Bitmap24& b) { b.fill(0xFF0000); });
    player.SetProgress(100);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kNew));
    EXPECT_EQ(player.Picture().bitmap(), Uniform(40, 30, 0xFF0000));
    player.Stop();

    auto hook = QObject::connect(&player, &TransitionPlayer::beforeNewFrame,
                                 [](Bitmap24& picture, Bitmap24&) { picture.fill(0x808080); });
    player.Play({.style = kWipeLeft}, State::Paused);
    player.SetProgress(100);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, 0x808080));
    EXPECT_EQ(player.Picture().bitmap(), Uniform(40, 30, 0xFF0000));
    player.Stop();

    // A hook connected while a transition runs also draws on its own copy.
    QObject::disconnect(hook);
    player.Play({.style = kWipeLeft}, State::Paused);
    QObject::connect(&player, &TransitionPlayer::beforeNewFrame,
                     [](Bitmap24& picture, Bitmap24&) { picture.fill(0x404040); });
    player.SetProgress(100);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, 0x404040));
    EXPECT_EQ(player.Picture().bitmap(), Uniform(40, 30, 0xFF0000));
}

TEST_F(Player, CutShowsThePictureAtOnceAndKeepsNoCopy) {
    player.Picture().assign(Uniform(20, 10, kNew));
    player.Cut();
    EXPECT_EQ(player.Frame(), Uniform(20, 10, kNew));
    EXPECT_EQ(player.Progress(), 100);
    EXPECT_EQ(emitted, std::vector<std::string>{"progress 100"});
    // Later changes of Picture do not reach the frame.
    player.Picture().edit([](Bitmap24& b) { b.fill(0); });
    EXPECT_EQ(player.Frame(), Uniform(20, 10, kNew));
}

TEST_F(Player, ClearOnlyWhileIdle) {
    player.Play({.style = kWipeLeft}, State::Paused);
    player.Clear();
    EXPECT_FALSE(player.Frame().isEmpty());
    player.SetPaused(false);
    RunClock();
    player.Clear();
    EXPECT_TRUE(player.Frame().isEmpty());
    EXPECT_EQ(Count("frameCleared"), 1);
}

TEST_F(Player, StylesAboveTheTableLeaveTheOldPictureAndSkipTheAfterHook) {
    int afterFrames = 0;
    QObject::connect(&player, &TransitionPlayer::afterNewFrame, [&](Bitmap24&, Bitmap24&) { ++afterFrames; });
    player.Play({.style = 200, .step = 50});
    RunClock();
    EXPECT_EQ(afterFrames, 0);
    EXPECT_EQ(Count("finished Completed"), 1);
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kOld));
}

TEST_F(Player, StyleZeroIsAnInstantCutOrDrawnByItsHook) {
    player.Play({.style = 0, .step = 10});
    EXPECT_EQ(player.Frame(), Uniform(40, 30, kNew));
    EXPECT_EQ(progress, std::vector<int>{100}) << "without a hook the first step ends it";
    EXPECT_EQ(Count("finished Completed"), 1);

    // With a hook and Step 10: ten frames, the hook draws all but the last.
    Forget();
    player.Picture().assign(Uniform(40, 30, 0xFF0000));
    int handled = 0;
    QObject::connect(&player, &TransitionPlayer::customDraw, [&](Bitmap24&, Bitmap24& frame) {
        ++handled;
        frame.fill(0x808080);
    });
    player.Play({.style = 0, .step = 10});
    RunClock();
    EXPECT_EQ(progress.size(), 10u);
    EXPECT_EQ(handled, 10); // called at p = 100 too, where the new picture is then drawn over
    EXPECT_EQ(player.Frame(), Uniform(40, 30, 0xFF0000));
}

// Every style, the table's and one beyond it, runs to its end: the frame is
// then the new picture (the old one beyond the table), and the steps report
// what they changed, for a view to repaint.
TEST_F(Player, EveryStyleRunsToItsEnd) {
    size_t areasReported = 0;
    QObject::connect(&player, &TransitionPlayer::areasChanged,
                     [&](const std::vector<Rect>& areas) { areasReported += areas.size(); });
    for (int style = 0; style <= 128; ++style) {
        player.Picture().assign(Uniform(40, 30, style % 2 ? kNew : 0xFF0000));
        const Bitmap24 before = player.Frame();
        Forget();
        areasReported = 0;
        player.Play({.style = style, .step = 20, .delay = 5});
        RunClock();
        ASSERT_EQ(Count("finished Completed"), 1) << style;
        EXPECT_EQ(player.Frame(), style <= 127 ? player.Picture().bitmap() : before) << style;
        EXPECT_GT(areasReported, 0u) << style;
    }
}

// The old picture is what the scene showed: colour, or the last frame.
TEST_F(Player, TheOldPictureIsWhatTheSceneShowed) {
    player.Play({.style = kWipeLeft}, State::Paused);
    player.SetProgress(50);
    EXPECT_EQ(player.Frame().pixel(19, 0), kNew);
    EXPECT_EQ(player.Frame().pixel(20, 0), kOld);
    player.Stop();

    // The next transition starts from the frame shown.
    player.Picture().assign(Uniform(40, 30, 0xFF0000));
    player.Play({.style = kWipeRight}, State::Paused);
    player.SetProgress(25);
    EXPECT_EQ(player.Frame().pixel(0, 0), kNew);
    EXPECT_EQ(player.Frame().pixel(29, 0), kOld);
    EXPECT_EQ(player.Frame().pixel(30, 0), 0xFF0000u);
}

TEST_F(Player, DestroyingDuringATransitionIsQuiet) {
    int finished = 0;
    {
        TransitionPlayer doomed(clock, random, PixelOptions{});
        doomed.Picture().assign(Uniform(30, 20, kNew));
        QObject::connect(&doomed, &TransitionPlayer::finished, [&] { ++finished; });
        doomed.Play({.style = kWipeLeft, .delay = 20});
        clock.AdvanceTo(clock.NowMs() + 50);
        EXPECT_EQ(doomed.state(), State::Running);
    }
    clock.AdvanceTo(clock.NowMs() + 1000);
    EXPECT_EQ(finished, 0);
}

TEST(TransitionScene, CentredFrameLargerThanTheClientGetsNegativeOffsets) {
    TransitionScene scene;
    scene.clientArea = [] { return Rect{0, 0, 100, 80}; };
    scene.center = true;
    const Bitmap24 frame(140, 100);
    EXPECT_EQ(scene.PictureRect(frame), (Rect{-20, -10, 120, 90}));
    // Changed areas are moved by the frame's place and cut to it.
    EXPECT_EQ(scene.FrameAreaToClient(frame, {0, 0, 10, 10}), (Rect{-20, -10, -10, 0}));
    EXPECT_EQ(scene.FrameAreaToClient(frame, {130, 0, 150, 10}), (Rect{110, -10, 120, 0}));

    scene.stretch = true;
    scene.stretchFine = true;
    // 140 x 100 fitted into 100 x 80: 100 x 71 at (0, 4).
    EXPECT_EQ(scene.DisplayRect(frame), (Rect{0, 4, 100, 75}));
    EXPECT_EQ(scene.FrameAreaToClient(frame, {0, 0, 140, 100}), (Rect{0, 4, 100, 75}));
    EXPECT_EQ(scene.FrameAreaToClient(frame, {70, 50, 140, 100}), (Rect{50, 40, 100, 75}));
    scene.stretchFine = false;
    EXPECT_EQ(scene.DisplayRect(frame), (Rect{0, 0, 100, 80}));
}

} // namespace
} // namespace scr
