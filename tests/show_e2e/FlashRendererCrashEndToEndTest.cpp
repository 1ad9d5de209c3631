// The web engine's renderer process during a Flash show. When it dies during
// a movie (killed by its process id, as the kernel does when memory runs
// out), the show must go on with the next items, and a later movie must play
// to its end in a fresh renderer. When its page is worn, the page and its
// renderer give way to fresh ones between two movies, and the old renderer
// ends.

#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class FlashRendererCrashEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FlashEngineBuilt()) GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
        ASSERT_TRUE(x_.running()) << "Xvfb could not be started";
        for (const char* sub : {"runtime", "tmp", "movies"})
            fs::create_directories(dir_.file(sub));
        fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
    }

    std::string Stats() const { return dir_.file("stats.txt"); }
    size_t Count(const std::string& prefix) const { return StatsLinesStartingWith(Stats(), prefix).size(); }

    XvfbServer x_{1920, 1080};
    TempDir dir_;
};

// How often the renderer is killed during the first movie, and what then
// becomes of that movie: killed once, the movie is played again in a fresh
// page, to its end; killed again during that second try, it is given up
// (a "flash error=" line) and the show moves on.
struct RendererKills {
    int kills;
    const char* firstMovie; // the start of the first movie's stats line
    bool firstMovieFails;
};

void PrintTo(const RendererKills& c, std::ostream* out) {
    *out << c.kills << (c.kills == 1 ? " kill" : " kills");
}

class FlashRendererKillsEndToEndTest : public FlashRendererCrashEndToEndTest,
                                       public ::testing::WithParamInterface<RendererKills> {};

TEST_P(FlashRendererKillsEndToEndTest, TheShowGoesOnAndALaterMoviePlays) {
    const RendererKills& c = GetParam();
    const std::string first = dir_.file("movies/first.swf"), later = dir_.file("movies/later.swf");
    ASSERT_TRUE(GenerateSquareMovie(first, 240, 24)); // ten seconds, waited for
    ASSERT_TRUE(GenerateSquareMovie(later, 24, 24));
    const std::string picture = SourceDir() + "/tests/data/testorig.jpg";
    std::string error;
    const std::string show =
        PackShow(dir_.path(), {{first}, {picture, "picture"}, {later}, {picture, "picture"}}, &error);
    ASSERT_FALSE(show.empty()) << error;

    ChildProcess player({BuildBinDir() + "/scrtool", "play", show, "/s"},
                        PlayerEnvironment(x_.display(), dir_.path(), dir_.file("tmp"), Stats()));

    // Each time the first movie plays (the screen changes between two looks)
    // in a renderer not killed before, that renderer is killed.
    std::vector<pid_t> killed;
    std::string stats;
    for (int kill = 0; kill < c.kills; ++kill) {
        std::vector<pid_t> renderers;
        QImage before;
        ASSERT_TRUE(WaitUntil(
            [&] {
                if (!player.Running()) return true;
                renderers = RendererProcesses(player.pid());
                std::erase_if(renderers,
                              [&](pid_t pid) { return std::count(killed.begin(), killed.end(), pid); });
                const QImage now = x_.Screenshot();
                const bool moving = !before.isNull() && !now.isNull() && now != before;
                before = now;
                std::this_thread::sleep_for(100ms);
                return !renderers.empty() && moving;
            },
            60s))
            << "the first movie never moved on screen in a fresh renderer (kill " << kill + 1 << ")";
        ASSERT_TRUE(player.Running()) << "the player ended during its first movie";
        RunCommand("cat '" + Stats() + "' 2>/dev/null", &stats);
        ASSERT_EQ(Count("flash "), 0u) << "the first movie ended before its renderer was killed:\n" << stats;
        for (pid_t renderer : renderers) {
            EXPECT_EQ(::kill(renderer, SIGKILL), 0) << renderer;
            killed.push_back(renderer);
        }
    }

    // The show goes on: the first movie's host is released, the picture and
    // the later movie come, and the picture after it (every item's coming
    // writes a transition line).
    const bool done = WaitUntil(
        [&] { return (Count("flash frames=") >= 2 && Count("transition ") >= 4) || !player.Running(); }, 90s);
    const bool running = player.Running();
    const std::vector<pid_t> now = RendererProcesses(player.pid());
    player.Signal(SIGTERM);
    EXPECT_EQ(player.Wait(10s), std::optional<int>(0));
    RunCommand("cat '" + Stats() + "'", &stats);
    SCOPED_TRACE("stats:\n" + stats);
    ASSERT_TRUE(running) << "the player ended after its renderer was killed";
    ASSERT_TRUE(done) << "the show did not go on after the renderer was killed";

    const std::vector<std::string> movies = StatsLinesStartingWith(Stats(), "flash frames=");
    ASSERT_GE(movies.size(), 2u);
    EXPECT_EQ(movies[0].rfind(c.firstMovie, 0), 0u) << movies[0];
    const std::vector<std::string> errors = StatsLinesStartingWith(Stats(), "flash error=");
    EXPECT_EQ(errors.size(), c.firstMovieFails ? 1u : 0u);
    // The later movie played in a fresh renderer, from its first frame to its last.
    EXPECT_EQ(movies[1].rfind("flash frames=24 last=23 ", 0), 0u) << movies[1];
    EXPECT_FALSE(now.empty()) << "no renderer at the end";
    for (pid_t renderer : now)
        EXPECT_EQ(std::count(killed.begin(), killed.end(), renderer), 0) << "killed renderer " << renderer;
}

INSTANTIATE_TEST_SUITE_P(Kills, FlashRendererKillsEndToEndTest,
                         ::testing::Values(RendererKills{1, "flash frames=240 last=239 ", false},
                                           RendererKills{2, "flash frames=240 ", true}),
                         [](const auto& param) {
                             return param.param.kills == 1 ? std::string("Once") : std::string("Twice");
                         });

// What makes a page worn here: one movie served, or a renderer above 1 MB
// resident (every renderer is). Each movie comes back worn, so each
// following movie plays in a fresh renderer process, from its first frame to
// its last, and the worn renderers end.
struct WornAfter {
    const char* variable;
    const char* name;
};

void PrintTo(const WornAfter& c, std::ostream* out) {
    *out << c.variable << "=1";
}

class FlashPageRenewalEndToEndTest : public FlashRendererCrashEndToEndTest,
                                     public ::testing::WithParamInterface<WornAfter> {};

TEST_P(FlashPageRenewalEndToEndTest, AWornPageGivesWayToAFreshRendererBetweenMovies) {
    constexpr int kMovies = 3;
    std::vector<ShowItemSpec> items;
    for (int i = 0; i < kMovies; ++i) {
        const std::string movie = dir_.file("movies/m" + std::to_string(i) + ".swf");
        ASSERT_TRUE(GenerateSquareMovie(movie, 24, 24));
        items.push_back({movie});
        items.push_back({SourceDir() + "/tests/data/testorig.jpg", "picture"});
    }
    std::string error;
    const std::string show = PackShow(dir_.path(), items, &error);
    ASSERT_FALSE(show.empty()) << error;
    auto environment = PlayerEnvironment(x_.display(), dir_.path(), dir_.file("tmp"), Stats());
    environment[GetParam().variable] = "1";
    ChildProcess player({BuildBinDir() + "/scrtool", "play", show, "/s"}, environment);

    // Every renderer seen while the show plays its items once.
    std::vector<pid_t> seen;
    const bool done = WaitUntil(
        [&] {
            for (pid_t renderer : RendererProcesses(player.pid()))
                if (!std::count(seen.begin(), seen.end(), renderer)) seen.push_back(renderer);
            std::this_thread::sleep_for(100ms);
            return Count("flash frames=") >= kMovies || !player.Running();
        },
        120s);
    const bool running = player.Running();
    // The worn renderers end (the page of the last movie may still be going).
    std::vector<pid_t> now;
    WaitUntil(
        [&] {
            now = RendererProcesses(player.pid());
            return now.size() == 1;
        },
        20s);
    player.Signal(SIGTERM);
    EXPECT_EQ(player.Wait(10s), std::optional<int>(0));
    std::string stats;
    RunCommand("cat '" + Stats() + "'", &stats);
    SCOPED_TRACE("stats:\n" + stats);
    ASSERT_TRUE(running) << "the player ended";
    ASSERT_TRUE(done) << "the movies did not all end";

    for (const std::string& movie : StatsLinesStartingWith(Stats(), "flash frames="))
        EXPECT_EQ(movie.rfind("flash frames=24 last=23 ", 0), 0u) << movie;
    EXPECT_EQ(Count("flash error="), 0u);
    EXPECT_GE(seen.size(), static_cast<size_t>(kMovies)) << "one renderer for each movie";
    EXPECT_EQ(now.size(), 1u) << "the worn renderers did not end";
}

INSTANTIATE_TEST_SUITE_P(Worn, FlashPageRenewalEndToEndTest,
                         ::testing::Values(WornAfter{"SCRPLAYER_FLASH_PAGE_MOVIES", "OneMovie"},
                                           WornAfter{"SCRPLAYER_FLASH_RENDERER_MB", "OneMegabyte"}),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace scr::test
