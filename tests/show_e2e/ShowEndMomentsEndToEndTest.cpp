// A Flash show ends cleanly however and whenever it is ended. Shows of
// generated movies and a picture, every page worn after one movie (as after
// a long night), are ended in the three ways a show ends: by SIGTERM, as
// every screen-saver host ends it; by a key; and, for a preview, by its
// host's window going away. Each run aims at one of three moments, found in
// the show's stats log as it plays: while a movie loads, while a worn page
// is being renewed, during a transition. Clean means: exit status 0, no death
// by a signal, no web engine process left behind, no temporary file left.
//
// SCR_END_MOMENT_RUNS sets the number of runs (100 by default; the
// sanitized pass runs fewer). Two runs go at a time, each on its own Xvfb.

#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <thread>
#include <xcb/xcb.h>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

enum class Way { Signal, Key, HostWindowGone };
enum class Moment { MovieLoading, PageRenewal, Transition };

const char* Name(Way way) {
    switch (way) {
    case Way::Signal:
        return "SIGTERM";
    case Way::Key:
        return "key";
    case Way::HostWindowGone:
        return "host window gone";
    }
    return "";
}

const char* Name(Moment moment) {
    switch (moment) {
    case Moment::MovieLoading:
        return "movie loading";
    case Moment::PageRenewal:
        return "page renewal";
    case Moment::Transition:
        return "transition";
    }
    return "";
}

// Where a moment is found in the stats log: the line that starts it (its
// occurrence) and how long after it the show may be ended.
struct Aim {
    const char* line;
    int occurrence;
    int maxDelayMs;
};

// The first movie loads while the web engine starts (a second or more); the
// second loads into a renewed page. A worn page is renewed, and the picture
// after a movie comes in with a transition of about two seconds, at the same
// time.
Aim AimFor(Moment moment, int run) {
    switch (moment) {
    case Moment::MovieLoading:
        return run % 2 ? Aim{"movie-load", 2, 60} : Aim{"movie-load", 1, 600};
    case Moment::PageRenewal:
        return {"page-renewal ", 1 + run % 2, 120};
    case Moment::Transition:
        return {"transition-start ", 1, 1500};
    }
    return {};
}

struct Outcome {
    Way way = Way::Signal;
    Moment aim = Moment::MovieLoading;
    bool aimFound = false;
    std::optional<int> status; // none: did not end within its time
    std::string showEnd;       // the stats log's "show-end" line
    std::string leftBehind;    // the command lines of processes the player left behind
    std::vector<std::string> tempFiles;
    std::string stats;
    std::string stderrTail;
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Processes whose environment holds `token`: the player and everything it
// started. Without a session bus, Qt's X11 platform has D-Bus start one for
// the X display (dbus-launch --autolaunch), which is meant to outlive the
// program and ends with the display; it is not counted.
std::vector<pid_t> ProcessesWith(const std::string& token) {
    std::vector<pid_t> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (ReadText(entry.path() / "environ").find(token) == std::string::npos) continue;
        const std::string command = ReadText(entry.path() / "cmdline");
        if (command.find("dbus-launch") == std::string::npos &&
            command.find("dbus-daemon") == std::string::npos)
            found.push_back(std::stoi(name));
    }
    return found;
}

// How often `prefix` starts a line of the text.
int CountLines(const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    int count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.rfind(prefix, 0) == 0;
    return count;
}

class ShowEndMoments {
public:
    ShowEndMoments(const std::string& show, const std::string& folder) : show_(show), folder_(folder) {}

    Outcome Run(XServer& x, int run, Way way, Moment moment) {
        Outcome out;
        out.way = way;
        out.aim = moment;
        const std::string dir = folder_ + "/run" + std::to_string(run);
        for (const char* sub : {"runtime", "tmp"})
            fs::create_directories(dir + "/" + sub);
        fs::permissions(dir + "/runtime", fs::perms::owner_all);
        const std::string stats = dir + "/stats.txt", errors = dir + "/stderr.txt";
        const std::string token = "scr-end-moment-" + std::to_string(getpid()) + "-" + std::to_string(run);
        std::map<std::string, std::string> env = PlayerEnvironment(x.display(), dir, dir + "/tmp", stats);
        env["SCRPLAYER_FLASH_PAGE_MOVIES"] = "1";
        env["SCR_END_MOMENT_TOKEN"] = token;

        // Standard error goes to a file, through the shell that starts the player.
        std::vector<std::string> argv{
            "/bin/sh", "-c", "exec \"$@\" 2>'" + errors + "'", "sh", BuildBinDir() + "/scrtool",
            "play",    show_};
        const uint32_t host = way == Way::HostWindowGone ? x.CreateWindow(40, 40, 640, 400) : 0;
        if (host)
            argv.insert(argv.end(), {"/p", std::to_string(host)});
        else
            argv.push_back("/s");

        std::mt19937 random(static_cast<unsigned>(run));
        const Aim aim = AimFor(moment, run);
        ChildProcess player(argv, env);
        out.aimFound = WaitUntil(
            [&] { return CountLines(ReadText(stats), aim.line) >= aim.occurrence || !player.Running(); },
            60s);
        out.aimFound = out.aimFound && player.Running();
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % (aim.maxDelayMs + 1)));
        switch (way) {
        case Way::Signal:
            player.Signal(SIGTERM);
            break;
        case Way::Key:
            RunCommand("DISPLAY=" + x.display() + " timeout 10 xdotool key Escape 2>/dev/null");
            break;
        case Way::HostWindowGone:
            xcb_destroy_window(x.connection(), host);
            xcb_flush(x.connection());
            break;
        }
        out.status = player.Wait(30s);
        if (!out.status) {
            player.Signal(SIGKILL);
            player.Wait(5s);
        }
        // Once the player is gone, whatever it started ends within moments.
        WaitUntil([&] { return ProcessesWith(token).empty(); }, 5s);
        for (pid_t pid : ProcessesWith(token)) {
            std::string line = ReadText("/proc/" + std::to_string(pid) + "/cmdline");
            std::replace(line.begin(), line.end(), '\0', ' ');
            out.leftBehind += line.substr(0, 200) + "\n";
            ::kill(pid, SIGKILL);
        }
        for (const auto& entry : fs::recursive_directory_iterator(dir + "/tmp"))
            out.tempFiles.push_back(entry.path().string());
        out.stats = ReadText(stats);
        std::istringstream lines(out.stats);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("show-end ", 0) == 0) out.showEnd = line;
        const std::string error = ReadText(errors);
        out.stderrTail = error.substr(error.size() > 2000 ? error.size() - 2000 : 0);
        return out;
    }

private:
    std::string show_;
    std::string folder_;
};

int RunsWanted() {
    const char* text = std::getenv("SCR_END_MOMENT_RUNS");
    const int runs = text ? std::atoi(text) : 100;
    return std::clamp(runs, 1, 1000);
}

TEST(ShowEndMomentsEndToEndTest, AFlashShowEndsCleanlyWhicheverWayAndWheneverItIsEnded) {
    if (!FlashEngineBuilt()) GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    TempDir dir;
    fs::create_directories(dir.file("movies"));
    std::vector<ShowItemSpec> items;
    for (int i = 0; i < 3; ++i) {
        const std::string movie = dir.file("movies/m" + std::to_string(i) + ".swf");
        ASSERT_TRUE(GenerateSquareMovie(movie, 24, 24)); // one second
        items.push_back({movie});
        // The picture comes in with a wipe of 50 steps 40 ms apart: about two seconds.
        items.push_back(
            {SourceDir() + "/tests/data/testorig.jpg", "picture", 1,
             R"("transition_effect": 1, "transition_step": 2, "transition_delay": 40, "exit_effect": -2)"});
    }
    std::string error;
    const std::string show = PackShow(dir.path(), items, &error);
    ASSERT_FALSE(show.empty()) << error;

    const int runs = RunsWanted();
    constexpr int kWorkers = 2;
    std::vector<std::unique_ptr<XvfbServer>> servers;
    for (int i = 0; i < kWorkers; ++i) {
        servers.push_back(std::make_unique<XvfbServer>(1280, 800));
        ASSERT_TRUE(servers.back()->running()) << "Xvfb could not be started";
    }
    ShowEndMoments moments(show, dir.path());
    std::vector<Outcome> outcomes(static_cast<size_t>(runs));
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&, w] {
            for (int run = w; run < runs; run += kWorkers) {
                const auto way = static_cast<Way>(run % 3);
                const auto moment = static_cast<Moment>((run / 3) % 3);
                outcomes[static_cast<size_t>(run)] =
                    moments.Run(*servers[static_cast<size_t>(w)], run, way, moment);
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // Clean, every run.
    std::map<std::string, int> endedDuring;
    std::map<std::string, int> byWay;
    int aimsFound = 0;
    for (size_t run = 0; run < outcomes.size(); ++run) {
        const Outcome& o = outcomes[run];
        SCOPED_TRACE("run " + std::to_string(run) + " (" + Name(o.way) + ", aimed at " + Name(o.aim) +
                     ")\nstats:\n" + o.stats + "standard error (end):\n" + o.stderrTail);
        EXPECT_EQ(o.status, std::optional<int>(0)) << "a negative status is the signal that ended the player";
        EXPECT_TRUE(o.leftBehind.empty()) << "left behind: " << o.leftBehind;
        EXPECT_TRUE(o.tempFiles.empty()) << "left behind: " << (o.tempFiles.empty() ? "" : o.tempFiles[0]);
        EXPECT_FALSE(o.showEnd.empty()) << "no show-end line";
        aimsFound += o.aimFound;
        ++byWay[Name(o.way)];
        for (const char* field : {"transition=1", "movie-loading=1", "page-renewal=1"})
            endedDuring[field] += o.showEnd.find(field) != std::string::npos;
    }
    std::printf("%d runs in %.0f s on %d Xvfb servers (%d aims found): ", runs, seconds, kWorkers, aimsFound);
    for (const auto& [way, count] : byWay)
        std::printf("%s %d, ", way.c_str(), count);
    std::printf("ended during: page renewal %d, movie loading %d, transition %d\n",
                endedDuring["page-renewal=1"], endedDuring["movie-loading=1"], endedDuring["transition=1"]);
    // Each moment was met often enough to count.
    const int least = std::max(1, runs / 10);
    EXPECT_GE(endedDuring["page-renewal=1"], least);
    EXPECT_GE(endedDuring["movie-loading=1"], least);
    EXPECT_GE(endedDuring["transition=1"], least);
}

} // namespace
} // namespace scr::test
