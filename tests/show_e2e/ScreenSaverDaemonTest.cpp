// The real xscreensaver daemon on a private X server, run as an ordinary
// user (it starts no screen savers for root): the demo packed as an
// installer is installed by keyboard, the daemon runs it in its own window
// when activated, ends it when deactivated, and the uninstaller takes it
// out of the daemon's list again.
#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace scr::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// The processes running `file` (by their executable), and one environment variable of a process.
std::vector<pid_t> ProcessesRunning(const std::string& file) {
    std::vector<pid_t> pids;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code ec;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", ec);
        if (!ec && exe == fs::path(file)) pids.push_back(std::stoi(name));
    }
    return pids;
}

bool Alive(pid_t pid) {
    const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

std::string EnvironmentOf(pid_t pid, const std::string& name) {
    const std::string environ = ReadText("/proc/" + std::to_string(pid) + "/environ");
    std::istringstream in(environ);
    std::string entry;
    while (std::getline(in, entry, '\0'))
        if (entry.starts_with(name + "=")) return entry.substr(name.size() + 1);
    return {};
}

std::vector<std::string> ExtractedFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("~F_") || name.starts_with("~S_")) files.push_back(name);
    }
    return files;
}

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
        demo_ = fs::path(BuildBinDir()).parent_path() / "assets" / "demo";
        if (!fs::exists(demo_ / "demo.json")) GTEST_SKIP() << "the demo assets are not built";
        for (const char* tool : {"/usr/bin/xscreensaver", "/usr/bin/xscreensaver-command", "/usr/bin/xdotool",
                                 "/usr/bin/setpriv", "/usr/bin/xwininfo"})
            ASSERT_TRUE(fs::exists(tool)) << tool << " is missing (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(x_.running()) << "Xvfb could not be started";

        // Everything the user side reads lies in a folder that user can reach.
        fs::permissions(dir_.path(), fs::perms(0755));
        for (fs::path up = fs::path(dir_.path()).parent_path(); up != up.root_path(); up = up.parent_path())
            ASSERT_NE(fs::status(up).permissions() & fs::perms::others_exec, fs::perms::none)
                << up << " cannot be passed by another user: set TMPDIR to a folder that can";
        for (const char* folder : {"home", "home/Desktop", "tmp", "runtime", "bin"})
            fs::create_directories(dir_.file(folder));
        // The settings program the installer starts is a stand-in that only notes the start.
        std::ofstream(dir_.file("bin/xscreensaver-settings"))
            << "#!/bin/sh\necho started > \"$HOME/settings-started\"\n";
        fs::permissions(dir_.file("bin/xscreensaver-settings"), fs::perms(0755));
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            ASSERT_NE(nobody, nullptr);
            for (const char* folder : {"home", "home/Desktop", "tmp", "runtime"})
                ASSERT_EQ(chown(dir_.file(folder).c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
        fs::permissions(dir_.file("tmp"), fs::perms::owner_all);

        // The demo's manifest as an installer package, beside links to its content.
        const std::string packing = dir_.file("demo");
        fs::create_directories(packing);
        for (const auto& entry : fs::directory_iterator(demo_))
            if (entry.path().filename() != "demo.json")
                fs::copy(entry.path(), packing + "/" + entry.path().filename().string(),
                         fs::copy_options::recursive);
        std::string manifest = ReadText((demo_ / "demo.json").string());
        const std::string kind = "\"kind\": \"S\"";
        ASSERT_NE(manifest.find(kind), std::string::npos);
        manifest.replace(manifest.find(kind), kind.size(), "\"kind\": \"E\"");
        std::ofstream(packing + "/demo.json") << manifest;
        setup_ = dir_.file("demo-setup.exe");
        std::string output;
        ASSERT_EQ(RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + packing + "/demo.json' -o '" +
                                 setup_ + "' 2>&1",
                             &output),
                  0)
            << output;
        fs::permissions(setup_, fs::perms(0755));
    }

    void TearDown() override {
        for (pid_t pid : SettingsPrograms())
            kill(pid, SIGTERM);
        if (daemon_ && daemon_->Running()) {
            daemon_->Signal(SIGTERM);
            if (!daemon_->Wait(5s)) daemon_->Signal(SIGKILL);
        }
        for (pid_t pid : ProcessesRunning(installed()))
            kill(pid, SIGKILL);
    }

    // Installs the demo by keyboard: Next, accept the licence, Next, Install.
    void Install() {
        auto installer = RunAsUser({setup_});
        ASSERT_TRUE(TypeInto(installer->pid(), {"Return", "alt+a", "Return", "Return"}));
        ASSERT_EQ(installer->Wait(30s), std::optional<int>(0));
        ASSERT_TRUE(fs::exists(installed()));
    }

    void StartDaemon() {
        daemon_ =
            RunAsUser({"/bin/sh", "-c",
                       "exec xscreensaver --no-splash --verbose > '" + home() + "/daemon.log" + "' 2>&1"});
        ASSERT_TRUE(WaitUntil([&] { return Command("-time"); }, 20s)) << DaemonLog();
    }

    // The host's settings programs of this test's user (the installer starts one without waiting).
    std::vector<pid_t> SettingsPrograms() const {
        std::vector<pid_t> ours;
        for (pid_t pid : ProcessesRunning("/usr/bin/xscreensaver-settings"))
            if (EnvironmentOf(pid, "HOME") == home()) ours.push_back(pid);
        return ours;
    }

    std::string home() const { return dir_.file("home"); }
    std::string installed() const { return home() + "/.local/share/scrplayer/system/Demo Screen Saver.scr"; }

    // A program run as the user, with the user's private environment.
    std::unique_ptr<ChildProcess> RunAsUser(const std::vector<std::string>& argv) {
        std::vector<std::string> command;
        if (geteuid() == 0)
            command = {"/usr/bin/setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups", "--"};
        command.insert(command.end(), argv.begin(), argv.end());
        return std::make_unique<ChildProcess>(command, std::map<std::string, std::string>{
                                                           {"HOME", home()},
                                                           {"DISPLAY", x_.display()},
                                                           {"PATH", dir_.file("bin") + ":/usr/bin:/bin"},
                                                           {"TMPDIR", dir_.file("tmp")},
                                                           {"XDG_RUNTIME_DIR", dir_.file("runtime")},
                                                           {"XDG_DATA_HOME", ""},
                                                           {"XDG_CONFIG_HOME", ""},
                                                           {"XDG_DESKTOP_DIR", home() + "/Desktop"},
                                                           {"QT_QPA_PLATFORM", "xcb"},
                                                           {"XSCREENSAVER_WINDOW", ""},
                                                           {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
                                                           {"SCRPLAYER_STATS", ""},
                                                       });
    }

    // Runs an xscreensaver-command; true when it succeeded.
    bool Command(const std::string& what) {
        auto command = RunAsUser({"/bin/sh", "-c", "exec xscreensaver-command " + what + " >/dev/null 2>&1"});
        return command->Wait(20s) == std::optional<int>(0);
    }

    // Presses keys in the first visible window of a process.
    bool TypeInto(pid_t pid, const std::vector<std::string>& keys) {
        const std::string xdotool = "DISPLAY=" + x_.display() + " timeout 20 xdotool ";
        std::string window;
        RunCommand(xdotool + "search --sync --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null",
                   &window);
        window = window.substr(0, window.find('\n'));
        if (window.empty()) return false;
        std::this_thread::sleep_for(300ms);
        RunCommand(xdotool + "windowfocus --sync " + window + " 2>/dev/null");
        for (const std::string& key : keys) {
            RunCommand(xdotool + "key --clearmodifiers " + key + " 2>/dev/null");
            std::this_thread::sleep_for(300ms);
        }
        return true;
    }

    std::string DaemonLog() const { return ReadText(home() + "/daemon.log"); }

    XvfbServer x_{1024, 768};
    TempDir dir_;
    fs::path demo_;
    std::string setup_;
    std::unique_ptr<ChildProcess> daemon_;
};

TEST_F(ScreenSaverDaemon, InstalledDemoRunsInTheDaemonsWindowAndEndsWithIt) {
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(home() + "/settings-started"); }, 10s))
        << "the host's settings program was not started";

    // The entry is in the user's list, chosen, and the daemon reads the file without complaint.
    const std::string config = ReadText(home() + "/.xscreensaver");
    EXPECT_NE(config.find("'" + installed() + "' -root"), std::string::npos) << config.substr(0, 300);
    EXPECT_TRUE(HasLine(config, "mode:\t\tone")) << config.substr(0, 300);
    ASSERT_NO_FATAL_FAILURE(StartDaemon());
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
    const std::string window = EnvironmentOf(show, "XSCREENSAVER_WINDOW");
    // The daemon logs each program it starts with the window it gives it.
    static const std::regex started("forked \"[^\"]*\" in pid ([0-9]+) on window (0x[0-9a-fA-F]+)");
    const std::string firstLog = DaemonLog();
    std::smatch forked;
    std::regex_search(firstLog, forked, started);
    ASSERT_EQ(forked.size(), 3u) << DaemonLog();
    EXPECT_EQ(std::stoi(forked[1].str()), show);
    EXPECT_EQ(std::stoul(window, nullptr, 16), std::stoul(forked[2].str(), nullptr, 16))
        << "XSCREENSAVER_WINDOW=" << window;
    // A picture of ours fills the screen, and the music is playing from its extracted file.
    EXPECT_TRUE(WaitUntil([&] { return DistinctColours(x_.Screenshot()) > 2000; }, 20s));
    // Its window is the one child of the daemon's, filling it.
    std::string tree;
    RunCommand("DISPLAY=" + x_.display() + " xwininfo -children -id " + forked[2].str(), &tree);
    EXPECT_NE(tree.find("1 child:"), std::string::npos) << tree;
    EXPECT_NE(tree.find("1024x768+0+0"), std::string::npos) << tree;

    EXPECT_TRUE(WaitUntil([&] { return !ExtractedFiles(dir_.file("tmp")).empty(); }, 20s));

    // Deactivation ends it at once, and it leaves nothing behind.
    ASSERT_TRUE(Command("-deactivate"));
    const auto deactivated = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show); }, 2s)) << "still running after the deactivation";
    EXPECT_LT(std::chrono::steady_clock::now() - deactivated, 2s);
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());

    // Uninstall, answered with Yes (Enter): out of the list, nothing chosen that is gone.
    auto uninstaller = RunAsUser({installed(), "-U"});
    std::optional<int> status;
    for (int attempt = 0; attempt < 3 && !status; ++attempt) {
        ASSERT_TRUE(TypeInto(uninstaller->pid(), {"Return"}));
        status = uninstaller->Wait(10s);
    }
    ASSERT_EQ(status, std::optional<int>(0));
    EXPECT_FALSE(fs::exists(installed()));
    const std::string after = ReadText(home() + "/.xscreensaver");
    EXPECT_EQ(after.find("Demo Screen Saver"), std::string::npos) << after.substr(0, 300);
    // The file is the host's own default list again, with nothing chosen.
    EXPECT_EQ(after, "mode:\t\trandom\nselected:\t-1\n" + HostDefaultList() + "\n");

    // The daemon takes the changed file without complaint and runs one of its own.
    auto startedPrograms = [&] {
        const std::string log = DaemonLog();
        return std::distance(std::sregex_iterator(log.begin(), log.end(), started), std::sregex_iterator());
    };
    ASSERT_TRUE(Command("-activate"));
    EXPECT_TRUE(WaitUntil([&] { return startedPrograms() == 2; }, 20s)) << DaemonLog();
    ASSERT_TRUE(Command("-deactivate"));
    const std::string log = DaemonLog();
    EXPECT_EQ(log.find("/.xscreensaver:"), std::string::npos) << "a complaint about the file:\n" << log;
    EXPECT_EQ(log.find("Demo Screen Saver", log.rfind(" on window ")), std::string::npos) << log;
}

// The settings program the installer starts previews the new screen saver
// with "--root --window-id ID". That preview is not the daemon's show: it
// outlives a deactivation of the daemon, and ends with the settings program.
TEST_F(ScreenSaverDaemon, SettingsPreviewOutlivesADeactivationAndEndsWithTheSettings) {
    fs::remove(dir_.file("bin/xscreensaver-settings")); // the real one this time
    ASSERT_NO_FATAL_FAILURE(Install());
    std::vector<pid_t> settings;
    ASSERT_TRUE(WaitUntil(
        [&] {
            settings = SettingsPrograms();
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

    ASSERT_NO_FATAL_FAILURE(StartDaemon());
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
    EXPECT_TRUE(ExtractedFiles(dir_.file("tmp")).empty());
}

} // namespace
} // namespace scr::test
