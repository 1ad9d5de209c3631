#include "tests/show_e2e/XorgDummyServer.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace scr::test {
namespace {

// Video memory for a 4096 x 2160 desktop at 32 bits a pixel, and monitor
// ranges wide enough for any mode xrandr is asked for.
constexpr const char* kConfig = R"(Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 4096 2160
    EndSubSection
EndSection
)";

const char* const kXorg = "/usr/lib/xorg/Xorg";

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

std::string XorgDummyServer::Unavailable() {
    if (geteuid() != 0) return "Xorg with the dummy driver needs root";
    if (!std::filesystem::exists(kXorg)) return std::string(kXorg) + " is not installed";
    return {};
}

XorgDummyServer::XorgDummyServer(const std::vector<Monitor>& monitors) {
    const std::string config = dir_.file("xorg.conf");
    std::ofstream(config) << kConfig;
    std::filesystem::create_directories(dir_.file("xorg.conf.d"));
    const std::string configDir = dir_.file("xorg.conf.d");
    const std::string log = dir_.file("Xorg.log");
    StartOnFreeDisplay([&](const std::string& display) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
            // Run directly (not through the wrapper, which insists on a
            // console), sharing the current virtual terminal and never
            // switching it: on a desktop the user's session stays in front.
            execl(kXorg, "Xorg", display.c_str(), "-config", config.c_str(), "-configdir", configDir.c_str(),
                  "-noreset", "-nolisten", "tcp", "-logfile", log.c_str(), "-sharevts", "-novtswitch",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    });
    if (!running()) {
        std::string text;
        RunCommand("tail -n 20 " + Quoted(log) + " 2>/dev/null", &text);
        failure_ = "Xorg did not start; the end of its log:\n" + text;
        return;
    }
    LayOut(monitors);
}

bool XorgDummyServer::LayOut(const std::vector<Monitor>& monitors) {
    const std::string xrandr = "DISPLAY=" + display() + " xrandr ";
    std::vector<std::string> commands;
    // All outputs in one change, with the desktop's size given: one output
    // at a time, xrandr places an output beyond the current desktop at 0,0.
    QRect desktop;
    std::string layout;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const QRect& area = monitors[i].area;
        desktop = desktop.united(area);
        const std::string output = "DUMMY" + std::to_string(i);
        // A mode of exactly this size: 60 Hz with blanking of about a quarter
        // of the width (the dummy driver takes any timing in its ranges).
        const int w = area.width(), h = area.height();
        const int htotal = w + w / 4, vtotal = h + h / 24 + 3;
        const std::string mode = std::to_string(w) + "x" + std::to_string(h) + "_test";
        const double clock = htotal * vtotal * 60 / 1e6;
        commands.push_back(xrandr + "--newmode " + mode + " " + std::to_string(clock) + " " +
                           std::to_string(w) + " " + std::to_string(w + w / 40) + " " +
                           std::to_string(w + w / 8) + " " + std::to_string(htotal) + " " +
                           std::to_string(h) + " " + std::to_string(h + 1) + " " + std::to_string(h + 4) +
                           " " + std::to_string(vtotal) + " +hsync +vsync");
        commands.push_back(xrandr + "--addmode " + output + " " + mode);
        layout += " --output " + output + " --mode " + mode + " --pos " + std::to_string(area.x()) + "x" +
                  std::to_string(area.y()) + (monitors[i].primary ? " --primary" : "");
    }
    commands.push_back(xrandr + "--fb " + std::to_string(desktop.right() + 1) + "x" +
                       std::to_string(desktop.bottom() + 1) + layout);
    for (const std::string& command : commands) {
        std::string output;
        if (RunCommand(command + " 2>&1", &output) != 0) {
            failure_ = command + " failed: " + output;
            return false;
        }
    }
    // Each monitor listed at its place, as "WIDTH/MMxHEIGHT/MM+X+Y".
    std::string listed;
    RunCommand(xrandr + "--listmonitors", &listed);
    for (const Monitor& monitor : monitors) {
        const QRect& a = monitor.area;
        const std::string place = "+" + std::to_string(a.x()) + "+" + std::to_string(a.y()) + "  ";
        const std::string width = " " + std::string(monitor.primary ? "+*" : "+");
        bool found = false;
        for (std::size_t at = listed.find(place); at != std::string::npos && !found;
             at = listed.find(place, at + 1)) {
            const std::size_t line = listed.rfind('\n', at) + 1;
            const std::string entry = listed.substr(line, at - line);
            found = entry.find(std::to_string(a.width()) + "/") != std::string::npos &&
                    entry.find("x" + std::to_string(a.height()) + "/") != std::string::npos &&
                    entry.find(width) != std::string::npos;
        }
        if (!found) {
            failure_ = "xrandr lists other monitors than were set up:\n" + listed;
            return false;
        }
    }
    return true;
}

} // namespace scr::test
