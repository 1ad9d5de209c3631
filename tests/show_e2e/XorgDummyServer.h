#pragma once
// Xorg with its dummy video driver: the one private X server on which Qt and
// the screen-saver daemon see several monitors (RandR outputs), as on a
// desktop with more than one screen. Xvfb and nested servers offer one
// monitor only. Xorg needs root; Unavailable() says when it cannot run here.

#include "tests/show_e2e/X11Session.h"
#include "tests/support/TempDir.h"

#include <QRect>
#include <string>
#include <vector>

namespace scr::test {

class XorgDummyServer : public XServer {
public:
    struct Monitor {
        QRect area; // position on the desktop and size
        bool primary = false;
    };
    // Starts the server and lays the monitors out, the first on output
    // DUMMY0, the next on DUMMY1 and so on. running() is false when either failed.
    explicit XorgDummyServer(const std::vector<Monitor>& monitors);

    // Why these tests cannot run on this machine (not root, no Xorg); empty when they can.
    static std::string Unavailable();

    // What went wrong when the server or its monitors could not be set up.
    const std::string& failure() const { return failure_; }

private:
    bool LayOut(const std::vector<Monitor>& monitors);

    TempDir dir_;
    std::string failure_;
};

} // namespace scr::test
