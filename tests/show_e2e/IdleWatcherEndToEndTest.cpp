// The idle watcher under real compositors, headless, each with a session bus
// of its own (see WaylandUserSession.h). On sway 1.7 (org_kde_kwin_idle) the
// watcher is started the way a sway user starts it: by the `exec` line
// `scrtool saver enable` prints, in sway's config; most cases run there. KWin
// 5.27 tests the ext-idle-notify-v1 path, mutter 43 GNOME's idle monitor on
// the bus.

#include "tests/show_e2e/FlashShow.h"
#include "tests/show_e2e/WaylandUserSession.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace scr::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class IdleWatcherSwayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(session_.Prepare());
        file_ = session_.file("Northern Lights.scr");
        fs::copy_file(BuildBinDir() + "/demo.scr", file_);
        fs::permissions(file_, fs::perms(0644));
    }

    // Registers `file_` as the user does, takes the config line it prints and
    // starts sway with it; waits for the watcher.
    void StartWatcher(int idleSeconds) {
        std::string output;
        // Outside a session: enable only writes the entry and prints sway's line.
        ASSERT_EQ(session_.RunAndWait("env XDG_SESSION_TYPE= SWAYSOCK=/not/running '" + BuildBinDir() +
                                          "/scrtool' saver enable '" + file_ + "' --after " +
                                          std::to_string(idleSeconds),
                                      &output),
                  0)
            << output;
        const std::size_t exec = output.find("\n  exec ");
        ASSERT_NE(exec, std::string::npos) << "no sway config line in:\n" << output;
        const std::string line = output.substr(exec + 3, output.find('\n', exec + 1) - exec - 3);
        ASSERT_TRUE(fs::exists(session_.home() + "/.config/autostart/scrplayer-saver.desktop")) << output;
        ASSERT_NO_FATAL_FAILURE(session_.Start(line));
        ASSERT_TRUE(WaitUntil([&] { return !WatchersOf(file_).empty(); }, 10s)) << session_.CompositorLog();
        // The watcher has armed its idle timeout once it has said what it watches.
        ASSERT_TRUE(
            WaitUntil([&] { return session_.CompositorLog().find("of idleness") != std::string::npos; }, 10s))
            << session_.CompositorLog();
    }

    bool Showing() const { return !ShowsOf(file_).empty(); }

    // Waits for a show to start; the seconds it took, or a negative number.
    double SecondsUntilShown(std::chrono::seconds timeout) const {
        const auto start = Clock::now();
        return WaitUntil([&] { return Showing(); }, timeout) ? SecondsSince(start) : -1;
    }

    std::string Log() const { return session_.CompositorLog(); }

    WaylandUserSession session_;
    std::string file_;
};

TEST_F(IdleWatcherSwayTest, KeysKeepTheShowOffItComesAfterTheIdleTimeAndAKeyEndsIt) {
    ASSERT_NO_FATAL_FAILURE(StartWatcher(3));
    std::string status;
    EXPECT_EQ(session_.RunAndWait("'" + BuildBinDir() + "/scrtool' saver status", &status), 0) << status;
    EXPECT_NE(status.find("running for: " + file_), std::string::npos) << status;
    EXPECT_NE(status.find("idle source: org_kde_kwin_idle"), std::string::npos) << status;
    EXPECT_NE(status.find("idle time: 3 s"), std::string::npos) << status;

    // A key every second for ten seconds: never idle for three.
    const auto typing = Clock::now();
    bool shownWhileTyping = false;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(session_.Key());
        shownWhileTyping = shownWhileTyping || Showing();
        std::this_thread::sleep_until(typing + std::chrono::seconds(i + 1));
        shownWhileTyping = shownWhileTyping || Showing();
    }
    EXPECT_FALSE(shownWhileTyping) << Log();
    const auto lastKey = Clock::now() - 1s;
    ASSERT_TRUE(WaitUntil([&] { return Showing(); }, 10s)) << Log();
    const double after = SecondsSince(lastKey);
    EXPECT_GE(after, 2.0);
    EXPECT_LE(after, 4.0);
    // The show is on screen, full screen: the demo's first picture, not a plain background.
    ASSERT_TRUE(WaitUntil([&] { return DistinctColours(session_.Screenshot()) > 500; }, 10s)) << Log();

    // A key ends it within two seconds, and the next idle spell brings it back.
    ASSERT_TRUE(session_.Key());
    const auto pressed = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return !Showing(); }, 5s)) << Log();
    EXPECT_LE(SecondsSince(pressed), 2.0);
    const double again = SecondsUntilShown(10s);
    EXPECT_GE(again, 2.0) << Log();
    EXPECT_LE(again, 4.5) << Log();

    // One watcher per user: a second one says so and leaves.
    std::string second;
    EXPECT_EQ(
        session_.RunAndWait("'" + BuildBinDir() + "/scrtool' saver run '" + file_ + "' --after 3", &second),
        3);
    EXPECT_NE(second.find("runs already"), std::string::npos) << second;
    EXPECT_EQ(WatchersOf(file_).size(), 1u);
}

// A client that asks org.freedesktop.ScreenSaver to inhibit the screen saver
// (a video player) and stays on the bus for `seconds`, then leaves.
const char* const kInhibitor = R"(
import sys, gi
gi.require_version('Gio', '2.0')
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.call_sync('org.freedesktop.ScreenSaver', '/org/freedesktop/ScreenSaver', 'org.freedesktop.ScreenSaver',
              'Inhibit', GLib.Variant('(ss)', ('test player', 'a video plays')), GLib.VariantType('(u)'),
              Gio.DBusCallFlags.NONE, -1, None)
print('inhibited', flush=True)
loop = GLib.MainLoop()
GLib.timeout_add_seconds(int(sys.argv[1]), loop.quit)
loop.run()
)";

TEST_F(IdleWatcherSwayTest, AnInhibitionOnTheBusKeepsItOffUntilItsCallerLeaves) {
    ASSERT_NO_FATAL_FAILURE(StartWatcher(3));
    const std::string script = session_.file("inhibitor.py");
    std::ofstream(script) << kInhibitor;
    fs::permissions(script, fs::perms(0644));
    auto inhibitor = session_.Run({"/usr/bin/python3", script, "15"});
    const auto start = Clock::now();
    bool shown = false;
    while (SecondsSince(start) < 14) {
        shown = shown || Showing();
        std::this_thread::sleep_for(200ms);
    }
    EXPECT_FALSE(shown) << "the show came while a video player inhibited it\n" << Log();
    ASSERT_EQ(inhibitor->Wait(10s), std::optional<int>(0)) << "the inhibitor failed";
    const auto released = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return Showing(); }, 10s)) << Log();
    EXPECT_LE(SecondsSince(released), 4.0);
}

TEST_F(IdleWatcherSwayTest, TheShowNeitherInhibitsIdlenessNorWakesTheUser) {
    // A show whose first item is a movie with sound, shown for long.
    std::string error;
    const std::string movies = session_.file("movies");
    fs::create_directories(movies);
    const std::string show = PackShow(movies,
                                      {{SourceDir() + "/tests/data/swf/sound_adpcm-3.swf", "flash", 60},
                                       {SourceDir() + "/tests/data/testorig.jpg", "picture", 60}},
                                      &error);
    ASSERT_FALSE(show.empty()) << error;
    fs::rename(show, file_);
    fs::permissions(file_, fs::perms(0644));
    ASSERT_NO_FATAL_FAILURE(StartWatcher(2));
    auto monitor =
        session_.Run({"/bin/sh", "-c",
                      "exec dbus-monitor --session \"interface='org.freedesktop.ScreenSaver'\" >'" +
                          session_.file("out/monitor.txt") + "' 2>&1"});
    ASSERT_TRUE(WaitUntil([&] { return Showing(); }, 15s)) << Log();
    std::this_thread::sleep_for(20s);
    EXPECT_TRUE(Showing()) << "the show ended without input\n" << Log();
    monitor->Signal(SIGTERM);
    monitor->Wait(5s);
    std::ifstream in(session_.file("out/monitor.txt"));
    const std::string seen((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seen.find("member=Inhibit"), std::string::npos) << seen;
}

TEST_F(IdleWatcherSwayTest, ADamagedFileOrACrashedShowIsReportedAndTheWatcherGoesOn) {
    ASSERT_NO_FATAL_FAILURE(StartWatcher(2));
    const std::string kept = session_.file("kept.scr");
    fs::copy_file(file_, kept);
    fs::resize_file(file_, fs::file_size(file_) / 2);
    ASSERT_TRUE(WaitUntil([&] { return Log().find("holds no screen saver") != std::string::npos; }, 10s))
        << Log();
    EXPECT_FALSE(Showing());

    // Mended: the next idle spell shows it (a key makes a new spell).
    fs::copy_file(kept, file_, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(session_.Key());
    ASSERT_GT(SecondsUntilShown(10s), 0) << Log();

    // The show crashes: the watcher says so and shows it again after the next spell.
    for (pid_t pid : ShowsOf(file_))
        ::kill(pid, SIGSEGV);
    ASSERT_TRUE(WaitUntil([&] { return Log().find("crashed") != std::string::npos; }, 10s)) << Log();
    ASSERT_TRUE(WaitUntil([&] { return !Showing(); }, 5s));
    EXPECT_GT(SecondsUntilShown(10s), 0) << Log();
    EXPECT_EQ(WatchersOf(file_).size(), 1u);
}

TEST_F(IdleWatcherSwayTest, TheWatcherEndsWithAMessageWhenTheCompositorOrTheBusGoes) {
    struct Case {
        const char* what;
        const char* says;
    };
    for (const Case& c :
         {Case{"compositor", "the Wayland compositor went away"}, Case{"bus", "the session bus went away"}}) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(StartWatcher(60));
        if (std::string(c.what) == "compositor")
            session_.StopCompositor();
        else
            session_.StopBus();
        EXPECT_TRUE(WaitUntil([&] { return WatchersOf(file_).empty(); }, 10s));
        EXPECT_NE(Log().find(c.says), std::string::npos) << Log();
        session_.StopCompositor();
    }
}

// The watcher started directly, on the compositors other than sway.
class IdleWatcherDesktopTest : public ::testing::Test {
protected:
    void StartWatcher(WaylandUserSession::Compositor compositor, int idleSeconds) {
        session_ = std::make_unique<WaylandUserSession>(compositor);
        ASSERT_NO_FATAL_FAILURE(session_->Prepare());
        file_ = session_->file("Northern Lights.scr");
        fs::copy_file(BuildBinDir() + "/demo.scr", file_);
        fs::permissions(file_, fs::perms(0644));
        ASSERT_NO_FATAL_FAILURE(session_->Start());
        log_ = session_->file("out/watcher.log");
        watcher_ = session_->Run({"/bin/sh", "-c",
                                  "exec '" + BuildBinDir() + "/scrtool' saver run '" + file_ + "' --after " +
                                      std::to_string(idleSeconds) + " >'" + log_ + "' 2>&1"},
                                 {{"SCRPLAYER_STATS", session_->file("out/stats.txt")}});
        ASSERT_TRUE(WaitUntil([&] { return Log().find("of idleness") != std::string::npos; }, 20s))
            << Log() << session_->CompositorLog();
    }

    std::string Log() const {
        std::ifstream in(log_);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool Showing() const { return !ShowsOf(file_).empty(); }

    // The show comes after the idle time, a key ends it within 2 s, and it
    // comes again after the next spell.
    void ExpectTheShowComesAndGoes() {
        const auto armed = Clock::now();
        ASSERT_TRUE(WaitUntil([&] { return Showing(); }, 15s)) << Log();
        EXPECT_GE(SecondsSince(armed), 2.0) << Log();
        EXPECT_LE(SecondsSince(armed), 5.0) << Log();
        std::this_thread::sleep_for(2s); // on screen for a moment
        ASSERT_TRUE(session_->Key());
        const auto pressed = Clock::now();
        ASSERT_TRUE(WaitUntil([&] { return !Showing(); }, 5s)) << Log();
        EXPECT_LE(SecondsSince(pressed), 2.0);
        EXPECT_TRUE(WaitUntil([&] { return Showing(); }, 10s)) << Log();
    }

    std::unique_ptr<WaylandUserSession> session_;
    std::unique_ptr<ChildProcess> watcher_;
    std::string file_;
    std::string log_;
};

TEST_F(IdleWatcherDesktopTest, OnKWinTheStandardIdleProtocolStartsAndEndsTheShow) {
    ASSERT_NO_FATAL_FAILURE(StartWatcher(WaylandUserSession::Compositor::KWin, 3));
    EXPECT_NE(Log().find("(ext-idle-notify-v1)"), std::string::npos) << Log();
    ExpectTheShowComesAndGoes();
}

TEST_F(IdleWatcherDesktopTest, OnMutterTheIdleMonitorStartsTheShowAboveAFocusedWindow) {
    ASSERT_NO_FATAL_FAILURE(StartWatcher(WaylandUserSession::Compositor::Mutter, 3));
    EXPECT_NE(Log().find("(org.gnome.Mutter.IdleMonitor)"), std::string::npos) << Log();
    // Another program's window has the focus when the user leaves.
    const std::string focus = session_->file("out/focus.txt");
    auto other = session_->Run(
        {"/bin/sh", "-c", "exec '" + BuildBinDir() + "/scr_test_focus_window' >'" + focus + "' 2>/dev/null"});
    const auto focusLog = [&] {
        std::ifstream in(focus);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    ASSERT_TRUE(WaitUntil([&] { return focusLog() == "active\n"; }, 10s)) << focusLog();
    ASSERT_TRUE(session_->Key());
    ExpectTheShowComesAndGoes();
    // The show took the focus from it, full screen (the compositor keeps a
    // focused full-screen window above the others).
    EXPECT_NE(focusLog().find("active\ninactive\n"), std::string::npos) << focusLog();
    std::ifstream in(session_->file("out/stats.txt"));
    const std::string stats((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(stats.find("window-activated width=1280 height=720 full-screen=1"), std::string::npos) << stats;
    other->Signal(SIGTERM);
}

} // namespace
} // namespace scr::test
