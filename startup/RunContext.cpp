#include "startup/RunContext.h"

#include "platform/gui/DevicePixelLayout.h"

#include <QApplication>
#include <optional>

namespace scr {

RunContext::RunContext(int argc, char** argv, std::string packagePath)
    : argc_(argc), argv_(argv), packagePath_(std::move(packagePath)) {
    if (!argv_ || argc_ < 1) {
        argc_ = fallback_.argc();
        argv_ = fallback_.argv();
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
    }
    return *application_;
}

} // namespace scr
