// The real xscreensaver daemon on a private X server, run as an ordinary
// user (it starts no screen savers for root): the demo packed as an
// installer is installed by keyboard, the daemon runs it in its own window
// when activated, ends it when deactivated, and the uninstaller takes it
// out of the daemon's list again.
#include "tests/show_e2e/ScreenSaverUser.h"

#include <QImage>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace scr::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool HasLine(const std::string& text, const std::string& line) {
    return text.starts_with(line + "\n") || text.find("\n" + line + "\n") != std::string::npos;
}

// The programs list of the host's own defaults, as its package installs
// them, in the form of the user's file ("programs:" and its lines).
std::string HostDefaultList() {
    std::istringstream in(ReadText("/etc/X11/app-defaults/XScreenSaver"));
    std::string line, list;
    bool inList = false;
    while (std::getline(in, line)) {
        if (!inList && !line.starts_with("*programs:")) continue;
        list += (inList ? line : line.substr(1)) + "\n";
        inList = true;
        if (!line.ends_with('\\')) break;
    }
    if (!list.empty()) list.pop_back();
    return list;
}

class ScreenSaverDaemon : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(BuildBinDir()).parent_path() / "assets" / "demo" / "demo.json"))
            GTEST_SKIP() << "the demo assets are not built";
        ASSERT_TRUE(x_.running()) << "Xvfb could not be started";
        ASSERT_NO_FATAL_FAILURE(user_.Prepare());
    }

    std::string home() const { return user_.home(); }
    std::string installed() const { return user_.installed(); }
    std::string DaemonLog() const { return user_.DaemonLog(); }
    bool Command(const std::string& what) { return user_.Command(what); }

    XvfbServer x_{1024, 768};
    ScreenSaverUser user_{x_};
};

TEST_F(ScreenSaverDaemon, InstalledDemoRunsInTheDaemonsWindowAndEndsWithIt) {
    ASSERT_NO_FATAL_FAILURE(user_.Install());
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(home() + "/settings-started"); }, 10s))
        << "the host's settings program was not started";

    // The entry is in the user's list, chosen, and the daemon reads the file without complaint.
    const std::string config = ReadText(home() + "/.xscreensaver");
    EXPECT_NE(config.find("'" + installed() + "' -root"), std::string::npos) << config.substr(0, 300);
    EXPECT_TRUE(HasLine(config, "mode:\t\tone")) << config.substr(0, 300);
    ASSERT_NO_FATAL_FAILURE(user_.StartDaemon());
    ASSERT_TRUE(Command("-activate")) << DaemonLog();

    // It runs ours (the selection), in the daemon's window.
    std::vector<pid_t> shows;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shows = ProcessesRunning(installed());
            return !shows.empty();
        },
        20s))
        << DaemonLog();
    const pid_t show = shows.front();
    const uint32_t window = DaemonWindowOf(show);
    std::vector<std::pair<pid_t, uint32_t>> forked;
    ASSERT_TRUE(WaitUntil(
        [&] {
            forked = ProgramsStarted(DaemonLog());
            return !forked.empty();
        },
        5s))
        << DaemonLog();
    EXPECT_EQ(forked.front().first, show);
    EXPECT_EQ(window, forked.front().second);
    // A picture of ours fills the screen, and the music is playing from its extracted file.
    EXPECT_TRUE(WaitUntil([&] { return DistinctColours(x_.Screenshot()) > 2000; }, 20s));
    // Its window is the one child of the daemon's, filling it.
    std::string tree;
    RunCommand("DISPLAY=" + x_.display() + " xwininfo -children -id " + std::to_string(forked.front().second),
               &tree);
    EXPECT_NE(tree.find("1 child:"), std::string::npos) << tree;
    EXPECT_NE(tree.find("1024x768+0+0"), std::string::npos) << tree;

    EXPECT_TRUE(WaitUntil([&] { return !ExtractedFiles(user_.file("tmp")).empty(); }, 20s));

    // Deactivation ends it at once, and it leaves nothing behind.
    ASSERT_TRUE(Command("-deactivate"));
    const auto deactivated = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show); }, 2s)) << "still running after the deactivation";
    EXPECT_LT(std::chrono::steady_clock::now() - deactivated, 2s);
    EXPECT_TRUE(ExtractedFiles(user_.file("tmp")).empty());

    // Uninstall, answered with Yes (Enter): out of the list, nothing chosen that is gone.
    auto uninstaller = user_.RunAsUser({installed(), "-U"});
    std::optional<int> status;
    for (int attempt = 0; attempt < 3 && !status; ++attempt) {
        ASSERT_TRUE(user_.TypeInto(uninstaller->pid(), {"Return"}));
        status = uninstaller->Wait(10s);
    }
    ASSERT_EQ(status, std::optional<int>(0));
    EXPECT_FALSE(fs::exists(installed()));
    const std::string after = ReadText(home() + "/.xscreensaver");
    EXPECT_EQ(after.find("Demo Screen Saver"), std::string::npos) << after.substr(0, 300);
    // The file is the host's own default list again, with nothing chosen.
    EXPECT_EQ(after, "mode:\t\trandom\nselected:\t-1\n" + HostDefaultList() + "\n");

    // The daemon takes the changed file without complaint and runs one of its own.
    auto startedPrograms = [&] { return ProgramsStarted(DaemonLog()).size(); };
    ASSERT_TRUE(Command("-activate"));
    EXPECT_TRUE(WaitUntil([&] { return startedPrograms() == 2u; }, 20s)) << DaemonLog();
    ASSERT_TRUE(Command("-deactivate"));
    const std::string log = DaemonLog();
    EXPECT_EQ(log.find("/.xscreensaver:"), std::string::npos) << "a complaint about the file:\n" << log;
    EXPECT_EQ(log.find("Demo Screen Saver", log.rfind(" on window ")), std::string::npos) << log;
}

// The settings program the installer starts previews the new screen saver
// with "--root --window-id ID". That preview is not the daemon's show: it
// outlives a deactivation of the daemon, and ends with the settings program.
TEST_F(ScreenSaverDaemon, SettingsPreviewOutlivesADeactivationAndEndsWithTheSettings) {
    fs::remove(user_.file("bin/xscreensaver-settings")); // the real one this time
    ASSERT_NO_FATAL_FAILURE(user_.Install());
    std::vector<pid_t> settings;
    ASSERT_TRUE(WaitUntil(
        [&] {
            settings = user_.SettingsPrograms();
            return !settings.empty();
        },
        10s));
    pid_t preview = 0;
    std::string commandLine;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (pid_t pid : ProcessesRunning(installed())) {
                commandLine = ReadText("/proc/" + std::to_string(pid) + "/cmdline");
                std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
                preview = pid;
            }
            return preview != 0;
        },
        30s));
    EXPECT_NE(commandLine.find(" --root --window-id 0x"), std::string::npos) << commandLine;

    ASSERT_NO_FATAL_FAILURE(user_.StartDaemon());
    ASSERT_TRUE(Command("-activate"));
    ASSERT_TRUE(WaitUntil([&] { return ProcessesRunning(installed()).size() == 2; }, 20s)) << DaemonLog();
    ASSERT_TRUE(Command("-deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(installed()).size() == 1; }, 2s))
        << "the daemon's show is still running";
    EXPECT_TRUE(Alive(preview)) << "the settings program's preview ended with the daemon's show";

    for (pid_t pid : settings)
        kill(pid, SIGTERM);
    EXPECT_TRUE(WaitUntil([&] { return !Alive(preview); }, 3s))
        << "the preview outlived the settings program";
    EXPECT_TRUE(ExtractedFiles(user_.file("tmp")).empty());
}

} // namespace
} // namespace scr::test
