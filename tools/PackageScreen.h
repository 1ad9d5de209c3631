#pragma once
// The screen size a tool fits a package's layout to, as the player would on
// this machine: the size given on the command line, else the primary
// display's, else none (the layout then stays as designed). The command
// reads its package in the environment this gives.

#include "platform/ReadingEnvironment.h"
#include "platform/gui/ApplicationArguments.h"

#include <memory>
#include <optional>
#include <string>

class QGuiApplication;

namespace scr {

class PackageScreen {
public:
    PackageScreen();
    ~PackageScreen();
    PackageScreen(const PackageScreen&) = delete;
    PackageScreen& operator=(const PackageScreen&) = delete;

    // `screen` is the --screen argument ("WxH") if one was given. False,
    // with a message in error(), when it is malformed.
    bool choose(const std::optional<std::string>& screen);
    const std::string& error() const { return error_; }
    // The chosen screen, pictures bounded by their pixel count alone.
    ReadingEnvironment reading() const { return {screen_, {}}; }

private:
    void useDisplay();

    ApplicationArguments arguments_{"scrtool"};
    std::unique_ptr<QGuiApplication> application_;
    ScreenSize screen_;
    std::string error_;
};

} // namespace scr
