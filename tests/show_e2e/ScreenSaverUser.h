#pragma once
// The user side of the real xscreensaver daemon on a private X server. The
// daemon starts no screen savers for root, so everything runs as an
// ordinary user ("nobody" when the tests run as root) with a private home,
// runtime and temporary folder the user can reach. The demo is packed as an
// installer for that user to install by keyboard.

#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace scr::test {

// A file's whole text; empty when it cannot be read.
std::string ReadText(const std::string& path);
// The processes running `file` (by their executable).
std::vector<pid_t> ProcessesRunning(const std::string& file);
// True while a process exists and is not a zombie.
bool Alive(pid_t pid);
// One environment variable of a process; empty when it has none.
std::string EnvironmentOf(pid_t pid, const std::string& name);
// The window the daemon gave a copy it started (its XSCREENSAVER_WINDOW),
// waiting a moment for a copy that is still starting; 0 when it has none.
uint32_t DaemonWindowOf(pid_t pid);
// Temporary files of extracted movies and tracks in a folder.
std::vector<std::string> ExtractedFiles(const std::string& dir);
// The programs the daemon's log says it started: (process id, window id) each.
std::vector<std::pair<pid_t, uint32_t>> ProgramsStarted(const std::string& log);

class ScreenSaverUser {
public:
    explicit ScreenSaverUser(const XServer& x);
    ~ScreenSaverUser();
    ScreenSaverUser(const ScreenSaverUser&) = delete;
    ScreenSaverUser& operator=(const ScreenSaverUser&) = delete;

    // Makes the user's folders and packs the demo as an installer (fatal failures through gtest).
    void Prepare();
    // Installs the demo by keyboard: Next, accept the licence, Next, Install.
    void Install();
    // Starts the daemon and waits until it answers.
    void StartDaemon();
    // Runs an xscreensaver-command; true when it succeeded.
    bool Command(const std::string& what);
    // A program run as the user, with the user's private environment.
    std::unique_ptr<ChildProcess> RunAsUser(const std::vector<std::string>& argv);
    // Presses keys in the first visible window of a process.
    bool TypeInto(pid_t pid, const std::vector<std::string>& keys);
    // The host's settings programs of this user (the installer starts one without waiting).
    std::vector<pid_t> SettingsPrograms() const;

    std::string DaemonLog() const { return ReadText(home() + "/daemon.log"); }
    std::string home() const { return dir_.file("home"); }
    std::string installed() const { return home() + "/.local/share/scrplayer/system/Demo Screen Saver.scr"; }
    // A file in the test's private folder (bin/, tmp/, the home...).
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    const XServer& x_;
    TempDir dir_;
    std::string setup_;
    std::unique_ptr<ChildProcess> daemon_;
};

} // namespace scr::test
