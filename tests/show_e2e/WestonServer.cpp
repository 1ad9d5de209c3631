#include "tests/show_e2e/WestonServer.h"

#include "tests/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <unistd.h>

namespace scr::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

WestonServer::WestonServer(const std::string& runtimeDir, int width, int height)
    : runtimeDir_(runtimeDir), socket_("scr-test-" + std::to_string(getpid())) {
    if (!fs::exists("/usr/bin/weston")) return;
    // --debug lets weston-screenshooter take pictures of the output; an idle
    // time of 0 keeps the shell from fading the output out.
    weston_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/weston", "--backend=headless-backend.so", "--use-pixman",
                                 "--width=" + std::to_string(width), "--height=" + std::to_string(height),
                                 "--socket=" + socket_, "--idle-time=0", "--debug",
                                 "--log=" + runtimeDir_ + "/weston.log"},
        std::map<std::string, std::string>{
            {"XDG_RUNTIME_DIR", runtimeDir_}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}});
    // The socket appears once the compositor listens; its shell draws the
    // desktop a moment later.
    running_ =
        WaitUntil([&] { return fs::exists(runtimeDir_ + "/" + socket_) || !weston_->Running(); }, 10s) &&
        weston_->Running();
    if (running_) WaitUntil([&] { return !Screenshot().isNull(); }, 5s);
}

WestonServer::~WestonServer() {
    if (weston_) {
        weston_->Signal(SIGTERM);
        weston_->Wait(5s);
    }
}

QImage WestonServer::Screenshot() const {
    if (!weston_) return {};
    const std::string folder = runtimeDir_ + "/shots";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string command = "cd '" + folder + "' && XDG_RUNTIME_DIR='" + runtimeDir_ +
                                "' WAYLAND_DISPLAY='" + socket_ +
                                "' timeout 10 weston-screenshooter >/dev/null 2>&1";
    if (RunCommand(command) != 0) return {};
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".png") return QImage(QString::fromStdString(entry.path().string()));
    return {};
}

} // namespace scr::test
