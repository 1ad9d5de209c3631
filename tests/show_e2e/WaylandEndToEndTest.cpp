// The show on a Wayland compositor (weston, headless, drawn in software):
// the demo full screen on the output, a Flash item playing, the show ending
// on SIGTERM, and a preview that cannot draw into another program's window
// saying so, as does the idle watcher, which weston gives no idleness to.
// No X11 display is reachable from these runs.
#include "tests/show_e2e/WestonServer.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The share of sampled pixels of `area` whose colour is not `colour`.
double ShareNotOfColour(const QImage& image, const QRect& area, QRgb colour) {
    int other = 0, total = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4)
        for (int x = area.left(); x <= area.right(); x += 4, ++total)
            if ((image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) ++other;
    return total ? static_cast<double>(other) / total : 0;
}

class WaylandEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists("/usr/bin/weston")) GTEST_SKIP() << "weston is not installed";
        if (!fs::exists(BuildBinDir() + "/demo.scr")) GTEST_SKIP() << "demo.scr is not built";
        for (const char* sub : {"runtime", "tmp", "movies"})
            fs::create_directories(dir_.file(sub));
        fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
        weston_ = std::make_unique<WestonServer>(dir_.file("runtime"), 1920, 1080);
        ASSERT_TRUE(weston_->running()) << "weston could not be started";
    }

    // The player's environment: the compositor's socket, no X11 display, and
    // no platform named, so that the player makes its own choice.
    std::map<std::string, std::string> Environment() const {
        return {{"WAYLAND_DISPLAY", weston_->socket()},
                {"XDG_RUNTIME_DIR", weston_->runtimeDir()},
                {"XDG_SESSION_TYPE", "wayland"},
                {"DISPLAY", ""},
                {"QT_QPA_PLATFORM", ""},
                {"XSCREENSAVER_WINDOW", ""},
                {"TMPDIR", dir_.file("tmp")},
                {"XDG_CONFIG_HOME", dir_.file("config")},
                {"XDG_DATA_HOME", dir_.file("data")},
                {"SCRPLAYER_STATS", dir_.file("stats.txt")}};
    }

    std::string Stats() const {
        std::ifstream in(dir_.file("stats.txt"));
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int CountLines(const std::string& prefix) const {
        std::istringstream in(Stats());
        int count = 0;
        for (std::string line; std::getline(in, line);)
            count += line.rfind(prefix, 0) == 0;
        return count;
    }

    bool NoExtractedFiles() const {
        for (const auto& entry : fs::directory_iterator(dir_.file("tmp")))
            if (entry.path().filename().string().rfind("~", 0) == 0) return false;
        return true;
    }

    TempDir dir_;
    std::unique_ptr<WestonServer> weston_;
};

TEST_F(WaylandEndToEndTest, TheDemoFillsTheOutputAndEndsOnSigterm) {
    const QImage desktop = weston_->Screenshot();
    ASSERT_FALSE(desktop.isNull()) << "no screenshot of the compositor's output";
    ASSERT_EQ(desktop.size(), QSize(1920, 1080));

    const auto started = std::chrono::steady_clock::now();
    ChildProcess show({BuildBinDir() + "/demo.scr", "/s"}, Environment());
    ASSERT_TRUE(WaitUntil([&] { return CountLines("first-item") > 0 || !show.Running(); }, 5s))
        << "no first item within 5 s; stats:\n"
        << Stats();
    ASSERT_TRUE(show.Running());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);

    // The first picture, once its entry is over: the demo's pictures are
    // shaded images of thousands of colours, laid out for the output's size.
    // The shell's panel along the top is covered: the window is full screen.
    QImage shot;
    EXPECT_TRUE(WaitUntil(
        [&] {
            shot = weston_->Screenshot();
            return !shot.isNull() && DistinctColours(shot, QRect(480, 270, 960, 540)) > 2000;
        },
        8s))
        << "the picture never showed in the middle of the output";
    const QImage panel = desktop.copy(0, 0, 1920, 32);
    EXPECT_GT(ShareNotOfColour(shot, QRect(0, 0, 1920, 32), panel.pixel(960, 16)), 0.0);
    EXPECT_NE(shot.copy(0, 0, 1920, 32), panel) << "the shell's panel is still on screen";
    if (HasFailure()) shot.save(QString::fromStdString(BuildBinDir() + "/wayland-demo.png"));

    // Items go on changing without anyone activating the window.
    EXPECT_TRUE(WaitUntil([&] { return CountLines("transition ") >= 3 || !show.Running(); }, 20s)) << Stats();

    show.Signal(SIGTERM);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(show.Wait(3s), std::optional<int>(0));
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, 2s);
    EXPECT_TRUE(NoExtractedFiles());
}

TEST_F(WaylandEndToEndTest, AFlashItemPlays) {
    if (!fs::exists(BuildBinDir() + "/scrplayer-flash.so") ||
        !fs::exists(BuildBinDir() + "/ruffle/ruffle.js"))
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    const std::string movie = dir_.file("movies/square.swf");
    ASSERT_EQ(RunCommand("python3 '" + SourceDir() + "/assets/generators/make_swf.py' square '" + movie +
                         "' --frames 48 --fps 24"),
              0);
    std::ofstream(dir_.file("show.json"))
        << R"({"name": "Wayland movie", "format_level": 5, "random_order": false, "placement_mode": 0,
 "design_width": 1920, "design_height": 1080, "background_color": "#203040",
 "default_transition_effect": 0, "default_exit_effect": 0,
 "items": [{"file": ")"
        << movie
        << R"(", "kind": "flash", "display_seconds": 6, "left": 480, "top": 270, "width": 960, "height": 540}]})";
    const std::string package = dir_.file("show.scr");
    std::string output;
    ASSERT_EQ(RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + dir_.file("show.json") + "' -o '" +
                             package + "' 2>&1",
                         &output),
              0)
        << output;

    ChildProcess show({BuildBinDir() + "/scrtool", "play", package, "/s"}, Environment());
    // The movie draws: its area changes between two screenshots.
    QImage first;
    const QRect movieArea(480, 270, 960, 540);
    ASSERT_TRUE(WaitUntil(
        [&] {
            first = weston_->Screenshot();
            return !first.isNull() && ShareNotOfColour(first, movieArea, qRgb(0x20, 0x30, 0x40)) > 0.5;
        },
        15s))
        << "the movie's stage never showed";
    QImage later;
    EXPECT_TRUE(WaitUntil(
        [&] {
            later = weston_->Screenshot();
            return !later.isNull() && later.copy(movieArea) != first.copy(movieArea);
        },
        5s))
        << "the movie does not move";
    // The item's end writes its frames: the frame number advanced.
    EXPECT_TRUE(WaitUntil([&] { return CountLines("flash frames=") > 0 || !show.Running(); }, 15s))
        << Stats();
    const std::regex pattern(R"(flash frames=48 last=(\d+) playing=[01])");
    std::smatch m;
    const std::string stats = Stats();
    ASSERT_TRUE(std::regex_search(stats, m, pattern)) << stats;
    EXPECT_GT(std::stoi(m[1]), 0);
    EXPECT_EQ(stats.find("flash error="), std::string::npos) << stats;

    show.Signal(SIGTERM);
    EXPECT_EQ(show.Wait(3s), std::optional<int>(0));
    EXPECT_TRUE(NoExtractedFiles());
}

TEST_F(WaylandEndToEndTest, APreviewWithoutAnX11DisplaySaysWhyAndExits) {
    const std::string err = dir_.file("preview.err");
    // A host's preview box is an X11 window id; this session has none.
    std::string unset, assign;
    for (const auto& [name, value] : Environment())
        (value.empty() ? unset : assign) += value.empty() ? " -u " + name : " " + name + "='" + value + "'";
    const std::string command =
        "timeout 10 env" + unset + assign + " '" + BuildBinDir() + "/demo.scr' /p 4194311 2>'" + err + "'";
    const auto started = std::chrono::steady_clock::now();
    const int status = RunCommand(command);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(status, 69);
    std::ifstream in(err);
    std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("X11"), std::string::npos) << message;
}

// weston reports no idleness: the idle watcher says so at once and leaves,
// rather than wait for ever or poll.
TEST_F(WaylandEndToEndTest, TheIdleWatcherSaysWestonReportsNoIdlenessAndExits) {
    const std::string err = dir_.file("watcher.err");
    std::string unset, assign;
    for (const auto& [name, value] : Environment())
        (value.empty() ? unset : assign) += value.empty() ? " -u " + name : " " + name + "='" + value + "'";
    const std::string command = "timeout 20 env -u DBUS_SESSION_BUS_ADDRESS" + unset + assign + " '" +
                                BuildBinDir() + "/scrtool' saver run '" + BuildBinDir() + "/demo.scr' 2>'" +
                                err + "'";
    EXPECT_EQ(RunCommand(command), 69);
    std::ifstream in(err);
    std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("offers no idle protocol"), std::string::npos) << message;
}

} // namespace
} // namespace scr::test
