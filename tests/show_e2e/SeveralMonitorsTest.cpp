// The show on two monitors side by side (Xorg's dummy driver): a 1920 x 1080
// primary and a 1280 x 1024 monitor, once to its right and once to its left.
// The packed screen saver's own window covers the whole desktop, its items
// stay on the primary wherever it lies, and the other monitor shows the
// background. Under the real xscreensaver daemon each monitor gets its own
// window and its own copy of the screen saver, which fills that window.
#include "tests/show_e2e/ScreenSaverUser.h"
#include "tests/show_e2e/XorgDummyServer.h"

#include <QImage>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace scr::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The primary and the other monitor, as a desktop lays them out.
struct Layout {
    const char* name;
    QRect primary, other;
};
const Layout kOtherAtTheRight{"OtherAtTheRight", {0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
const Layout kOtherAtTheLeft{"OtherAtTheLeft", {1280, 0, 1920, 1080}, {0, 0, 1280, 1024}};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.name;
}

// The mean difference of the colour channels between `shot` at `at` and `picture`, sampled.
double MeanDifference(const QImage& shot, QPoint at, const QImage& picture) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); y += 5)
        for (int x = 0; x < picture.width(); x += 5, ++count) {
            const QRgb a = shot.pixel(at.x() + x, at.y() + y), b = picture.pixel(x, y);
            sum += (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b))) /
                   3.0;
        }
    return count ? sum / count : 255;
}

// The share of sampled points of `area` whose colour differs from the point
// one tile further right and one tile further down: 0 for a picture tiled
// with that period and nothing over it.
double TilingMismatch(const QImage& shot, const QRect& area, QSize tile) {
    int mismatches = 0, count = 0;
    for (int y = area.top(); y + tile.height() <= area.bottom(); y += 7)
        for (int x = area.left(); x + tile.width() <= area.right(); x += 7, ++count)
            if (shot.pixel(x, y) != shot.pixel(x + tile.width(), y) ||
                shot.pixel(x, y) != shot.pixel(x, y + tile.height()))
                ++mismatches;
    return count ? static_cast<double>(mismatches) / count : 1;
}

class SeveralMonitors : public ::testing::Test {
protected:
    // Starts the server with the layout's two monitors.
    void StartServer(const Layout& layout) {
        if (const std::string reason = XorgDummyServer::Unavailable(); !reason.empty())
            GTEST_SKIP() << reason;
        if (!fs::exists(demoPictures() + "/aurora.jpg")) GTEST_SKIP() << "the demo assets are not built";
        x_ = std::make_unique<XorgDummyServer>(
            std::vector<XorgDummyServer::Monitor>{{layout.primary, true}, {layout.other, false}});
        ASSERT_TRUE(x_->running() && x_->failure().empty()) << x_->failure();
    }

    static std::string demoPictures() {
        return (fs::path(BuildBinDir()).parent_path() / "assets" / "demo" / "pictures").string();
    }

    // The viewable top-level windows of the given geometry.
    std::vector<uint32_t> WindowsAt(uint32_t parent, const QRect& geometry) const {
        std::vector<uint32_t> found;
        for (const auto& child : x_->Children(parent))
            if (child.viewable && QRect(child.x, child.y, child.width, child.height) == geometry)
                found.push_back(child.id);
        return found;
    }

    std::unique_ptr<XorgDummyServer> x_;
};

class FullScreenOnSeveralMonitors : public SeveralMonitors, public ::testing::WithParamInterface<Layout> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartServer(GetParam()));
        if (IsSkipped() || HasFatalFailure()) return;
        for (const char* sub : {"runtime", "tmp", "config", "data"})
            fs::create_directories(dir_.file(sub));
        fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
    }

    // A package with a tiled background picture, a pinned picture at its own
    // size (a pinned item keeps its stored rectangle as it is) and one item in
    // the play list with a label in one colour, designed for the primary's width.
    std::string PackWithPinnedItem(QSize pinnedSize) {
        const std::string manifest = dir_.file("monitors.json");
        std::ofstream(manifest) << R"({
  "name": "Two Monitors", "format_level": 5, "design_width": 1920, "design_height": 1080,
  "background_color": "#204060", "background": ")"
                                << SourceDir() << R"(/tests/data/testorig.jpg",
  "default_transition_effect": -2, "default_exit_effect": -2, "default_display_seconds": 30,
  "items": [
    { "file": ")" << demoPictures()
                                << R"(/aurora.jpg", "pinned": true, "left": 300, "top": 140,
      "width": )" << pinnedSize.width()
                                << R"(, "height": )" << pinnedSize.height() << R"( },
    { "file": ")" << demoPictures()
                                << R"(/sunset.jpg", "left": 1600, "top": 100, "width": 300, "height": 200,
      "labels": [ { "text": "Primary", "font_name": "DejaVu Sans", "font_size": 24, "text_color": "#FF00FF",
                    "transparent": false, "back_color": "#FF00FF", "center_x": 960, "center_y": 1000 } ] }
  ]
})";
        const std::string packed = dir_.file("monitors.scr");
        std::string output;
        EXPECT_EQ(
            RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + manifest + "' -o '" + packed + "' 2>&1",
                       &output),
            0)
            << output;
        return packed;
    }

    std::unique_ptr<ChildProcess> Run(const std::vector<std::string>& argv) {
        return std::make_unique<ChildProcess>(argv, std::map<std::string, std::string>{
                                                        {"DISPLAY", x_->display()},
                                                        {"QT_QPA_PLATFORM", "xcb"},
                                                        {"TMPDIR", dir_.file("tmp")},
                                                        {"XDG_RUNTIME_DIR", dir_.file("runtime")},
                                                        {"XDG_CONFIG_HOME", dir_.file("config")},
                                                        {"XDG_DATA_HOME", dir_.file("data")},
                                                        {"XSCREENSAVER_WINDOW", ""},
                                                        {"SCRPLAYER_STATS", dir_.file("stats.txt")},
                                                    });
    }

    TempDir dir_;
};

TEST_P(FullScreenOnSeveralMonitors, CoversEveryMonitorWithItemsOnThePrimaryOnly) {
    const Layout& layout = GetParam();
    const QRect desktop = layout.primary.united(layout.other);
    const QImage pinned(QString::fromStdString(demoPictures() + "/aurora.jpg"));
    ASSERT_FALSE(pinned.isNull());
    const std::string packed = PackWithPinnedItem(pinned.size());
    ASSERT_TRUE(fs::exists(packed));
    auto show = Run({packed, "/s"});

    // One window over the whole desktop, 3200 x 1080.
    EXPECT_TRUE(WaitUntil([&] { return WindowsAt(x_->root(), desktop).size() == 1; }, 10s))
        << "no window covers the desktop";
    ASSERT_TRUE(WaitUntil(
        [&] { return ReadText(dir_.file("stats.txt")).find("first-item") != std::string::npos; }, 10s))
        << "the show did not start: " << ReadText(dir_.file("stats.txt"));
    std::this_thread::sleep_for(500ms);
    const QImage shot = x_->Screenshot();
    ASSERT_EQ(shot.size(), desktop.size());

    // The pinned picture at its own size at (300, 140) of the primary.
    const QPoint pinnedAt = layout.primary.topLeft() + QPoint(300, 140);
    ASSERT_TRUE(layout.primary.contains(QRect(pinnedAt, pinned.size())));
    EXPECT_LT(MeanDifference(shot, pinnedAt, pinned), 6) << "the pinned item is not on the primary";
    // The item's label, a magenta block, centred on (960, 1000) of the primary.
    EXPECT_EQ(shot.pixel(layout.primary.topLeft() + QPoint(960, 1000)), qRgb(255, 0, 255))
        << "the label is not on the primary";
    // The other monitor shows the background picture tiled with nothing over it.
    const QImage tile(QString::fromStdString(SourceDir() + "/tests/data/testorig.jpg"));
    ASSERT_FALSE(tile.isNull());
    EXPECT_LT(TilingMismatch(shot, layout.other, tile.size()), 0.001) << "something lies over the background";
    EXPECT_GT(DistinctColours(shot, layout.other), 500) << "not the background picture";
    // The tiles run from the window's origin: one starts at the first multiple of the tile's width.
    const int firstColumn = (layout.other.left() + tile.width() - 1) / tile.width();
    const QPoint tileOnOther(firstColumn * tile.width(), 2 * tile.height());
    ASSERT_TRUE(layout.other.contains(QRect(tileOnOther, tile.size())));
    EXPECT_LT(MeanDifference(shot, tileOnOther, tile), 6);

    show->Signal(SIGTERM);
    EXPECT_EQ(show->Wait(3s), std::optional<int>(0));
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, FullScreenOnSeveralMonitors,
                         ::testing::Values(kOtherAtTheRight, kOtherAtTheLeft),
                         [](const auto& layout) { return std::string(layout.param.name); });

class DaemonOnSeveralMonitors : public SeveralMonitors {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartServer(kOtherAtTheRight));
        if (IsSkipped() || HasFatalFailure()) return;
        user_ = std::make_unique<ScreenSaverUser>(*x_);
        ASSERT_NO_FATAL_FAILURE(user_->Prepare());
    }
    void TearDown() override { user_.reset(); }

    std::unique_ptr<ScreenSaverUser> user_;
};

TEST_F(DaemonOnSeveralMonitors, EachMonitorsCopyFillsItsOwnWindow) {
    ASSERT_NO_FATAL_FAILURE(user_->Install());
    // On Xorg the daemon fades the screen out and in again (Xvfb has no gamma
    // to fade), holding up the start and the end of the copies by seconds of its own.
    std::ofstream(user_->home() + "/.xscreensaver", std::ios::app) << "fade:\t\tFalse\nunfade:\t\tFalse\n";
    ASSERT_NO_FATAL_FAILURE(user_->StartDaemon());
    ASSERT_TRUE(user_->Command("-activate")) << user_->DaemonLog();

    // One copy per monitor, each told its own window.
    std::vector<pid_t> shows;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shows = ProcessesRunning(user_->installed());
            return shows.size() == 2;
        },
        20s))
        << shows.size() << " copies running\n"
        << user_->DaemonLog();
    std::vector<std::pair<pid_t, uint32_t>> started;
    ASSERT_TRUE(WaitUntil(
        [&] {
            started = ProgramsStarted(user_->DaemonLog());
            return started.size() >= 2;
        },
        5s))
        << user_->DaemonLog();
    ASSERT_EQ(started.size(), 2u) << user_->DaemonLog();
    EXPECT_NE(started[0].second, started[1].second);
    for (const auto& [pid, window] : started) {
        EXPECT_NE(std::find(shows.begin(), shows.end(), pid), shows.end());
        EXPECT_EQ(DaemonWindowOf(pid), window);
    }

    // The windows given to the copies are the monitors (the daemon has
    // more windows of the same sizes); each holds one window of its copy, filling it.
    for (const QRect& monitor : {kOtherAtTheRight.primary, kOtherAtTheRight.other}) {
        std::vector<uint32_t> windows = WindowsAt(x_->root(), monitor);
        std::erase_if(windows, [&](uint32_t w) {
            return std::none_of(started.begin(), started.end(), [&](auto s) { return s.second == w; });
        });
        ASSERT_EQ(windows.size(), 1u) << "no copy's window covers the monitor at " << monitor.x();
        std::vector<XServer::Child> children;
        EXPECT_TRUE(WaitUntil(
            [&] {
                children = x_->Children(windows[0]);
                return children.size() == 1 && children[0].viewable &&
                       QRect(children[0].x, children[0].y, children[0].width, children[0].height) ==
                           QRect(QPoint(0, 0), monitor.size());
            },
            20s))
            << "the copy on the monitor at " << monitor.x() << " does not fill its window: "
            << (children.empty()
                    ? std::string("no child")
                    : std::to_string(children[0].width) + "x" + std::to_string(children[0].height) + "+" +
                          std::to_string(children[0].x) + "+" + std::to_string(children[0].y));
    }
    // Each shows a picture of ours across its monitor.
    QImage shot;
    EXPECT_TRUE(WaitUntil(
        [&] {
            shot = x_->Screenshot();
            return DistinctColours(shot, kOtherAtTheRight.primary) > 2000 &&
                   DistinctColours(shot, kOtherAtTheRight.other) > 2000;
        },
        20s));

    // Both play their music (from extracted files): they are fully started.
    // On a busy machine the music can take well over 20 s to start (each
    // test has a new home), and a copy still starting was seen to take more
    // than 2 s to end.
    EXPECT_TRUE(WaitUntil([&] { return ExtractedFiles(user_->file("tmp")).size() >= 2; }, 60s))
        << ExtractedFiles(user_->file("tmp")).size() << " extracted files";

    // Deactivation ends both, leaving nothing behind.
    ASSERT_TRUE(user_->Command("-deactivate"));
    const auto deactivated = std::chrono::steady_clock::now();
    WaitUntil([&] { return !Alive(shows[0]) && !Alive(shows[1]); }, 10s);
    const auto ended =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - deactivated);
    EXPECT_LT(ended, 2s) << "still running " << ended.count() << " ms after the deactivation";
    EXPECT_TRUE(ExtractedFiles(user_->file("tmp")).empty());
}

} // namespace
} // namespace scr::test
