#include "tests/show_e2e/ScreenSaverUser.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <regex>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace scr::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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

uint32_t DaemonWindowOf(pid_t pid) {
    // Read just after its start, a process's environment can still be empty.
    std::string window;
    WaitUntil(
        [&] {
            window = EnvironmentOf(pid, "XSCREENSAVER_WINDOW");
            return !window.empty();
        },
        5s);
    return static_cast<uint32_t>(std::strtoul(window.c_str(), nullptr, 16));
}

std::vector<std::string> ExtractedFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("~F_") || name.starts_with("~S_")) files.push_back(name);
    }
    return files;
}

std::vector<std::pair<pid_t, uint32_t>> ProgramsStarted(const std::string& log) {
    // The daemon logs each program it starts with the window it gives it.
    static const std::regex started("forked \"[^\"]*\" in pid ([0-9]+) on window (0x[0-9a-fA-F]+)");
    std::vector<std::pair<pid_t, uint32_t>> programs;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), started); it != std::sregex_iterator(); ++it)
        programs.emplace_back(std::stoi((*it)[1].str()),
                              static_cast<uint32_t>(std::stoul((*it)[2].str(), nullptr, 16)));
    return programs;
}

ScreenSaverUser::ScreenSaverUser(const XServer& x) : x_(x) {}

ScreenSaverUser::~ScreenSaverUser() {
    for (pid_t pid : SettingsPrograms())
        kill(pid, SIGTERM);
    if (daemon_ && daemon_->Running()) {
        daemon_->Signal(SIGTERM);
        if (!daemon_->Wait(5s)) daemon_->Signal(SIGKILL);
    }
    for (pid_t pid : ProcessesRunning(installed()))
        kill(pid, SIGKILL);
}

void ScreenSaverUser::Prepare() {
    const fs::path demo = fs::path(BuildBinDir()).parent_path() / "assets" / "demo";
    ASSERT_TRUE(fs::exists(demo / "demo.json")) << "the demo assets are not built";
    for (const char* tool : {"/usr/bin/xscreensaver", "/usr/bin/xscreensaver-command", "/usr/bin/xdotool",
                             "/usr/bin/setpriv", "/usr/bin/xwininfo"})
        ASSERT_TRUE(fs::exists(tool)) << tool << " is missing (scripts/install-deps.sh installs it)";

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
    for (const auto& entry : fs::directory_iterator(demo))
        if (entry.path().filename() != "demo.json")
            fs::copy(entry.path(), packing + "/" + entry.path().filename().string(),
                     fs::copy_options::recursive);
    std::string manifest = ReadText((demo / "demo.json").string());
    const std::string kind = "\"kind\": \"S\"";
    ASSERT_NE(manifest.find(kind), std::string::npos);
    manifest.replace(manifest.find(kind), kind.size(), "\"kind\": \"E\"");
    std::ofstream(packing + "/demo.json") << manifest;
    setup_ = dir_.file("demo-setup.exe");
    std::string output;
    ASSERT_EQ(RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + packing + "/demo.json' -o '" + setup_ +
                             "' 2>&1",
                         &output),
              0)
        << output;
    fs::permissions(setup_, fs::perms(0755));
}

void ScreenSaverUser::Install() {
    auto installer = RunAsUser({setup_});
    ASSERT_TRUE(TypeInto(installer->pid(), {"Return", "alt+a", "Return", "Return"}));
    ASSERT_EQ(installer->Wait(30s), std::optional<int>(0));
    ASSERT_TRUE(fs::exists(installed()));
}

void ScreenSaverUser::StartDaemon() {
    daemon_ = RunAsUser(
        {"/bin/sh", "-c", "exec xscreensaver --no-splash --verbose > '" + home() + "/daemon.log" + "' 2>&1"});
    ASSERT_TRUE(WaitUntil([&] { return Command("-time"); }, 20s)) << DaemonLog();
}

std::vector<pid_t> ScreenSaverUser::SettingsPrograms() const {
    std::vector<pid_t> ours;
    for (pid_t pid : ProcessesRunning("/usr/bin/xscreensaver-settings"))
        if (EnvironmentOf(pid, "HOME") == home()) ours.push_back(pid);
    return ours;
}

std::unique_ptr<ChildProcess> ScreenSaverUser::RunAsUser(const std::vector<std::string>& argv) {
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

bool ScreenSaverUser::Command(const std::string& what) {
    auto command = RunAsUser({"/bin/sh", "-c", "exec xscreensaver-command " + what + " >/dev/null 2>&1"});
    return command->Wait(20s) == std::optional<int>(0);
}

bool ScreenSaverUser::TypeInto(pid_t pid, const std::vector<std::string>& keys) {
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

} // namespace scr::test
