#pragma once
// A headless Wayland compositor for one test, with a private home, runtime
// folder and session bus of its own, so that what the watcher registers,
// serves and starts stays inside the test. Everything is stopped by its
// process id at the end. The compositors:
//   - sway 1.7's headless back end with software drawing (WLR_BACKENDS=
//     headless, WLR_RENDERER=pixman, no input devices), as an ordinary user
//     ("nobody" when the tests run as root: sway refuses root); keys come
//     from wtype's virtual keyboard, screenshots from grim;
//   - KWin 5.27's virtual back end, as root, from a copy of its program named
//     kwin_wayland (the installed one carries a file capability this
//     machine's bounding set refuses; a copy has none); keys come through its
//     fake input protocol (scr_test_fake_key);
//   - mutter 43 headless with a virtual monitor, as the ordinary user; its
//     idle monitor's ResetIdletime (MUTTER_DEBUG_RESET_IDLETIME=1) stands in
//     for a key.

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
    enum class Compositor { Sway, KWin, Mutter };

    explicit WaylandUserSession(Compositor compositor = Compositor::Sway);
    ~WaylandUserSession();
    WaylandUserSession(const WaylandUserSession&) = delete;
    WaylandUserSession& operator=(const WaylandUserSession&) = delete;

    // Makes the folders (fatal failures through gtest). Call before anything else.
    void Prepare();
    // Starts the session bus, then the compositor (sway with `swayConfig`
    // added to its config); waits until its socket exists.
    void Start(const std::string& swayConfig = {});
    void StopCompositor();
    void StopBus();

    // A program run as the user inside the session: its environment holds
    // the compositor's socket, the bus and the private folders.
    std::unique_ptr<ChildProcess> Run(const std::vector<std::string>& argv,
                                      const std::map<std::string, std::string>& extra = {});
    // Runs a command line (through sh) as the user and waits up to 20 s;
    // its exit status, its output (standard output and error) in `output`.
    int RunAndWait(const std::string& commandLine, std::string* output = nullptr);
    // Types a key (or, on mutter, resets the idle time as a key would).
    bool Key();
    // The output as shown (sway only); null elsewhere.
    QImage Screenshot();

    // The compositor's log; on sway it holds what the programs it started
    // wrote to standard error.
    std::string CompositorLog() const;
    bool runsAsRoot() const;
    std::string home() const { return dir_.file("home"); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    std::map<std::string, std::string> Environment() const;

    Compositor compositor_;
    TempDir dir_;
    std::unique_ptr<ChildProcess> bus_;
    std::unique_ptr<ChildProcess> compositorProcess_;
    std::string waylandDisplay_;
    std::string swaySocket_;
};

// The processes of `scrtool play FILE /s` (shows started by a watcher) for `file`.
std::vector<pid_t> ShowsOf(const std::string& file);
// The processes of `scrtool saver run FILE` for `file`.
std::vector<pid_t> WatchersOf(const std::string& file);

} // namespace scr::test
