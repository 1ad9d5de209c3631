#include "startup/RunContext.h"

#include "platform/gui/DevicePixelLayout.h"
#include "platform/gui/QtScreenSize.h"

#include <QApplication>
#include <optional>

namespace scr {

RunContext::RunContext(int argc, char** argv, std::string packagePath)
    : argc_(argc), argv_(argv), packagePath_(std::move(packagePath)) {
    if (!argv_ || argc_ < 1) {
        static char name[] = "scrplayer";
        static char* fallbackArgv[] = {name, nullptr};
        argc_ = 1;
        argv_ = fallbackArgv;
    }
}

RunContext::~RunContext() = default;

std::vector<std::string> RunContext::Parameters() const {
    return std::vector<std::string>(argv_ + 1, argv_ + argc_);
}

QApplication& RunContext::Application(WindowPixels pixels) {
    if (!application_) {
        std::optional<DevicePixelLayout> devicePixels;
        if (pixels == WindowPixels::Device) devicePixels.emplace();
        application_ = std::make_unique<QApplication>(argc_, argv_);
        QApplication::setApplicationName(QStringLiteral("scrplayer"));
        InstallQtScreenSizeProvider();
    }
    return *application_;
}

} // namespace scr
