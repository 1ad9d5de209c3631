#include "transitions/control/XPicTrans.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace scr {
namespace {

Bitmap24 Uniform(int w, int h, uint32_t colour) {
    Bitmap24 b(w, h);
    b.fill(colour);
    return b;
}

constexpr uint32_t kOld = 0x0000FF; // red, the control's colour
constexpr uint32_t kNew = 0x00FF00; // green, the new picture

// A transition control on a parent window, with a record of its events.
class TransitionControl : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        parent.resize(200, 200);
        control = new XPicTrans(&parent);
        control->SetColor(kOld);
        control->SetThreaded(GetParam());
        control->SetDelay(0);
        control->OnProgress = [this](QObject*) { progress.push_back(control->Progress()); };
        control->OnComplete = [this](QObject*) { ++completed; };
        control->Picture().assign(Uniform(40, 30, kNew));
    }

    // Runs Execute and waits for the transition to end.
    void RunToEnd() {
        control->Execute();
        WaitForTheEnd();
    }
    void WaitForTheEnd() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !control->Running(); }, 10000));
    }

    QWidget parent;
    XPicTrans* control = nullptr;
    std::vector<int> progress;
    int completed = 0;
};

TEST(TransitionControlSettings, StepIsClampedAndDefaultsHold) {
    XPicTrans control;
    EXPECT_EQ(control.Step(), 4);
    EXPECT_EQ(control.Delay(), 40);
    EXPECT_EQ(control.Style(), 51);
    EXPECT_TRUE(control.Threaded());
    EXPECT_TRUE(control.AutoSize());
    EXPECT_EQ(control.BgMode(), TBackgroundMode::bmTiled);
    EXPECT_EQ(control.width(), 100);
    control.SetStep(0);
    EXPECT_EQ(control.Step(), 1);
    control.SetStep(250);
    EXPECT_EQ(control.Step(), 100);
    EXPECT_EQ(control.property("Step").toInt(), 100);
    control.setProperty("Style", 7);
    EXPECT_EQ(control.Style(), 7);
}

TEST_P(TransitionControl, ForwardAndReverseSequencesEndWithOnComplete) {
    control->SetStep(3);
    RunToEnd();
    std::vector<int> expected;
    for (int p = 3; p <= 99; p += 3)
        expected.push_back(p);
    expected.push_back(100);
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(completed, 1);
    EXPECT_FALSE(control->Running());
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));

    progress.clear();
    control->SetReverse(true);
    RunToEnd();
    expected.clear();
    for (int p = 97; p >= 1; p -= 3)
        expected.push_back(p);
    expected.push_back(0);
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(completed, 2);
}

TEST_P(TransitionControl, ExecuteWhileRunningIsIgnored) {
    control->SetStep(25);
    int nested = 0;
    control->OnProgress = [&](QObject*) {
        progress.push_back(control->Progress());
        if (control->Progress() == 50) {
            control->Execute();
            ++nested;
        }
    };
    RunToEnd();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(completed, 1);
}

TEST_P(TransitionControl, StopKeepsTheFrameReachedWithoutOnComplete) {
    control->SetStep(10);
    control->SetStyle(5); // wipe from the left
    control->OnProgress = [&](QObject*) {
        progress.push_back(control->Progress());
        if (control->Progress() == 50 && !control->Threaded()) control->Stop();
    };
    if (control->Threaded()) {
        control->SetDelay(30);
        control->Execute();
        ASSERT_TRUE(QTest::qWaitFor([&] { return control->Progress() >= 30; }, 10000));
        control->Stop();
    } else {
        RunToEnd();
    }
    EXPECT_FALSE(control->Running());
    EXPECT_EQ(completed, 0);
    const int reached = control->Progress();
    EXPECT_LT(reached, 100);
    // Wipe from the left: columns up to 40 * p / 100 are new, the rest old.
    const int front = 40 * reached / 100;
    EXPECT_EQ(control->Frame().pixel(front - 1, 10), kNew);
    EXPECT_EQ(control->Frame().pixel(front, 10), kOld);
    QTest::qWait(100);
    EXPECT_EQ(control->Progress(), reached) << "no frames after Stop";
    EXPECT_EQ(completed, 0);
}

TEST_P(TransitionControl, ManualModeMovesOnlyWhenTold) {
    control->SetManual(true);
    control->Execute();
    EXPECT_TRUE(control->Running());
    EXPECT_EQ(control->Progress(), 0);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kOld));
    control->SetProgress(150);
    EXPECT_EQ(control->Progress(), 100);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));
    EXPECT_EQ(progress, std::vector<int>{100});
    control->SetProgress(100); // the same value again: nothing
    EXPECT_EQ(progress, std::vector<int>{100});
    EXPECT_TRUE(control->Running());
    EXPECT_EQ(completed, 0);
    control->Stop();
    EXPECT_FALSE(control->Running());
    EXPECT_EQ(completed, 0);
    control->SetProgress(10); // idle: no effect
    EXPECT_EQ(control->Progress(), 100);
}

// The transition shows the picture as it was at Execute: the control keeps
// that picture (shared, not copied) while Picture changes, and a handler that
// draws on the picture it is given changes neither Picture nor the next run.
TEST_P(TransitionControl, TheTransitionKeepsThePictureItStartedWith) {
    control->SetManual(true);
    control->SetStyle(0);
    control->Execute();
    control->Picture().edit([](Bitmap24& b) { b.fill(0xFF0000); });
    control->SetProgress(100);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));
    EXPECT_EQ(control->Picture().bitmap(), Uniform(40, 30, 0xFF0000));
    control->Stop();

    control->SetStyle(5);
    control->OnBeforeNewFrame = [](QObject*, Bitmap24& picture, Bitmap24&) { picture.fill(0x808080); };
    control->Execute();
    control->SetProgress(100);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, 0x808080));
    EXPECT_EQ(control->Picture().bitmap(), Uniform(40, 30, 0xFF0000));
    control->Stop();

    // A handler set while a transition runs also draws on its own copy.
    control->OnBeforeNewFrame = nullptr;
    control->Execute();
    control->OnBeforeNewFrame = [](QObject*, Bitmap24& picture, Bitmap24&) { picture.fill(0x404040); };
    control->SetProgress(100);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, 0x404040));
    EXPECT_EQ(control->Picture().bitmap(), Uniform(40, 30, 0xFF0000));
}

TEST_P(TransitionControl, SwitchingManualOffContinuesAutomatically) {
    control->SetManual(true);
    control->SetStep(20);
    control->Execute();
    control->SetProgress(40);
    control->SetManual(false);
    WaitForTheEnd();
    EXPECT_EQ(progress, (std::vector<int>{40, 60, 80, 100}));
    EXPECT_EQ(completed, 1);
}

// Execute runs the first step itself only without Threaded; either way the
// runner reports each step it drove and, once, the end.
TEST_P(TransitionControl, ExecuteRunsTheFirstStepItselfOnlyWithoutThreaded) {
    control->SetStep(25);
    QSignalSpy steps(&control->Runner(), &TransitionRunner::progress);
    QSignalSpy finished(&control->Runner(), &TransitionRunner::finished);
    control->Execute();
    EXPECT_EQ(progress, GetParam() ? std::vector<int>{} : std::vector<int>{25});
    WaitForTheEnd();
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100}));
    ASSERT_EQ(steps.count(), 4);
    EXPECT_EQ(steps.takeLast().at(0).toInt(), 100);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(completed, 1);
}

// A transition of one step (the show's instant change) is over when Execute
// returns without Threaded.
TEST_P(TransitionControl, OneStepTransitionEndsInsideExecuteOnlyWithoutThreaded) {
    control->SetStyle(0);
    control->SetStep(100);
    QSignalSpy finished(&control->Runner(), &TransitionRunner::finished);
    control->Execute();
    EXPECT_EQ(control->Running(), GetParam());
    EXPECT_EQ(finished.count(), GetParam() ? 0 : 1);
    WaitForTheEnd();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));
}

// A stopped transition is over too: finished without OnComplete.
TEST_P(TransitionControl, StopReportsTheEndWithoutOnComplete) {
    control->SetManual(true);
    control->Execute();
    QSignalSpy finished(&control->Runner(), &TransitionRunner::finished);
    control->Stop();
    control->Stop();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(completed, 0);
}

// Manual switched on and off again inside a step: the automatic steps go on
// from where they were, each value comes once, and the end is reported once.
TEST_P(TransitionControl, ManualOnAndOffInsideAStepCompletesOnce) {
    control->SetStep(10);
    control->SetDelay(5);
    bool switched = false;
    control->OnProgress = [&](QObject*) {
        progress.push_back(control->Progress());
        if (control->Progress() != 30 || switched) return;
        switched = true;
        control->SetManual(true);
        // Time for whatever paced the steps before to notice Manual.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        control->SetManual(false);
    };
    RunToEnd();
    QTest::qWait(100); // a late end notice of the earlier pacing would arrive here
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(completed, 1);
    EXPECT_FALSE(control->Running());
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));
}

TEST_P(TransitionControl, ClearOnlyWhileIdle) {
    control->SetManual(true);
    control->Execute();
    control->Clear();
    EXPECT_FALSE(control->Frame().isEmpty());
    control->SetManual(false);
    WaitForTheEnd();
    control->Clear();
    EXPECT_TRUE(control->Frame().isEmpty());
    // Only the colour is painted now.
    const QImage shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), QColor(Qt::red).rgb());
}

TEST_P(TransitionControl, StylesAboveTheTableLeaveTheOldPictureAndSkipAfterFrame) {
    control->SetStyle(200);
    control->SetStep(50);
    int afterFrames = 0;
    control->OnAfterNewFrame = [&](QObject*, Bitmap24&, Bitmap24&) { ++afterFrames; };
    RunToEnd();
    EXPECT_EQ(afterFrames, 0);
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kOld));
}

TEST_P(TransitionControl, StyleZeroIsAnInstantCutOrDrawnByItsHandler) {
    control->SetStyle(0);
    control->SetStep(100);
    RunToEnd();
    EXPECT_EQ(control->Frame(), Uniform(40, 30, kNew));
    EXPECT_EQ(completed, 1);

    // With a handler and Step 10: ten frames, the handler draws all but the last.
    control->Picture().assign(Uniform(40, 30, 0xFF0000));
    control->SetStep(10);
    control->SetManual(true); // while idle, switching Manual resets the progress to the start
    control->SetManual(false);
    EXPECT_EQ(control->Progress(), 0);
    progress.clear();
    int handled = 0;
    control->OnCustomDraw = [&](QObject* sender, Bitmap24&, Bitmap24& screen) {
        EXPECT_EQ(sender, control);
        ++handled;
        screen.fill(0x808080);
    };
    RunToEnd();
    EXPECT_EQ(progress.size(), 10u);
    EXPECT_EQ(handled, 10); // called at p = 100 too, where the new picture is then drawn over
    EXPECT_EQ(control->Frame(), Uniform(40, 30, 0xFF0000));
}

INSTANTIATE_TEST_SUITE_P(Pacing, TransitionControl, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& pacing) {
                             return pacing.param ? std::string("Threaded") : std::string("CallingThread");
                         });

TEST(TransitionControlGeometry, CentredPictureLargerThanTheClientGetsNegativeOffsets) {
    XPicTrans control;
    control.SetAutoSize(false);
    control.resize(100, 80);
    control.SetCenter(true);
    control.SetThreaded(false);
    control.SetManual(true);
    control.Picture().assign(Uniform(140, 100, kNew));
    control.Execute();
    EXPECT_EQ(control.PicRect(), (Rect{-20, -10, 120, 90}));
    // Changed areas are moved by the picture's place and cut to it.
    EXPECT_EQ(control.FrameAreaToClient({0, 0, 10, 10}), (Rect{-20, -10, -10, 0}));
    EXPECT_EQ(control.FrameAreaToClient({130, 0, 150, 10}), (Rect{110, -10, 120, 0}));

    control.SetStretch(true);
    control.SetStretchFine(true);
    // 140 x 100 fitted into 100 x 80: 100 x 71 at (0, 4).
    EXPECT_EQ(control.DisplayRect(), (Rect{0, 4, 100, 75}));
    EXPECT_EQ(control.FrameAreaToClient({0, 0, 140, 100}), (Rect{0, 4, 100, 75}));
    EXPECT_EQ(control.FrameAreaToClient({70, 50, 140, 100}), (Rect{50, 40, 100, 75}));
    control.Stop();
}

TEST(TransitionControlGeometry, AutoSizeFollowsThePictureOnlyWithoutAlign) {
    XPicTrans control;
    control.Picture().assign(Uniform(64, 48, kNew));
    EXPECT_EQ(control.size(), QSize(64, 48));
    control.SetAlign(TAlign::alClient);
    control.Picture().assign(Uniform(32, 16, kNew));
    EXPECT_EQ(control.size(), QSize(64, 48));
    int changes = 0;
    control.OnChange = [&](QObject*) { ++changes; };
    control.SetPicture(nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(control.GetEmpty());
}

TEST(TransitionControlPainting, BackgroundModesAndTheFrame) {
    QWidget parent;
    parent.resize(120, 120);
    auto* control = new XPicTrans(&parent);
    control->SetAutoSize(false);
    control->resize(100, 80);
    control->SetColor(0x000000);
    Bitmap24 bg = Uniform(160, 100, 0xFF0000); // blue, larger than the control
    bg.setPixel(30, 10, 0xFFFFFF);
    control->BgPicture().assign(bg);

    control->SetBgMode(TBackgroundMode::bmCentered);
    // Drawn at ((100 - 160) / 2, (80 - 100) / 2) = (-30, -10): its (30, 10) lands on (0, 0).
    QImage shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), QColor(Qt::white).rgb());
    EXPECT_EQ(shown.pixel(1, 0), QColor(Qt::blue).rgb());

    control->SetBgMode(TBackgroundMode::bmNone);
    shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(50, 40), QColor(Qt::black).rgb());

    control->SetBgMode(TBackgroundMode::bmTiled);
    control->BgPicture().assign(Uniform(30, 30, 0x00FFFF)); // yellow tiles
    shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(95, 75), QColor(Qt::yellow).rgb());

    // A finished transition's frame is painted at the picture's place.
    control->SetThreaded(false);
    control->SetStyle(0);
    control->Picture().assign(Uniform(20, 10, 0x00FF00));
    control->Execute();
    shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), QColor(Qt::green).rgb());
    EXPECT_EQ(shown.pixel(25, 5), QColor(Qt::yellow).rgb());
}

// On screen the frame's pixels go straight into the window's image: they
// land at the control's place, keep their colours, stay inside the window,
// and a control above keeps its own pixels.
TEST(TransitionControlPainting, FrameReachesTheWindowImageWhereTheControlIs) {
    QWidget window;
    window.setGeometry(0, 0, 200, 100);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    auto* control = new XPicTrans(&window);
    control->SetAutoSize(false);
    control->setGeometry(150, 20, 100, 50); // reaches beyond the window's right edge
    control->SetThreaded(false);
    control->SetStyle(0);
    Bitmap24 picture(100, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixel(x, y, x < 25 ? 0x0000FFu : 0xFF0000u); // red, then blue
    control->Picture().assign(picture);
    auto* above = new QWidget(&window);
    above->setGeometry(160, 30, 10, 10);
    above->setAutoFillBackground(true);
    palette.setColor(QPalette::Window, Qt::green);
    above->setPalette(palette);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    control->Execute();
    control->repaint();
    QApplication::processEvents();

    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
    ASSERT_EQ(shown.size(), QSize(200, 100));
    EXPECT_EQ(QColor(shown.pixel(151, 21)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(180, 60)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(199, 69)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(149, 21)), QColor(Qt::black));
    EXPECT_EQ(QColor(shown.pixel(151, 71)), QColor(Qt::black));
    EXPECT_EQ(QColor(shown.pixel(165, 35)), QColor(Qt::green));
}

// A step repaints only what it changed: any part painted alone shows what
// the whole control shows there, in every layout and background mode.
TEST(TransitionControlPainting, APartPaintsAsTheWholeDoes) {
    Bitmap24 picture(60, 40);
    Bitmap24 bg(23, 17);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, static_cast<uint32_t>(x * 4 + (y * 6 << 8) + 0x400000));
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            bg.setPixel(x, y, static_cast<uint32_t>((x * 11) << 16 | y * 15));
    const struct {
        bool center, stretch, fine;
        TBackgroundMode bgMode;
    } layouts[] = {
        {false, false, false, TBackgroundMode::bmNone}, {true, false, false, TBackgroundMode::bmNone},
        {true, false, false, TBackgroundMode::bmTiled}, {false, false, false, TBackgroundMode::bmCentered},
        {false, true, false, TBackgroundMode::bmNone},  {false, true, true, TBackgroundMode::bmStretched},
        {true, true, true, TBackgroundMode::bmTiled}};
    const QRect parts[] = {{7, 5, 30, 20}, {50, 33, 50, 47}, {0, 0, 1, 1}, {99, 79, 1, 1}, {58, 0, 4, 80}};
    for (const auto& layout : layouts) {
        XPicTrans control;
        control.SetAutoSize(false);
        control.resize(100, 80);
        control.SetColor(0x3366CC);
        control.SetCenter(layout.center);
        control.SetStretch(layout.stretch);
        control.SetStretchFine(layout.fine);
        control.BgPicture().assign(bg);
        control.SetBgMode(layout.bgMode);
        control.SetThreaded(false);
        control.SetStyle(0);
        control.Picture().assign(picture);
        control.Execute();
        const QImage whole = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const QRect& part : parts) {
            QImage alone(control.size(), QImage::Format_RGB32);
            alone.fill(Qt::magenta);
            // The part lands at the offset given: its own place.
            control.render(&alone, part.topLeft(), QRegion(part));
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    ASSERT_EQ(alone.pixel(x, y), whole.pixel(x, y))
                        << x << "," << y << " centre " << layout.center << " stretch " << layout.stretch
                        << " mode " << static_cast<int>(layout.bgMode);
        }
    }
}

TEST(TransitionControlPainting, OldPictureIsWhatTheControlShowed) {
    XPicTrans control;
    control.SetAutoSize(false);
    control.resize(40, 30);
    control.SetColor(kOld);
    control.SetThreaded(false);
    control.SetManual(true);
    control.SetStyle(5);
    control.Picture().assign(Uniform(40, 30, kNew));
    control.Execute();
    control.SetProgress(50);
    EXPECT_EQ(control.Frame().pixel(19, 0), kNew);
    EXPECT_EQ(control.Frame().pixel(20, 0), kOld);
    control.Stop();

    // The next transition starts from the frame shown.
    control.Picture().assign(Uniform(40, 30, 0xFF0000));
    control.SetStyle(6); // wipe from the right
    control.Execute();
    control.SetProgress(25);
    EXPECT_EQ(control.Frame().pixel(0, 0), kNew);
    EXPECT_EQ(control.Frame().pixel(29, 0), kOld);
    EXPECT_EQ(control.Frame().pixel(30, 0), 0xFF0000u);
    control.Stop();
}

TEST(TransitionControlLifetime, DestroyingDuringAThreadedTransitionIsQuiet) {
    int completed = 0;
    {
        XPicTrans control;
        control.SetDelay(20);
        control.OnComplete = [&](QObject*) { ++completed; };
        control.Picture().assign(Uniform(30, 20, kNew));
        control.Execute();
        QTest::qWait(50);
        EXPECT_TRUE(control.Running());
    }
    QTest::qWait(50);
    EXPECT_EQ(completed, 0);
}

TEST(TransitionControlEvents, MouseEnterAndLeave) {
    XPicTrans control;
    int entered = 0, left = 0;
    control.OnMouseEnter = [&](QObject*) { ++entered; };
    control.OnMouseLeave = [&](QObject*) { ++left; };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&control, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&control, &leave);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}

} // namespace
} // namespace scr
