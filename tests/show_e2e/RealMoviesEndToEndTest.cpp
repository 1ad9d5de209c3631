// A show of real-world movies, played in sequence on a real X server with
// `scrtool play FILE /s`: every movie of a folder of public movies, with
// generated ones around them (the first item of the show, and three movies
// each twice in a row, as a pooled page serves them). The engine's error
// panel must never be on screen, and every movie's stats line must report
// its frames with the frame number advancing.
//
// The folder is $SCRPLAYER_REALWORLD_SWF, else shared/realworld/swf beside
// the source tree (or one level further up), else the few real-world movies
// kept in tests/data/swf.

#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The engine's error panel: a vertical gradient from red (253, 58, 64) to
// orange (253, 161, 56) filling the movie's rectangle. True when a large part
// of the screen is in that colour band and spans the gradient.
bool ShowsErrorPanel(const QImage& shot) {
    int inBand = 0, total = 0, lowestGreen = 255, highestGreen = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4, ++total) {
            const QColor c(shot.pixel(x, y));
            if (c.red() < 235 || c.green() < 45 || c.green() > 175 || c.blue() < 40 || c.blue() > 80)
                continue;
            ++inBand;
            lowestGreen = std::min(lowestGreen, c.green());
            highestGreen = std::max(highestGreen, c.green());
        }
    return total && inBand > total / 25 && highestGreen - lowestGreen > 50;
}

struct MovieLine {
    int frames = 0, last = 0;
    bool playing = false;
};

class RealMoviesEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FlashEngineBuilt()) GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
        folder_ = RealWorldMovieFolder();
        ASSERT_TRUE(x_.running()) << "Xvfb could not be started";
        for (const char* sub : {"runtime", "tmp", "movies"})
            fs::create_directories(dir_.file(sub));
        fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
    }

    std::string Generated(const std::string& name, int frames, int fps) {
        const std::string path = dir_.file("movies/" + name);
        EXPECT_TRUE(GenerateSquareMovie(path, frames, fps)) << path;
        return path;
    }

    std::string Pack(const std::vector<std::string>& movies) {
        std::vector<ShowItemSpec> items;
        for (const std::string& movie : movies)
            items.push_back({movie});
        std::string error;
        const std::string show = PackShow(dir_.path(), items, &error);
        EXPECT_FALSE(show.empty()) << error;
        return show;
    }

    std::vector<std::string> StatsLines() { return StatsLinesStartingWith(dir_.file("stats.txt"), "flash "); }

    XvfbServer x_{1920, 1080};
    TempDir dir_;
    std::string folder_;
};

TEST_F(RealMoviesEndToEndTest, EveryMoviePlaysWithoutTheErrorPanel) {
    std::vector<std::string> movies{Generated("first.swf", 24, 12)};
    std::vector<std::string> realWorld;
    for (const auto& entry : fs::directory_iterator(folder_))
        if (entry.path().extension() == ".swf") realWorld.push_back(entry.path().string());
    std::sort(realWorld.begin(), realWorld.end());
    ASSERT_FALSE(realWorld.empty()) << folder_;
    movies.insert(movies.end(), realWorld.begin(), realWorld.end());
    const std::string a = Generated("a.swf", 24, 24), b = Generated("b.swf", 12, 24),
                      c = Generated("c.swf", 36, 24);
    for (const std::string& movie : {a, a, b, b, c, c})
        movies.push_back(movie);
    const std::string show = Pack(movies);

    ChildProcess player(
        {BuildBinDir() + "/scrtool", "play", show, "/s"},
        PlayerEnvironment(x_.display(), dir_.path(), dir_.file("tmp"), dir_.file("stats.txt")));
    // Every item has been shown once the first comes round again (a line is
    // written when an item's host is released). Screens are checked meanwhile.
    int shots = 0, panels = 0;
    const bool done = WaitUntil(
        [&] {
            const QImage shot = x_.Screenshot();
            ++shots;
            if (!shot.isNull() && ShowsErrorPanel(shot) && panels++ == 0)
                shot.save(QString::fromStdString(BuildBinDir() + "/real-movies-error-panel.png"));
            std::this_thread::sleep_for(200ms);
            int lines = 0;
            for (const std::string& line : StatsLines())
                lines += line.rfind("flash frames=", 0) == 0;
            return lines >= static_cast<int>(movies.size()) || !player.Running();
        },
        std::chrono::seconds(60 + 4 * movies.size()));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.Wait(5s), std::optional<int>(0));
    ASSERT_TRUE(done) << "the show did not come round to its first item";
    EXPECT_GT(shots, static_cast<int>(movies.size()));
    EXPECT_EQ(panels, 0) << "screenshots showing the error panel (first saved in the build's bin folder)";

    const std::regex pattern(R"(flash frames=(\d+) last=(\d+) playing=([01]))");
    std::vector<MovieLine> lines;
    for (const std::string& line : StatsLines()) {
        EXPECT_EQ(line.rfind("flash error=", 0), std::string::npos) << line;
        std::smatch m;
        if (std::regex_match(line, m, pattern))
            lines.push_back({std::stoi(m[1]), std::stoi(m[2]), m[3] == "1"});
    }
    ASSERT_GE(lines.size(), movies.size());
    for (size_t i = 0; i < movies.size(); ++i) {
        SCOPED_TRACE(movies[i]);
        EXPECT_GT(lines[i].frames, 0) << "no frames reported";
        if (lines[i].frames > 1) {
            EXPECT_GT(lines[i].last, 0) << "the frame number never advanced";
        }
    }
    // The generated movies are waited for: each played to its last frame,
    // the first movie of the show too.
    const size_t generatedAt = 1 + realWorld.size();
    const int generatedFrames[] = {24, 24, 12, 12, 36, 36};
    EXPECT_EQ(lines[0].frames, 24);
    EXPECT_EQ(lines[0].last, 23);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(lines[generatedAt + i].frames, generatedFrames[i]) << "item " << generatedAt + i;
        EXPECT_EQ(lines[generatedAt + i].last, generatedFrames[i] - 1) << "item " << generatedAt + i;
    }
}

} // namespace
} // namespace scr::test
