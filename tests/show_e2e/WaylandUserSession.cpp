#include "tests/show_e2e/WaylandUserSession.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace scr::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The command lines of every process, as argument lists.
std::vector<std::pair<pid_t, std::vector<std::string>>> CommandLines() {
    std::vector<std::pair<pid_t, std::vector<std::string>>> all;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string line = ReadAll((entry.path() / "cmdline").string());
        std::vector<std::string> words;
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t end = line.find('\0', at);
            words.push_back(line.substr(at, end - at));
            if (end == std::string::npos) break;
            at = end + 1;
        }
        all.emplace_back(std::stoi(name), std::move(words));
    }
    return all;
}

std::vector<pid_t> ScrtoolProcesses(const std::string& action, const std::string& file, std::size_t fileAt) {
    std::vector<pid_t> found;
    for (const auto& [pid, words] : CommandLines())
        if (words.size() > fileAt && fs::path(words[0]).filename() == "scrtool" && words[1] == action &&
            words[fileAt] == file) {
            const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
            const auto close = stat.rfind(')');
            if (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z')
                found.push_back(pid);
        }
    return found;
}

} // namespace

std::vector<pid_t> ShowsOf(const std::string& file) {
    return ScrtoolProcesses("play", file, 2);
}

std::vector<pid_t> WatchersOf(const std::string& file) {
    std::vector<pid_t> found;
    for (pid_t pid : ScrtoolProcesses("saver", file, 3))
        found.push_back(pid);
    return found;
}

WaylandUserSession::WaylandUserSession(Compositor compositor) : compositor_(compositor) {}

WaylandUserSession::~WaylandUserSession() {
    StopCompositor();
    StopBus();
}

bool WaylandUserSession::runsAsRoot() const {
    return compositor_ == Compositor::KWin || geteuid() != 0;
}

void WaylandUserSession::Prepare() {
    const std::vector<const char*> tools =
        compositor_ == Compositor::Sway
            ? std::vector<const char*>{"/usr/bin/sway", "/usr/bin/wtype", "/usr/bin/grim"}
        : compositor_ == Compositor::KWin ? std::vector<const char*>{"/usr/bin/kwin_wayland"}
                                          : std::vector<const char*>{"/usr/bin/mutter", "/usr/bin/gdbus"};
    for (const char* tool : tools)
        ASSERT_TRUE(fs::exists(tool)) << tool << " is missing (scripts/install-deps.sh installs it)";
    ASSERT_TRUE(fs::exists("/usr/bin/dbus-daemon") && fs::exists("/usr/bin/setpriv"));
    fs::permissions(dir_.path(), fs::perms(0755));
    for (fs::path up = fs::path(dir_.path()).parent_path(); up != up.root_path(); up = up.parent_path())
        ASSERT_NE(fs::status(up).permissions() & fs::perms::others_exec, fs::perms::none)
            << up << " cannot be passed by another user: set TMPDIR to a folder that can";
    for (const char* folder : {"home", "home/.config", "tmp", "runtime", "out", "bin"})
        fs::create_directories(dir_.file(folder));
    if (geteuid() == 0 && !runsAsRoot()) {
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        for (const char* folder : {"home", "home/.config", "tmp", "runtime", "out"})
            ASSERT_EQ(chown(dir_.file(folder).c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    fs::permissions(dir_.file("runtime"), fs::perms::owner_all);
    if (compositor_ == Compositor::KWin) {
        // Named exactly so, or it cannot load its own Qt platform plugin.
        fs::copy_file("/usr/bin/kwin_wayland", dir_.file("bin/kwin_wayland"));
        fs::permissions(dir_.file("bin/kwin_wayland"), fs::perms(0755));
    }
}

std::map<std::string, std::string> WaylandUserSession::Environment() const {
    const char* desktop = compositor_ == Compositor::Sway   ? "sway"
                          : compositor_ == Compositor::KWin ? "KDE"
                                                            : "GNOME";
    return {{"HOME", home()},
            {"PATH", "/usr/bin:/bin"},
            {"TMPDIR", dir_.file("tmp")},
            {"XDG_RUNTIME_DIR", dir_.file("runtime")},
            {"XDG_CONFIG_HOME", ""},
            {"XDG_DATA_HOME", ""},
            {"XDG_SESSION_TYPE", "wayland"},
            {"XDG_CURRENT_DESKTOP", desktop},
            {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir_.file("runtime") + "/bus"},
            {"WAYLAND_DISPLAY", waylandDisplay_},
            {"SWAYSOCK", swaySocket_},
            {"DISPLAY", ""},
            {"QT_QPA_PLATFORM", ""},
            {"SCRPLAYER_STATS", ""},
            {"LANG", "C.UTF-8"}};
}

std::unique_ptr<ChildProcess> WaylandUserSession::Run(const std::vector<std::string>& argv,
                                                      const std::map<std::string, std::string>& extra) {
    std::vector<std::string> command;
    if (!runsAsRoot())
        command = {"/usr/bin/setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups", "--"};
    command.insert(command.end(), argv.begin(), argv.end());
    std::map<std::string, std::string> env = Environment();
    for (const auto& [name, value] : extra)
        env[name] = value;
    return std::make_unique<ChildProcess>(command, env);
}

int WaylandUserSession::RunAndWait(const std::string& commandLine, std::string* output) {
    static int serial = 0;
    const std::string out = dir_.file("out/" + std::to_string(++serial) + ".txt");
    auto child = Run({"/bin/sh", "-c", "exec " + commandLine + " >'" + out + "' 2>&1"});
    const std::optional<int> status = child->Wait(20s);
    if (output) *output = ReadAll(out);
    return status.value_or(-1);
}

void WaylandUserSession::Start(const std::string& swayConfig) {
    if (!bus_) {
        bus_ = Run({"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                    "--address=unix:path=" + dir_.file("runtime") + "/bus"});
        ASSERT_TRUE(WaitUntil([&] { return fs::exists(dir_.file("runtime") + "/bus"); }, 10s))
            << "the session bus did not start";
    }
    fs::remove(dir_.file("out/compositor.log"));
    const std::string log = " >'" + dir_.file("out/compositor.log") + "' 2>&1";
    switch (compositor_) {
    case Compositor::Sway: {
        std::ofstream(dir_.file("sway.config")) << "output HEADLESS-1 resolution 1280x720\n"
                                                << swayConfig << "\n";
        fs::permissions(dir_.file("sway.config"), fs::perms(0644));
        compositorProcess_ =
            Run({"/bin/sh", "-c", "exec sway -c '" + dir_.file("sway.config") + "'" + log},
                {{"WLR_BACKENDS", "headless"}, {"WLR_LIBINPUT_NO_DEVICES", "1"}, {"WLR_RENDERER", "pixman"}});
        break;
    }
    case Compositor::KWin:
        compositorProcess_ =
            Run({"/bin/sh", "-c",
                 "exec '" + dir_.file("bin/kwin_wayland") +
                     "' --virtual --no-lockscreen --width 1280 --height 720 --socket scrtest" + log},
                {{"KWIN_WAYLAND_NO_PERMISSION_CHECKS", "1"}});
        break;
    case Compositor::Mutter:
        compositorProcess_ = Run(
            {"/bin/sh", "-c", "exec mutter --headless --wayland --no-x11 --virtual-monitor 1280x720" + log},
            {{"MUTTER_DEBUG_RESET_IDLETIME", "1"}});
        break;
    }
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const auto& entry : fs::directory_iterator(dir_.file("runtime"))) {
                const std::string name = entry.path().filename().string();
                if ((name.starts_with("wayland-") || name == "scrtest") && !name.ends_with(".lock"))
                    waylandDisplay_ = name;
                if (name.starts_with("sway-ipc.")) swaySocket_ = entry.path().string();
            }
            return !waylandDisplay_.empty() && (compositor_ != Compositor::Sway || !swaySocket_.empty());
        },
        30s))
        << "the compositor did not start:\n"
        << CompositorLog();
    if (compositor_ == Compositor::Mutter) {
        // Its idle monitor is on the bus once it serves clients.
        ASSERT_TRUE(WaitUntil(
            [&] {
                return RunAndWait("gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path "
                                  "/org/gnome/Mutter/IdleMonitor/Core --method "
                                  "org.gnome.Mutter.IdleMonitor.GetIdletime") == 0;
            },
            20s))
            << CompositorLog();
    }
}

void WaylandUserSession::StopCompositor() {
    if (!compositorProcess_) return;
    compositorProcess_->Signal(SIGTERM);
    if (!compositorProcess_->Wait(5s)) compositorProcess_->Signal(SIGKILL);
    compositorProcess_->Wait(5s);
    compositorProcess_.reset();
    // A later compositor must not be taken for this one by what it left.
    for (const auto& entry : fs::directory_iterator(dir_.file("runtime"))) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("wayland-") || name.starts_with("scrtest") || name.starts_with("sway-ipc."))
            fs::remove(entry.path());
    }
    waylandDisplay_.clear();
    swaySocket_.clear();
}

void WaylandUserSession::StopBus() {
    if (!bus_) return;
    bus_->Signal(SIGTERM);
    if (!bus_->Wait(5s)) bus_->Signal(SIGKILL);
    bus_->Wait(5s);
    bus_.reset();
}

bool WaylandUserSession::Key() {
    switch (compositor_) {
    case Compositor::Sway:
        return RunAndWait("wtype -k Shift_L") == 0;
    case Compositor::KWin:
        return RunAndWait("'" + BuildBinDir() + "/scr_test_fake_key' 42") == 0; // left Shift
    case Compositor::Mutter:
        return RunAndWait("gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path "
                          "/org/gnome/Mutter/IdleMonitor/Core --method "
                          "org.gnome.Mutter.IdleMonitor.ResetIdletime") == 0;
    }
    return false;
}

QImage WaylandUserSession::Screenshot() {
    if (compositor_ != Compositor::Sway) return {};
    const std::string png = dir_.file("out/screen.png");
    if (RunAndWait("grim '" + png + "'") != 0) return {};
    return QImage(QString::fromStdString(png));
}

std::string WaylandUserSession::CompositorLog() const {
    return ReadAll(dir_.file("out/compositor.log"));
}

} // namespace scr::test
