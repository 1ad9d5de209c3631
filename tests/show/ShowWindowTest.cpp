// The show window itself (offscreen), with a package made in memory: creation,
// the close rules through real Qt events, items brought on screen.
#include "show/ShowWindow.h"

#include "platform/Bitmap24.h"
#include "platform/VirtualClock.h"
#include "show/BackgroundImage.h"
#include "show/BouncingMotion.h"
#include "tests/support/JpegShowPackage.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestShowEnvironment.h"
#include "transitions/control/TransitionView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <fstream>
#include <gtest/gtest.h>

namespace scr {
namespace {

class MemoryPackage : public ShowPackage {
public:
    std::vector<ShowItem> items;
    std::vector<LabelGroup> labels;
    Bitmap24 background;
    bool hasBackground = false;
    int placementMode = 0;
    bool keepCursor = false;
    int opacity = 0;
    std::string homePage = "http://example.org/";

    int ItemCount() const override { return static_cast<int>(items.size()); }
    ShowItem GetItem(int i) const override {
        return i >= 0 && i < ItemCount() ? items[size_t(i)] : ShowItem{};
    }
    int CountPinnedItems() const override {
        int n = 0;
        for (const auto& item : items)
            n += item.pinned != 0;
        return n;
    }
    int DefaultDisplaySeconds() const override { return 5; }
    bool RandomOrder() const override { return false; }
    bool LoadPicture(Bitmap24& bitmap, int index, int scale) override {
        bitmap.setSize(400 >> scale, 300 >> scale);
        bitmap.fill(0x0000FF00u + static_cast<uint32_t>(index)); // green
        return true;
    }
    std::optional<std::vector<uint8_t>> ReadMovie(int) override { return std::nullopt; }
    int MusicCount() const override { return 0; }
    std::string ExtractMusic(int) override { return {}; }
    std::string Name() const override { return "Memory"; }
    uint32_t BackgroundColor() const override { return 0x00000080; } // dark red
    const Bitmap24* Background() const override { return hasBackground ? &background : nullptr; }
    void DropBackground() override { hasBackground = false; }
    int DesignWidth() const override { return 0; }
    int PlacementMode() const override { return placementMode; }
    bool IgnoreMouseMove() const override { return false; }
    bool KeepCursor() const override { return keepCursor; }
    int OpacityPercent() const override { return opacity; }
    std::string HomePage() const override { return homePage; }
    const LabelGroup* Labels(int i) const override {
        return i >= 0 && i < static_cast<int>(labels.size()) ? &labels[size_t(i)] : nullptr;
    }
};

class ShowWindowTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
    void TearDown() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    std::unique_ptr<ShowWindow> Make(std::unique_ptr<MemoryPackage> package, ShowMode mode = ShowMode::Show) {
        package_ = package.get();
        return std::make_unique<ShowWindow>(std::move(package), environment_, mode, 0);
    }
    static void Pump() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // A key press as the window system delivers it: to the native window.
    static void PressKey(ShowWindow& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(window.windowHandle(), &press);
    }
    // A picture on at once, then a second one with style 5 in steps of 25
    // every 200 ms.
    static std::unique_ptr<MemoryPackage> FirstAtOnceThenAWipe() {
        auto package = std::make_unique<MemoryPackage>();
        ShowItem second = test::FixedPictureItem(300, 40, 100, 100);
        second.transitionEffect = 5;
        second.transitionStep = 25;
        second.transitionDelay = 200;
        ShowItem first = test::FixedPictureItem(30, 40, 200, 100);
        first.transitionEffect = -2; // on at once
        package->items = {first, second};
        return package;
    }
    test::TempDir dir_;
    test::TestShowEnvironment environment_;
    MemoryPackage* package_ = nullptr;
};

TEST_F(ShowWindowTest, FullScreenCoversTheVirtualDesktopWithBackgroundPaintedOnce) {
    auto package = std::make_unique<MemoryPackage>();
    package->items = {test::FixedPictureItem(10, 20, 100, 50)};
    package->background.setSize(3, 3);
    package->background.fill(0x00FFFFFF);
    package->hasBackground = true;
    auto window = Make(std::move(package));
    EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->virtualGeometry());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->transitionView()->geometry(), QRect(-1, -1, 1, 1));
    EXPECT_FALSE(window->transitionView()->isVisibleTo(window.get()));
    EXPECT_EQ(window->backgroundImage()->canvas().pixel(4, 4), 0x00FFFFFFu); // tiled picture
    EXPECT_FALSE(package_->hasBackground);                                   // the package's copy is dropped
    EXPECT_TRUE(window->cursorHidden());
    EXPECT_EQ(window->fly(), nullptr);
}

TEST_F(ShowWindowTest, OpacityOnlyBetween20And99Percent) {
    const struct {
        int percent;
        std::optional<int> alpha;
    } cases[] = {{0, std::nullopt}, {19, std::nullopt}, {20, 51}, {50, 127}, {99, 252}, {100, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(LayeredAlpha(c.percent), c.alpha) << c.percent;
}

TEST_F(ShowWindowTest, KeepCursorAndMovingMode) {
    auto package = std::make_unique<MemoryPackage>();
    package->items = {test::FixedPictureItem(0, 0, 100, 50)};
    package->keepCursor = true;
    package->placementMode = kPlacementMoving;
    auto window = Make(std::move(package));
    EXPECT_FALSE(window->cursorHidden());
    ASSERT_NE(window->fly(), nullptr);
    EXPECT_EQ(window->fly()->target(), window->transitionView());
}

TEST_F(ShowWindowTest, AltF4IsRefusedAndAKeyEndsTheShow) {
    auto package = std::make_unique<MemoryPackage>();
    package->items = {test::FixedPictureItem(0, 0, 100, 50)};
    auto window = Make(std::move(package));
    window->show();
    QSignalSpy ended(window.get(), &ShowWindow::ended);
    PressKey(*window, Qt::Key_F4, Qt::AltModifier);
    Pump();
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(window->isVisible());
    window->close(); // the window manager's close button
    EXPECT_EQ(ended.count(), 0);

    PressKey(*window, Qt::Key_Q);
    Pump();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(window->hasEnded());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->HomePageToOpen().empty());
}

TEST_F(ShowWindowTest, AClickOrAMouseJumpEndsTheShowAndArrowKeysStepIt) {
    const auto mouse = [](QEvent::Type type, QPoint global) {
        return QMouseEvent(type, QPointF(1, 1), QPointF(global),
                           type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                           type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    };
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove}) {
        auto package = std::make_unique<MemoryPackage>();
        package->items = {test::FixedPictureItem(0, 0, 100, 50), test::FixedPictureItem(200, 0, 100, 50)};
        auto window = Make(std::move(package));
        window->show();
        Pump();
        const int begun = window->advancesBegun();
        // The arrow keys step the show both ways and do not end it.
        PressKey(*window, Qt::Key_Right);
        PressKey(*window, Qt::Key_Left);
        Pump();
        EXPECT_EQ(window->advancesBegun(), begun + 2);
        EXPECT_FALSE(window->hasEnded());

        const Point ref = window->rules().mouseRef();
        QMouseEvent event = mouse(type, QPoint(ref.x + 40, ref.y + 40));
        QCoreApplication::sendEvent(window->windowHandle(), &event);
        Pump();
        EXPECT_TRUE(window->hasEnded()) << int(type);
    }
}

TEST_F(ShowWindowTest, F2OpensTheHomePageOnlyWithHttp) {
    for (const std::string& page : {std::string(" http://example.org/ "), std::string("example.org")}) {
        auto package = std::make_unique<MemoryPackage>();
        package->homePage = page;
        auto window = Make(std::move(package));
        window->show();
        PressKey(*window, Qt::Key_F2);
        Pump();
        EXPECT_EQ(window->HomePageToOpen(), page[0] == ' ' ? "http://example.org/" : "") << page;
    }
}

TEST_F(ShowWindowTest, ItemTimerBringsTheItemOnScreenWithItsLabels) {
    auto package = std::make_unique<MemoryPackage>();
    package->items = {test::FixedPictureItem(30, 40, 200, 100), test::FixedPictureItem(300, 40, 100, 100)};
    LabelRecord record;
    record.setFontName("Arial");
    record.fontSize = 12;
    record.centerX = 100;
    record.centerY = 200;
    package->labels = {{LabelItem(record, "first"), LabelItem(record, "second")}, {}};
    auto window = Make(std::move(package));
    // Not shown: no activation here starts an item of its own.
    window->HandleInput({ShowInput::Kind::ItemTick});
    Pump();
    TransitionView* picture = window->transitionView();
    const double scale = window->showScale();
    EXPECT_EQ(picture->geometry(),
              QRect(int(30 * scale), int(40 * scale), int(200 * scale), int(100 * scale)));
    EXPECT_TRUE(picture->isVisibleTo(window.get()));
    EXPECT_EQ(picture->Player().Frame().pixel(picture->width() / 2, picture->height() / 2), 0x0000FF00u);
    EXPECT_NE(window->findChild<QLabel*>("xlabel_1"), nullptr);
    EXPECT_EQ(window->itemTimerIntervalMs(), std::optional<int>(5000));

    // The next item: no exit transition and another place, so the first
    // picture stays on the background; the second item has no labels.
    window->HandleInput({ShowInput::Kind::ForwardKey});
    Pump();
    EXPECT_EQ(window->backgroundImage()->canvas().pixel(int(30 * scale) + 5, int(40 * scale) + 5),
              0x0000FF00u);
    EXPECT_EQ(window->findChild<QLabel*>("xlabel_0"), nullptr);
    EXPECT_EQ(picture->x(), int(300 * scale));
}

TEST_F(ShowWindowTest, TransitionStepAndDelayUseTheirLow16Bits) {
    // The words are 32 bits wide in the item, but only their low 16 bits
    // count: a package may carry anything above them.
    auto package = std::make_unique<MemoryPackage>();
    ShowItem item = test::FixedPictureItem(0, 0, 40, 30);
    item.transitionEffect = 0;
    item.transitionStep = 0x7FFF0032; // 50
    item.transitionDelay = -0xFFFE;   // 2
    package->items = {item};
    auto window = Make(std::move(package));
    window->HandleInput({ShowInput::Kind::ItemTick});
    Pump();
    EXPECT_EQ(window->transitionView()->Player().Spec().step, 50);
    EXPECT_EQ(window->transitionView()->Player().Spec().delay, 2);
}

TEST_F(ShowWindowTest, OnAVirtualClockItemsAndTransitionStepsComeAtTheirExactTimes) {
    auto package = FirstAtOnceThenAWipe();
    VirtualClock clock;
    package_ = package.get();
    const test::TestShowEnvironment environment(clock);
    ShowWindow window(std::move(package), environment, ShowMode::Show, 0, ShowSound::Silent);
    window.StartUnattended();
    Pump();
    TransitionView* picture = window.transitionView();
    EXPECT_EQ(window.advancesBegun(), 1);
    EXPECT_EQ(window.musicStartMs(), std::optional<int64_t>(0));
    EXPECT_EQ(picture->x(), int(30 * window.showScale()));

    // No user: neither an activation change nor a key advances or ends the show.
    window.HandleInput({ShowInput::Kind::Deactivated});
    window.HandleInput({ShowInput::Kind::OtherKey});
    Pump();
    EXPECT_FALSE(window.rules().closing());
    EXPECT_EQ(window.advancesBegun(), 1);

    // The item's 5 s, then the second item's transition: its first step at
    // once, one step every 200 ms after.
    const struct {
        int64_t ms;
        int advances;
        int progress;
        ShowSequencer::State state;
    } moments[] = {
        {4999, 1, 100, ShowSequencer::State::Showing},  {5000, 2, 25, ShowSequencer::State::Entering},
        {5199, 2, 25, ShowSequencer::State::Entering},  {5200, 2, 50, ShowSequencer::State::Entering},
        {5400, 2, 75, ShowSequencer::State::Entering},  {5600, 2, 100, ShowSequencer::State::Showing},
        {10599, 2, 100, ShowSequencer::State::Showing}, {10600, 3, 100, ShowSequencer::State::Showing},
    };
    for (const auto& m : moments) {
        clock.AdvanceTo(m.ms);
        EXPECT_EQ(window.advancesBegun(), m.advances) << m.ms;
        EXPECT_EQ(picture->Player().Progress(), m.progress) << m.ms;
        EXPECT_EQ(window.sequencer().state(), m.state) << m.ms;
    }
    // The third advance brought the first item back at once (no transition).
    EXPECT_EQ(picture->x(), int(30 * window.showScale()));
}

// The statistics count the steps of each transition the sequencer plays and
// write one line when it ends; an item brought on at once writes none.
TEST_F(ShowWindowTest, EachPlayedTransitionWritesOneStatisticsLineWithItsSteps) {
    test::TempDir dir;
    const std::string path = dir.file("stats.txt");
    setenv("SCRPLAYER_STATS", path.c_str(), 1);
    auto package = FirstAtOnceThenAWipe();
    VirtualClock clock;
    package_ = package.get();
    const test::TestShowEnvironment environment(clock);
    {
        ShowWindow window(std::move(package), environment, ShowMode::Show, 0, ShowSound::Silent);
        window.StartUnattended();
        Pump();
        clock.AdvanceTo(4999);
        std::ifstream before(path);
        std::string line;
        EXPECT_FALSE(std::getline(before, line) && line.rfind("transition ", 0) == 0) << line;
        clock.AdvanceTo(5600);
        ASSERT_EQ(window.sequencer().state(), ShowSequencer::State::Showing);
    }
    unsetenv("SCRPLAYER_STATS");
    std::ifstream in(path);
    std::vector<std::string> transitions;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("transition ", 0) == 0) transitions.push_back(line);
    ASSERT_EQ(transitions.size(), 1u);
    EXPECT_EQ(transitions[0].rfind("transition style=5 frames=4 ms=", 0), 0u) << transitions[0];
}

TEST_F(ShowWindowTest, PreviewWithoutItsHostWindowEndsAtOnce) {
    auto package = std::make_unique<MemoryPackage>();
    package->items = {test::FixedPictureItem(0, 0, 10, 10)};
    auto window = Make(std::move(package), ShowMode::Preview);
    EXPECT_FALSE(window->Start()); // the box does not exist (no X server here)
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->embedded());
}

} // namespace
} // namespace scr
