// Flash movie files of every kind, built here from stubs of our own and
// played as users play them, with `scrtool play FILE /s` on a real X server:
// a movie of several frames advances on screen and reports its frames (it
// loops, so it is still playing when the show ends); a public movie of one
// frame plays with no error.

#include "tests/package/PackageFixture.h"
#include "tests/package/ProjectorFixtures.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Played {
    std::vector<std::string> movies; // the "flash frames=" lines
    std::vector<std::string> errors; // the "flash error=" lines
    bool changedOnScreen = false;    // two screenshots half a second apart differ
    std::optional<int> status;
};

// Plays `file` full screen for a few seconds and ends it as a host does.
Played Play(const XvfbServer& x, const std::string& file, const TempDir& dir, const std::string& name) {
    const std::string stats = dir.file(name + "-stats.txt");
    ChildProcess player({BuildBinDir() + "/scrtool", "play", file, "/s"},
                        PlayerEnvironment(x.display(), dir.path(), dir.path(), stats));
    Played played;
    // The engine starts (a second or two), then the movie plays a while.
    std::this_thread::sleep_for(4s);
    const QImage before = x.Screenshot();
    std::this_thread::sleep_for(500ms);
    played.changedOnScreen = before != x.Screenshot();
    player.Signal(SIGTERM);
    played.status = player.Wait(10s);
    played.movies = StatsLinesStartingWith(stats, "flash frames=");
    played.errors = StatsLinesStartingWith(stats, "flash error=");
    return played;
}

class MovieFilesEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FlashEngineBuilt()) GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
        ASSERT_TRUE(x.running()) << "Xvfb could not be started";
        fs::create_directories(dir.file("runtime"));
        fs::permissions(dir.file("runtime"), fs::perms::owner_all);
    }

    XvfbServer x{1280, 720};
    TempDir dir;
};

TEST_F(MovieFilesEndToEndTest, EveryKindPlaysAndAMovieOfSeveralFramesAdvances) {

    // A public movie of several frames (a shape morph, ActionScript 3) and generated ones.
    const std::vector<uint8_t> morph = ReadFile(SourceDir() + "/tests/data/jpexs-morphshape.swf");
    const auto fws = TestMovie({.frames = 48, .fps = 24});
    const auto cws = TestMovie({.frames = 36, .fps = 24, .compression = SwfCompression::Zlib});
    const auto zws = TestMovie({.frames = 30, .fps = 24, .version = 13, .compression = SwfCompression::Lzma});
    WriteMacApp(dir.file("Fish.app"), cws);
    const auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFile(dir.file(name), bytes);
        return dir.file(name);
    };
    const std::vector<std::pair<std::string, std::string>> files = {
        {"windows-projector", write("Morph.exe", WindowsProjector(BuildPeFile({}), morph))},
        {"linux-projector-32", write("fish32", LinuxProjector(MinimalElfProgram(32), fws, 32))},
        {"linux-projector-64",
         write("fish64", LinuxProjector(ReadFile(BuildBinDir() + "/projector_stub"), zws, 64))},
        {"mac-app", dir.file("Fish.app")},
        {"pe-resource", write("Saver.scr", BuildPeWithResources({{"SHOCKWAVE", 0, "MOVIE", 0, 1033, fws}}))},
        {"embedded-swf", write("Wrapped.exe", WrapperWithDecoys(cws))},
        {"swf", write("bare.swf", zws)},
    };
    const std::regex advanced("flash frames=([0-9]+) last=([0-9]+) playing=1");
    for (const auto& [kind, file] : files) {
        SCOPED_TRACE(kind);
        const Played played = Play(x, file, dir, kind);
        EXPECT_EQ(played.status, std::optional<int>(0));
        EXPECT_TRUE(played.errors.empty()) << played.errors.front();
        ASSERT_EQ(played.movies.size(), 1u);
        std::smatch match;
        ASSERT_TRUE(std::regex_match(played.movies[0], match, advanced)) << played.movies[0];
        EXPECT_GT(std::stoi(match[1]), 1);
        EXPECT_GT(std::stoi(match[2]), 0) << "the movie's frames did not advance";
        EXPECT_TRUE(played.changedOnScreen) << "the screen did not change";
    }
}

TEST_F(MovieFilesEndToEndTest, PublicMoviesOfOneFramePlayWithoutError) {
    // Public movies (see tests/data/swf/SOURCES.md) as a bare movie and as a projector.
    const std::string background = SourceDir() + "/tests/data/swf/image_background-8.swf";
    WriteFile(dir.file("Button.exe"),
              WindowsProjector(BuildPeFile({}),
                               ReadFile(SourceDir() + "/tests/data/swf/custom_button-events-menu-7.swf")));
    for (const std::string& file : {background, dir.file("Button.exe")}) {
        SCOPED_TRACE(file);
        const Played played = Play(x, file, dir, fs::path(file).stem().string());
        EXPECT_EQ(played.status, std::optional<int>(0));
        EXPECT_TRUE(played.errors.empty()) << played.errors.front();
        ASSERT_EQ(played.movies.size(), 1u);
        EXPECT_EQ(played.movies[0].rfind("flash frames=1 ", 0), 0u) << played.movies[0];
    }
}

} // namespace
} // namespace scr::test
