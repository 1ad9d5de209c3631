#pragma once
// Private X servers for end-to-end tests, on a free display number and
// stopped by their process id; screenshots and windows through xcb; child
// processes started with the test's display and environment.

#include <QImage>
#include <QRect>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct xcb_connection_t;

namespace scr::test {

// What the tests do with any private X server: its display, an xcb
// connection, screenshots and the window tree. The server is stopped by its
// process id when the object goes.
class XServer {
public:
    virtual ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool running() const { return connection_ != nullptr; }
    const std::string& display() const { return display_; }
    xcb_connection_t* connection() const { return connection_; }
    uint32_t root() const { return root_; }

    // The root window as it is now (its size follows screen changes).
    QImage Screenshot() const;
    // A mapped top-level window of the given size; 0 on failure.
    uint32_t CreateWindow(int x, int y, int width, int height);
    // The direct children of a window with their sizes.
    struct Child {
        uint32_t id;
        int x, y, width, height;
        bool viewable;
    };
    std::vector<Child> Children(uint32_t window) const;

protected:
    XServer() = default;
    // Tries free display numbers until `launch` (which starts the server for
    // the display it is given and returns its process id) gives a server
    // that accepts connections within 10 s.
    void StartOnFreeDisplay(const std::function<pid_t(const std::string& display)>& launch);

private:
    std::string display_;
    pid_t pid_ = -1;
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
};

// Xvfb with one screen of the given size.
class XvfbServer : public XServer {
public:
    XvfbServer(int width, int height);
};

// A child process with extra environment variables.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // Waits for the end; the exit status, or nothing on timeout (or if killed by a signal: -signal).
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    bool Running();
    void Signal(int signal);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The number of distinct colours among every third pixel of `area` (the
// whole image when none is given): thousands for a photograph, a handful for
// a plain background.
int DistinctColours(const QImage& image, const QRect& area = {});

// Polls `condition` every 20 ms until it holds or the timeout passes.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        struct timespec t {
            0, 20'000'000
        };
        nanosleep(&t, nullptr);
    }
    return condition();
}

} // namespace scr::test
