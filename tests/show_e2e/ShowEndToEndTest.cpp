// The demo screen saver on a real X server (Xvfb at 1920 x 1080): full screen,
// preview inside a window, and the ways a show ends.
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;

// Temporary files of extracted movies and tracks.
std::vector<std::string> ExtractedFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("~F_", 0) == 0 || name.rfind("~S_", 0) == 0) files.push_back(name);
    }
    return files;
}

double ChangedFraction(const QImage& a, const QImage& b) {
    int changed = 0, total = 0;
    for (int y = 0; y < a.height(); y += 4)
        for (int x = 0; x < a.width(); x += 4, ++total)
            if (a.pixel(x, y) != b.pixel(x, y)) ++changed;
    return total ? static_cast<double>(changed) / total : 0;
}

class ShowEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = BuildBinDir() + "/demo.scr";
        if (!std::filesystem::exists(demo_)) GTEST_SKIP() << "demo.scr is not built";
        ASSERT_TRUE(x_.running()) << "Xvfb could not be started";
        std::filesystem::create_directories(dir_.file("runtime"));
        std::filesystem::permissions(dir_.file("runtime"), std::filesystem::perms::owner_all);
        std::filesystem::create_directories(dir_.file("tmp"));
    }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments,
                                        const std::string& hostWindow = "",
                                        const std::map<std::string, std::string>& moreEnvironment = {}) {
        std::vector<std::string> argv{demo_};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return Run(argv, hostWindow, moreEnvironment);
    }

    std::unique_ptr<ChildProcess> Run(const std::vector<std::string>& argv,
                                      const std::string& hostWindow = "",
                                      const std::map<std::string, std::string>& moreEnvironment = {}) {
        std::map<std::string, std::string> environment{
            {"DISPLAY", x_.display()},
            {"QT_QPA_PLATFORM", "xcb"},
            {"TMPDIR", dir_.file("tmp")},
            {"XDG_RUNTIME_DIR", dir_.file("runtime")},
            {"XDG_CONFIG_HOME", dir_.file("config")},
            {"XDG_DATA_HOME", dir_.file("data")},
            {"XSCREENSAVER_WINDOW", hostWindow},
            {"SCRPLAYER_STATS", dir_.file("stats.txt")},
        };
        environment.insert(moreEnvironment.begin(), moreEnvironment.end());
        return std::make_unique<ChildProcess>(argv, environment);
    }

    // The show's full-screen window, once it is mapped.
    bool WaitForFullScreenWindow() {
        return WaitUntil(
            [&] {
                for (const auto& child : x_.Children(x_.root()))
                    if (child.viewable && child.width == 1920 && child.height == 1080) return true;
                return false;
            },
            10s);
    }

    // The direct children of a window, as xwininfo lists them.
    bool HasOneChildOfSize(uint32_t window, const std::string& geometry, std::string& tree) {
        RunCommand("DISPLAY=" + x_.display() + " xwininfo -children -id " + std::to_string(window), &tree);
        return tree.find("1 child:") != std::string::npos && tree.find(geometry) != std::string::npos;
    }

    void PressKey(const std::string& key) {
        EXPECT_EQ(RunCommand("DISPLAY=" + x_.display() + " xdotool key " + key), 0);
    }

    XvfbServer x_{1920, 1080};
    TempDir dir_;
    std::string demo_;
};

TEST_F(ShowEndToEndTest, FullScreenShowsPicturesAndEndsOnAKeyWithoutLeftovers) {
    auto show = Start({"/s"});
    ASSERT_TRUE(WaitForFullScreenWindow());
    // The first picture, once its entry transition is over: far more colours
    // than the plain background.
    std::this_thread::sleep_for(2s);
    QImage first;
    ASSERT_TRUE(WaitUntil(
        [&] {
            first = x_.Screenshot();
            return DistinctColours(first, first.rect()) > 2000;
        },
        5s));
    // The demo's first item stays 8 seconds; a few seconds later another is on.
    QImage later;
    EXPECT_TRUE(WaitUntil(
        [&] {
            later = x_.Screenshot();
            return ChangedFraction(first, later) > 0.3;
        },
        15s));
    EXPECT_TRUE(show->Running());

    PressKey("a");
    const auto pressed = std::chrono::steady_clock::now();
    const std::optional<int> status = show->Wait(3s);
    ASSERT_TRUE(status.has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 1s);
    EXPECT_EQ(*status, 0);
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

TEST_F(ShowEndToEndTest, NavigationKeysDoNotEndTheShow) {
    auto show = Start({"/s"});
    ASSERT_TRUE(WaitForFullScreenWindow());
    std::this_thread::sleep_for(1500ms);
    PressKey("Right");
    PressKey("Left");
    PressKey("space");
    EXPECT_FALSE(show->Wait(2s).has_value());
    show->Signal(SIGTERM);
    EXPECT_EQ(show->Wait(3s), std::optional<int>(0));
}

TEST_F(ShowEndToEndTest, AFlashItemComingOnScreenDoesNotEndTheShow) {
    if (!std::filesystem::exists(BuildBinDir() + "/scrplayer-flash.so") ||
        !std::filesystem::exists(BuildBinDir() + "/ruffle/ruffle.js"))
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    auto show = Start({"/s"});
    ASSERT_TRUE(WaitForFullScreenWindow());
    // The demo's fifth item is its movie: step there with the navigation keys.
    for (int step = 0; step < 4; ++step) {
        std::this_thread::sleep_for(2500ms);
        PressKey("Right");
    }
    EXPECT_FALSE(show->Wait(5s).has_value()) << "the show ended while its movie came on";
    PressKey("a");
    EXPECT_EQ(show->Wait(5s), std::optional<int>(0));
    std::string stats;
    RunCommand("cat '" + dir_.file("stats.txt") + "'", &stats);
    EXPECT_NE(stats.find("flash frames="), std::string::npos) << stats;
}

// The demo's movie stays exactly 12 seconds (display time -12). Creating its
// player makes the web engine attach and re-parent windows of its own, which
// costs the show window its activation for a moment: the movie keeps its time
// all the same, and the show goes on to the next item after it.
TEST_F(ShowEndToEndTest, AFlashItemKeepsItsDisplayTimeWhileTheEngineAttachesItsWindows) {
    if (!std::filesystem::exists(BuildBinDir() + "/scrplayer-flash.so") ||
        !std::filesystem::exists(BuildBinDir() + "/ruffle/ruffle.js"))
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    auto show = Start({"/s"});
    ASSERT_TRUE(WaitForFullScreenWindow());
    for (int step = 0; step < 4; ++step) {
        std::this_thread::sleep_for(2500ms);
        PressKey("Right");
    }
    const auto movieShown = std::chrono::steady_clock::now();
    // The movie's player reports its frames when it is released: when the
    // movie leaves the screen.
    auto movieReleased = [&] {
        std::string stats;
        RunCommand("cat '" + dir_.file("stats.txt") + "' 2>/dev/null", &stats);
        return stats.find("flash frames=") != std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(movieReleased, 25s)) << "the movie never left the screen";
    const auto shownFor = std::chrono::steady_clock::now() - movieShown;
    EXPECT_GE(shownFor, 11500ms) << "the movie was cut short";
    EXPECT_LE(shownFor, 20s);
    EXPECT_TRUE(show->Running());
    show->Signal(SIGTERM);
    EXPECT_EQ(show->Wait(5s), std::optional<int>(0));
}

TEST_F(ShowEndToEndTest, PreviewDrawsInsideTheHostWindow) {
    const uint32_t host = x_.CreateWindow(100, 100, 320, 200);
    ASSERT_NE(host, 0u);
    auto preview = Start({"/p", std::to_string(host)});
    // The preview is a child of the host window, filling it.
    std::string tree;
    ASSERT_TRUE(WaitUntil([&] { return HasOneChildOfSize(host, "320x200+0+0", tree); }, 10s)) << tree;
    // It draws: the white host window fills with the show.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const QImage shot = x_.Screenshot();
            return QColor(shot.pixel(260, 200)) != QColor(Qt::white) &&
                   DistinctColours(shot, QRect(100, 100, 320, 200)) > 200;
        },
        10s));
    // The full screen stays free: no other top-level window of the player.
    for (const auto& child : x_.Children(x_.root()))
        EXPECT_FALSE(child.viewable && child.width == 1920) << "a full-screen window appeared";
    preview->Signal(SIGTERM);
    EXPECT_EQ(preview->Wait(3s), std::optional<int>(0));
}

// A host's settings preview ("--root --window-id ID", as xscreensaver's
// settings program starts it) of a package whose only item is a movie: the
// movie plays inside the preview window, and the show stays until it is ended.
TEST_F(ShowEndToEndTest, SettingsPreviewPlaysAFlashItem) {
    if (!std::filesystem::exists(BuildBinDir() + "/scrplayer-flash.so") ||
        !std::filesystem::exists(BuildBinDir() + "/ruffle/ruffle.js"))
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    const std::filesystem::path demo = std::filesystem::path(BuildBinDir()).parent_path() / "assets" / "demo";
    ASSERT_TRUE(std::filesystem::exists(demo / "demo.json"));
    // The demo's manifest with its movie as the only item, beside links to its content.
    const std::string packing = dir_.file("movie-only");
    std::filesystem::create_directories(packing);
    for (const auto& entry : std::filesystem::directory_iterator(demo))
        if (entry.path().filename() != "demo.json")
            std::filesystem::create_symlink(entry.path(), packing + "/" + entry.path().filename().string());
    std::ifstream in(demo / "demo.json");
    nlohmann::json manifest = nlohmann::json::parse(in);
    nlohmann::json movies = nlohmann::json::array();
    for (const auto& item : manifest["items"])
        if (item["kind"] == "flash") movies.push_back(item);
    ASSERT_EQ(movies.size(), 1u);
    manifest["items"] = movies;
    std::ofstream(packing + "/demo.json") << manifest.dump(2);
    const std::string package = dir_.file("movie-only.scr");
    std::string output;
    ASSERT_EQ(RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + packing + "/demo.json' -o '" + package +
                             "' 2>&1",
                         &output),
              0)
        << output;

    const uint32_t host = x_.CreateWindow(100, 100, 400, 250);
    ASSERT_NE(host, 0u);
    auto preview =
        Run({BuildBinDir() + "/scrtool", "play", package, "--root", "--window-id", std::to_string(host)},
            std::to_string(host));
    std::string tree;
    ASSERT_TRUE(WaitUntil([&] { return HasOneChildOfSize(host, "400x250+0+0", tree); }, 10s)) << tree;
    // The movie's orbiting lights move inside the preview.
    QImage first;
    ASSERT_TRUE(WaitUntil(
        [&] {
            first = x_.Screenshot().copy(100, 100, 400, 250);
            return DistinctColours(first, first.rect()) > 20;
        },
        20s));
    EXPECT_TRUE(WaitUntil(
        [&] { return ChangedFraction(first, x_.Screenshot().copy(100, 100, 400, 250)) > 0.01; }, 10s));
    EXPECT_FALSE(preview->Wait(3s).has_value()) << "the preview ended while its movie played";
    for (const auto& child : x_.Children(x_.root()))
        EXPECT_FALSE(child.viewable && child.width == 1920) << "a full-screen window appeared";
    preview->Signal(SIGTERM);
    EXPECT_EQ(preview->Wait(5s), std::optional<int>(0));
    std::string stats;
    RunCommand("cat '" + dir_.file("stats.txt") + "'", &stats);
    EXPECT_NE(stats.find("flash frames="), std::string::npos) << stats;
    EXPECT_EQ(stats.find("flash frames=0 "), std::string::npos) << stats;
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

// At a device pixel ratio of 2 the preview still fills its box pixel for
// pixel: the box's size read from the X server is in device pixels, and so
// is the show.
TEST_F(ShowEndToEndTest, PreviewFillsItsHostWindowAtRatio2) {
    const uint32_t host = x_.CreateWindow(100, 100, 320, 200);
    ASSERT_NE(host, 0u);
    auto preview = Start({"/p", std::to_string(host)}, "", {{"QT_SCALE_FACTOR", "2"}});
    std::string tree;
    ASSERT_TRUE(WaitUntil([&] { return HasOneChildOfSize(host, "320x200+0+0", tree); }, 10s)) << tree;
    // The show's background reaches the box's bottom-right corner.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const QImage shot = x_.Screenshot();
            return QColor(shot.pixel(100 + 315, 100 + 195)) != QColor(Qt::white) &&
                   DistinctColours(shot, QRect(100, 100, 320, 200)) > 200;
        },
        10s));
    preview->Signal(SIGTERM);
    EXPECT_EQ(preview->Wait(3s), std::optional<int>(0));
}

TEST_F(ShowEndToEndTest, ScreenSaverHostWindowIsDrawnIntoInsteadOfATopLevelWindow) {
    const uint32_t host = x_.CreateWindow(0, 0, 640, 400);
    ASSERT_NE(host, 0u);
    auto show = Start({"/s"}, std::to_string(host));
    std::string tree;
    ASSERT_TRUE(WaitUntil([&] { return HasOneChildOfSize(host, "640x400+0+0", tree); }, 10s)) << tree;
    // The show starts without waiting for an activation it never gets.
    EXPECT_TRUE(
        WaitUntil([&] { return DistinctColours(x_.Screenshot(), QRect(0, 0, 640, 400)) > 500; }, 10s));
    show->Signal(SIGTERM);
    EXPECT_EQ(show->Wait(3s), std::optional<int>(0));
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

TEST_F(ShowEndToEndTest, ScrtoolPlaysAPackageFromAnotherFile) {
    const uint32_t host = x_.CreateWindow(50, 50, 200, 150);
    auto preview = Run({BuildBinDir() + "/scrtool", "play", demo_, "/p", std::to_string(host)});
    std::string tree;
    EXPECT_TRUE(WaitUntil([&] { return HasOneChildOfSize(host, "200x150+0+0", tree); }, 10s)) << tree;
    EXPECT_TRUE(
        WaitUntil([&] { return DistinctColours(x_.Screenshot(), QRect(50, 50, 200, 150)) > 100; }, 10s));
    preview->Signal(SIGTERM);
    EXPECT_EQ(preview->Wait(3s), std::optional<int>(0));
}

TEST_F(ShowEndToEndTest, SigtermEndsCleanlyWithoutLeftovers) {
    auto show = Start({"/s"});
    ASSERT_TRUE(WaitForFullScreenWindow());
    // The music starts three seconds in, from an extracted temporary file.
    EXPECT_TRUE(WaitUntil([&] { return !ExtractedFiles(dir_.file("tmp")).empty(); }, 8s));
    show->Signal(SIGTERM);
    EXPECT_EQ(show->Wait(3s), std::optional<int>(0));
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

} // namespace
} // namespace scr::test
