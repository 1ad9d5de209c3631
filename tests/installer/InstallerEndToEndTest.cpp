// The demo built as a self-installer, installed and uninstalled by keyboard
// on a real X server, as a person would: the wizard's pages, the licence
// agreement, Install; then the installed copy's uninstall command and Yes.

#include "installer/UninstallEntry.h"
#include "tests/installer/InstallerFixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace scr {
namespace {

namespace fs = std::filesystem;

pid_t Spawn(const std::vector<std::string>& argv, int outputFd = -1) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, 3);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits up to `ms` for a process to end; its exit status, or -1 when it did not end.
int WaitForExit(pid_t pid, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        QTest::qWait(50);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// An X server of our own on a display number it picks itself; stopped by its process id.
class XServer {
public:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = Spawn({"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                     fds[1]);
        close(fds[1]);
        char buffer[16] = {};
        const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        if (n > 0)
            display_ = ":" + std::string(buffer, static_cast<std::size_t>(n - (buffer[n - 1] == '\n')));
    }
    ~XServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Runs xdotool with a time limit; its output.
std::string XDoTool(const std::string& arguments) {
    std::string output;
    test::RunCommand("/usr/bin/timeout 20 /usr/bin/xdotool " + arguments + " 2>/dev/null", &output);
    return output;
}

// Gives keyboard focus to the first visible window of `pid` and types the keys.
bool TypeInto(pid_t pid, const std::vector<std::string>& keys) {
    const std::string window = XDoTool("search --sync --onlyvisible --pid " + std::to_string(pid));
    const std::string id = window.substr(0, window.find('\n'));
    if (id.empty()) return false;
    QTest::qWait(300); // the window maps, then takes input
    XDoTool("windowfocus --sync " + id);
    for (const std::string& key : keys) {
        XDoTool("key --clearmodifiers " + key);
        QTest::qWait(300);
    }
    return true;
}

std::string ReadText(const std::string& path) {
    const auto bytes = test::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(InstallerEndToEnd, DemoInstallsAndUninstallsOnAnXServer) {
    const fs::path demo = fs::path(test::BuildBinDir()).parent_path() / "assets" / "demo";
    if (!fs::exists(demo / "demo.json")) GTEST_SKIP() << "the demo assets are not built";
    if (!fs::exists("/usr/bin/Xvfb") || !fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "no Xvfb or xdotool";

    test::PrivateHome home; // also restores DISPLAY and QT_QPA_PLATFORM
    // The demo's manifest as an installer package, beside links to its content.
    const std::string packing = home.file("demo");
    fs::create_directories(packing);
    for (const auto& entry : fs::directory_iterator(demo))
        if (entry.path().filename() != "demo.json")
            fs::create_symlink(entry.path(), packing + "/" + entry.path().filename().string());
    std::string manifest = ReadText((demo / "demo.json").string());
    const std::string kind = "\"kind\": \"S\"";
    ASSERT_NE(manifest.find(kind), std::string::npos);
    manifest.replace(manifest.find(kind), kind.size(), "\"kind\": \"E\"");
    std::ofstream(packing + "/demo.json") << manifest;
    const std::string setup = home.file("demo-setup.exe");
    std::string output;
    ASSERT_EQ(test::RunCommand("'" + test::BuildBinDir() + "/scrtool' pack '" + packing + "/demo.json' -o '" +
                                   setup + "' 2>&1",
                               &output),
              0)
        << output;

    XServer server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    // The wizard: Next, accept the licence, Next, Install.
    const pid_t installer = Spawn({setup});
    ASSERT_GT(installer, 0);
    ASSERT_TRUE(TypeInto(installer, {"Return", "alt+a", "Return", "Return"}));
    EXPECT_EQ(WaitForExit(installer, 20000), 0);

    const std::string installed = home.systemDirectory() + "/Demo Screen Saver.scr";
    const std::string shortcut = home.desktop() + "/Demo Screen Saver.desktop";
    const std::string key = *UninstallKeyPath("Demo Screen Saver");
    ASSERT_TRUE(fs::exists(installed));
    EXPECT_EQ(fs::file_size(installed), fs::file_size(setup));
    EXPECT_TRUE(fs::exists(shortcut));
    EXPECT_NE(ReadText(shortcut).find("Exec=\"" + installed + "\"\n"), std::string::npos)
        << ReadText(shortcut);
    EXPECT_EQ(test::ReadMachineString(key, "DisplayName"), "Demo Screen Saver");
    const auto command = test::ReadMachineString(key, "UninstallString");
    ASSERT_EQ(command, installed + " -U");

    // The uninstall command the entry holds; the question answered with Yes (Enter).
    const pid_t uninstaller = Spawn({installed, "-U"});
    ASSERT_GT(uninstaller, 0);
    ASSERT_TRUE(TypeInto(uninstaller, {"Return"}));
    EXPECT_EQ(WaitForExit(uninstaller, 20000), 0);
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_FALSE(fs::exists(shortcut));
    EXPECT_FALSE(test::ReadMachineString(key, "DisplayName"));
    EXPECT_TRUE(fs::exists(setup)) << "the installer itself stays";
}

} // namespace
} // namespace scr
