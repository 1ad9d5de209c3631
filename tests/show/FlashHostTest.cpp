#include "show/FlashHost.h"

#include "show/FlashControl.h"
#include "show/FlashNoticeLabel.h"
#include "show/FlashPlayers.h"
#include "show/SwfRewriter.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace scr {
namespace {

using test::ScopedEnv;

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::ShiftModifier);
    QApplication::sendEvent(target, &event);
}

struct MouseRecord {
    int moves = 0, clicks = 0;
    QObject* sender = nullptr;
    ShiftState shift = 0;
    int x = -1, y = -1;
    void Hook(FlashHost& host) {
        host.SetOnMouseMove([this](QObject* s, ShiftState sh, int px, int py) {
            ++moves;
            sender = s;
            shift = sh;
            x = px;
            y = py;
        });
        host.SetOnClick([this](QObject* s) {
            ++clicks;
            sender = s;
        });
    }
};

TEST(FlashHostTest, WithoutPlayerShowsTheNoticeAndEveryPropertyKeepsItsDefault) {
    test::TempDir empty;
    ScopedEnv noRuffle("SCRPLAYER_RUFFLE_DIR", empty.path());
    QWidget parent;
    parent.resize(400, 300);
    FlashPlayers players(&parent);
    std::unique_ptr<FlashHost> host(CreateFlashHost(&parent, players, 10, 20, 210, 170));
    ASSERT_TRUE(host);
    EXPECT_EQ(host->Player(), nullptr);
    EXPECT_TRUE(host->isHidden());
    EXPECT_EQ(host->geometry(), QRect(10, 20, 200, 150));
    EXPECT_EQ(host->BevelInner(), PanelBevel::Lowered);
    EXPECT_EQ(host->BevelOuter(), PanelBevel::Raised);

    FlashNoticeLabel* label = host->NoPlayerLabel();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QString("Please install the\nMacromedia Flash Player..."));
    EXPECT_EQ(label->font().family(), QString("Arial"));
    EXPECT_EQ(label->font().pointSize(), 9);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(host->rect().contains(label->geometry()));
    EXPECT_GT(label->width(), 150);

    // Writes are ignored, reads give the defaults.
    host->SetMovie(QByteArray("FWS any movie"));
    host->SetLoop(true);
    host->SetPlaying(true);
    host->Play();
    EXPECT_EQ(host->Movie(), QByteArray());
    EXPECT_FALSE(host->Loop());
    EXPECT_FALSE(host->Playing());
    EXPECT_EQ(host->TotalFrames(), 0);
    EXPECT_EQ(host->FrameNum(), 0);

    // Handlers and the popup menu go to the notice label.
    MouseRecord mouse;
    mouse.Hook(*host);
    QMenu menu;
    host->SetPM(&menu);
    EXPECT_EQ(host->PM(), &menu);
    EXPECT_EQ(label->events().popupMenu, &menu);
    EXPECT_TRUE(label->events().onMouseMove);
    SendMouse(label, QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::LeftButton);
    SendMouse(label, QEvent::MouseButtonRelease, {30, 40}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(mouse.moves, 1);
    EXPECT_EQ(mouse.clicks, 1);
    EXPECT_EQ(mouse.sender, label);
    EXPECT_EQ(mouse.shift, ssShift | ssLeft);
    EXPECT_EQ(QPoint(mouse.x, mouse.y), QPoint(30, 40));
}

TEST(FlashHostTest, PublishesExactlyItsPropertiesInOrder) {
    const QMetaObject& meta = FlashHost::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << meta.property(i).name();
    EXPECT_EQ(names, QStringList({"TotalFrames", "FrameNum", "Playing", "Loop", "Movie", "PM", "OnMouseMove",
                                  "OnClick"}));
}

#ifdef SCR_HAVE_FLASH_ENGINE

// Tests with the real player: Ruffle in Qt WebEngine, offscreen.
class RuffleHostTest : public ::testing::Test {
protected:
    // These tests tell pages apart (a page reused, a page never replaced by
    // a movie's doing). A page renewed because its renderer passed the
    // show's memory bound is neither, and the renderer comes close to that
    // bound here (about 270 MB of 280): renewal is off, and has tests of its
    // own. The engine reads the bound when its first page is made.
    static void SetUpTestSuite() { qputenv("SCRPLAYER_FLASH_RENDERER_MB", "0"); }

    void SetUp() override {
        const QString reason = FlashEngineUnavailableReason();
        ASSERT_TRUE(reason.isEmpty())
            << reason.toStdString() << " (run scripts/install-ruffle.sh and rebuild)";
        parent_.resize(400, 300);
        parent_.show();
    }

    std::string WriteMovie(const std::string& name, const test::TestMovieOptions& options) {
        std::string path = dir_.file(name);
        test::WriteFile(path, test::TestMovie(options));
        return path;
    }

    FlashHost* StartMovie(const std::string& path, bool loop) {
        FlashHost* host = CreateFlashHost(&parent_, players_, 0, 0, 320, 240);
        if (!host) return nullptr;
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly)) return nullptr;
        host->SetMovie(file.readAll());
        host->SetLoop(loop);
        host->show();
        host->Play();
        return host;
    }

    test::TempDir dir_;
    QWidget parent_;
    FlashPlayers players_{&parent_}; // ends before its home, parent_
};

TEST(FlashHostTest, APartlyInstalledPlayerGivesTheNotice) {
    const std::filesystem::path installed = test::BuildBinDir() + "/ruffle";
    ASSERT_TRUE(std::filesystem::exists(installed / "ruffle.js"));
    struct Case {
        const char* what;
        std::string left; // file name part of the files left out
    };
    const Case cases[] = {{"no WebAssembly modules", ".wasm"}, {"no chunks", "core.ruffle."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir partial;
        for (const auto& entry : std::filesystem::directory_iterator(installed))
            if (entry.path().filename().string().find(c.left) == std::string::npos)
                std::filesystem::copy(entry.path(), partial.path() / entry.path().filename());
        ScopedEnv ruffle("SCRPLAYER_RUFFLE_DIR", partial.path());
        const std::string reason = FlashEngineUnavailableReason().toStdString();
        EXPECT_NE(reason.find(c.left), std::string::npos) << reason;
        QWidget parent;
        FlashPlayers players(&parent);
        std::unique_ptr<FlashHost> host(CreateFlashHost(&parent, players, 0, 0, 200, 150));
        ASSERT_TRUE(host);
        EXPECT_EQ(host->Player(), nullptr);
        EXPECT_TRUE(host->NoPlayerLabel());
    }
}

TEST_F(RuffleHostTest, PlaysAMovieToItsEndWithoutLoop) {
    test::TempDir stats;
    ScopedEnv statsFile("SCRPLAYER_STATS", stats.file("stats.txt"));
    std::unique_ptr<FlashHost> host(StartMovie(WriteMovie("a.swf", {.frames = 24, .fps = 12}), false));
    ASSERT_TRUE(host);
    ASSERT_NE(host->Player(), nullptr);
    EXPECT_EQ(host->TotalFrames(), 24);
    EXPECT_TRUE(host->Playing());

    std::vector<int> seen;
    QElapsedTimer clock;
    clock.start();
    qint64 firstFrameMs = -1;
    bool ended = QTest::qWaitFor(
        [&] {
            int frame = host->FrameNum();
            if (frame > 0 && firstFrameMs < 0) firstFrameMs = clock.elapsed();
            if (seen.empty() || seen.back() != frame) seen.push_back(frame);
            return !host->Playing();
        },
        30000);
    ASSERT_TRUE(ended) << "the movie never ended; last frame " << host->FrameNum();
    qint64 playMs = clock.elapsed() - firstFrameMs;
    EXPECT_EQ(host->TotalFrames(), 24);
    EXPECT_EQ(host->FrameNum(), 23);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.size(), 4u) << "frame numbers should rise while the movie plays";
    // 23 frame steps at 12 fps take about 1.9 s.
    EXPECT_GT(playMs, 1000);
    EXPECT_LT(playMs, 8000);

    host.reset();
    std::ifstream in(stats.file("stats.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "movie-load");
    EXPECT_EQ(lines[1].rfind("movie-first-frame ms=", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "flash frames=24 last=23 playing=0");
}

TEST_F(RuffleHostTest, MoviesWithStreamingSoundAdvanceTheFirstMovieToo) {
    // The first is the process's first movie: the page and the player start with it.
    for (uint8_t version : {4, 5, 8}) {
        SCOPED_TRACE("Flash " + std::to_string(version));
        const std::string name = "sound" + std::to_string(version) + ".swf";
        std::unique_ptr<FlashHost> host(StartMovie(
            WriteMovie(name, {.frames = 24, .fps = 12, .version = version, .streamingSound = true}), false));
        ASSERT_TRUE(host);
        ASSERT_TRUE(QTest::qWaitFor([&] { return host->FrameNum() > 0; }, 30000))
            << "the movie stayed on its first frame";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !host->Playing(); }, 15000));
        EXPECT_EQ(host->TotalFrames(), 24);
        EXPECT_EQ(host->FrameNum(), 23);
        EXPECT_TRUE(host->Player()->Failure().isEmpty()) << host->Player()->Failure().toStdString();
    }
}

TEST_F(RuffleHostTest, APlayerThatFailsIsRetriedOnceInAFreshPageAndTheNextMoviePlays) {
    int failures = 0, metadata = 0, traces = 0;
    QString reason;
    FlashEngineEvents events;
    events.failed = [&](const QString& r) {
        ++failures;
        reason = r;
    };
    events.metadata = [&](int, double, bool) { ++metadata; };
    events.trace = [&](const QString&) { ++traces; };
    std::unique_ptr<FlashEngine> engine = players_.Create(&parent_, events);
    ASSERT_TRUE(engine);
    engine->view()->setGeometry(0, 0, 320, 240);
    const int pages = players_.PagesMade();

    // Bytes the player cannot read make it panic, in the fresh page too.
    engine->Load(QByteArray("these bytes are no movie at all"), {});
    // Two pages start here, one after the other: give a busy machine time.
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures > 0; }, 90000));
    QTest::qWait(500);
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(reason.contains("panic")) << reason.toStdString();
    EXPECT_EQ(players_.PagesMade(), pages + 1) << "one fresh page for the second attempt";
    EXPECT_FALSE(engine->view()->isVisible()) << "nothing of a failed player is on screen";

    // The failed page is not used again: the next movie gets a fresh one and plays.
    std::vector<uint8_t> movie = test::TestMovie({.frames = 12, .fps = 24});
    std::optional<SwfRewrite> prepared = RewriteSwfForHost(movie, true, "p:");
    ASSERT_TRUE(prepared);
    engine->Load(QByteArray(reinterpret_cast<const char*>(prepared->movie.data()),
                            static_cast<qsizetype>(prepared->movie.size())),
                 "p:");
    EXPECT_TRUE(QTest::qWaitFor([&] { return metadata > 0 && traces > 2; }, 60000));
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(players_.PagesMade(), pages + 2);
    EXPECT_TRUE(engine->view()->isVisible());
}

TEST_F(RuffleHostTest, RoutesMouseInputReusesItsPageAndLoopsWhenAsked) {
    std::unique_ptr<FlashHost> first(StartMovie(WriteMovie("b.swf", {.frames = 12, .fps = 24}), true));
    ASSERT_TRUE(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->FrameNum() > 0; }, 30000));
    first.reset();
    int pages = players_.PagesMade();

    std::unique_ptr<FlashHost> host(StartMovie(WriteMovie("c.swf", {.frames = 12, .fps = 24}), true));
    ASSERT_TRUE(host);
    EXPECT_EQ(players_.PagesMade(), pages) << "the second movie should reuse the page";
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host->FrameNum() > 0; }, 10000));
    EXPECT_LT(clock.elapsed(), 3000) << "a movie in a warm page starts quickly";

    // Looping: the frame number wraps and the movie keeps playing.
    int last = host->FrameNum();
    bool wrapped = QTest::qWaitFor(
        [&] {
            int frame = host->FrameNum();
            bool back = frame < last;
            last = frame;
            return back;
        },
        10000);
    EXPECT_TRUE(wrapped);
    EXPECT_TRUE(host->Playing());

    // Mouse input over the movie: moves and left releases reach the handlers,
    // the right button opens the host's menu.
    MouseRecord mouse;
    mouse.Hook(*host);
    QMenu menu;
    menu.addAction("Item");
    host->SetPM(&menu);
    QWidget* target = host->Player()->childAt(100, 80);
    ASSERT_TRUE(target);
    QPoint local = target->mapFrom(host->Player(), QPoint(100, 80));
    SendMouse(target, QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(mouse.moves, 1);
    EXPECT_EQ(mouse.sender, host->Player());
    EXPECT_EQ(QPoint(mouse.x, mouse.y), QPoint(100, 80));
    EXPECT_EQ(mouse.shift, ssShift);
    SendMouse(target, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(mouse.clicks, 1);
    SendMouse(target, QEvent::MouseButtonPress, local, Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(menu.isVisible());
    SendMouse(target, QEvent::MouseButtonRelease, local, Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    // Resizing attaches the player anew; a pure move does not.
    int parentChanges = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::ParentChange) ++*count;
            return false;
        }
    } counter(&parentChanges);
    host->Player()->installEventFilter(&counter);
    host->SetPlayerBounds(50, 60, 370, 300);
    EXPECT_EQ(parentChanges, 0);
    EXPECT_EQ(host->geometry(), QRect(50, 60, 320, 240));
    host->SetPlayerBounds(50, 60, 250, 210);
    EXPECT_GT(parentChanges, 0);
    EXPECT_EQ(host->Player()->geometry(), QRect(0, 0, 200, 150));
    EXPECT_TRUE(host->Player()->isVisible());
    host->Player()->removeEventFilter(&counter);
}

#else

TEST(RuffleHostTest, NeedsQtWebEngine) {
    GTEST_SKIP() << "built without Qt WebEngine (qt6-webengine-dev missing or SCR_FLASH=OFF): "
                    "the Flash player tests do not run";
}

#endif

} // namespace
} // namespace scr
