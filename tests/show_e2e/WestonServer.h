#pragma once
// A private Wayland compositor for end-to-end tests: weston's headless
// back end (drawn in software, so that screenshots show what clients drew)
// with its desktop shell, on a socket of its own in the test's runtime
// folder, stopped by its process id.

#include "tests/show_e2e/X11Session.h"

#include <QImage>
#include <memory>
#include <string>

namespace scr::test {

class WestonServer {
public:
    // `runtimeDir` must exist with mode 700; the socket is made there.
    WestonServer(const std::string& runtimeDir, int width, int height);
    ~WestonServer();
    WestonServer(const WestonServer&) = delete;
    WestonServer& operator=(const WestonServer&) = delete;

    bool running() const { return running_; }
    const std::string& socket() const { return socket_; }
    const std::string& runtimeDir() const { return runtimeDir_; }

    // The whole output as the compositor shows it; null on failure.
    QImage Screenshot() const;

private:
    std::string runtimeDir_;
    std::string socket_;
    std::unique_ptr<ChildProcess> weston_;
    bool running_ = false;
};

} // namespace scr::test
