// Public ActionScript 3 movies in a show on a real X server: a movie of
// several frames reports its frames as they advance and, since the show's
// movies do not loop, its end, so the show waits for it; a movie of one frame
// (scripted animation) keeps its display time.

#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(As3MoviesEndToEndTest, AMovieOfSeveralFramesAdvancesToItsEndAndIsWaitedFor) {
    if (!FlashEngineBuilt()) GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    XvfbServer x(1920, 1080);
    ASSERT_TRUE(x.running()) << "Xvfb could not be started";
    TempDir dir;
    fs::create_directories(dir.file("runtime"));
    fs::permissions(dir.file("runtime"), fs::perms::owner_all);
    // A shape morph of 10 frames (public test data, see tests/data/SOURCES.md), twice, a picture between.
    const std::string morph = SourceDir() + "/tests/data/jpexs-morphshape.swf";
    const std::string picture = SourceDir() + "/tests/data/testorig.jpg";
    std::string error;
    const std::string show = PackShow(dir.path(), {{morph}, {picture, "picture"}, {morph}}, &error);
    ASSERT_FALSE(show.empty()) << error;
    const std::string stats = dir.file("stats.txt");
    ChildProcess player({BuildBinDir() + "/scrtool", "play", show, "/s"},
                        PlayerEnvironment(x.display(), dir.path(), dir.path(), stats));
    const bool done = WaitUntil(
        [&] { return StatsLinesStartingWith(stats, "flash frames=").size() >= 2 || !player.Running(); }, 90s);
    player.Signal(SIGTERM);
    EXPECT_EQ(player.Wait(10s), std::optional<int>(0));
    ASSERT_TRUE(done) << "the show did not come to its second movie's end";
    EXPECT_TRUE(StatsLinesStartingWith(stats, "flash error=").empty());
    // Each reached its last frame by its own frame notices and ended there
    // (without them the frame reads 0 and, after a silence, playing 0; before
    // them an ActionScript 3 movie read its last frame and playing 1 throughout).
    // The show may have come round to its first item again when it was ended.
    const std::vector<std::string> movies = StatsLinesStartingWith(stats, "flash frames=");
    ASSERT_GE(movies.size(), 2u);
    EXPECT_EQ(movies[0], "flash frames=10 last=9 playing=0");
    EXPECT_EQ(movies[1], "flash frames=10 last=9 playing=0");
}

} // namespace
} // namespace scr::test
