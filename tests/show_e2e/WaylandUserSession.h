#pragma once
// A headless Wayland compositor for one test, run as an ordinary user
// ("nobody" when the tests run as root: sway refuses root) with a private
// home, runtime folder and session bus of its own, so that what the watcher
// registers, serves and starts stays inside the test. Everything is stopped
// by its process id at the end.
//
// The compositor is sway 1.7's headless back end with software drawing
// (WLR_BACKENDS=headless, WLR_RENDERER=pixman, no input devices); keys come
// from wtype's virtual keyboard, screenshots from grim.

#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace scr::test {

class WaylandUserSession {
public:
    WaylandUserSession();
    ~WaylandUserSession();
    WaylandUserSession(const WaylandUserSession&) = delete;
    WaylandUserSession& operator=(const WaylandUserSession&) = delete;

    // Makes the folders (fatal failures through gtest). Call before anything else.
    void Prepare();
    // Starts the session bus, then sway with `configLines` added to its
    // config; waits until its socket answers.
    void StartSway(const std::string& configLines);
    void StopSway();
    void StopBus();

    // A program run as the user inside the session: its environment holds
    // the compositor's socket, the bus and the private folders.
    std::unique_ptr<ChildProcess> Run(const std::vector<std::string>& argv,
                                      const std::map<std::string, std::string>& extra = {});
    // Runs a command line (through sh) as the user and waits up to 20 s;
    // its exit status, its output (standard output and error) in `output`.
    int RunAndWait(const std::string& commandLine, std::string* output = nullptr);
    // Types one named key (wtype -k).
    bool Key(const std::string& name);
    QImage Screenshot();

    // sway's log, which holds what programs it started wrote to standard error.
    std::string SwayLog() const;
    pid_t swayPid() const;
    std::string home() const { return dir_.file("home"); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    std::map<std::string, std::string> Environment() const;

    TempDir dir_;
    std::unique_ptr<ChildProcess> bus_;
    std::unique_ptr<ChildProcess> sway_;
    std::string waylandDisplay_;
    std::string swaySocket_;
};

// The processes of `scrtool play FILE /s` (shows started by a watcher) for `file`.
std::vector<pid_t> ShowsOf(const std::string& file);
// The processes of `scrtool saver run FILE` for `file`.
std::vector<pid_t> WatchersOf(const std::string& file);

} // namespace scr::test
