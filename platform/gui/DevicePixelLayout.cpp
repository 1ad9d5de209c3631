#include "platform/gui/DevicePixelLayout.h"

#include <QtGlobal>

namespace scr {
namespace {

// The ratio the platform reports (X resources, the offscreen screens file) is
// ignored when QT_ENABLE_HIGHDPI_SCALING is 0; the factors set by hand are
// applied whatever it says, so they are removed.
constexpr const char* kEnableScaling = "QT_ENABLE_HIGHDPI_SCALING";
constexpr const char* kRemoved[] = {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"};

std::optional<QByteArray> Current(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
}

} // namespace

DevicePixelLayout::DevicePixelLayout() {
    saved_.emplace_back(kEnableScaling, Current(kEnableScaling));
    qputenv(kEnableScaling, "0");
    for (const char* name : kRemoved) {
        saved_.emplace_back(name, Current(name));
        qunsetenv(name);
    }
}

DevicePixelLayout::~DevicePixelLayout() {
    for (const auto& [name, value] : saved_) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
}

} // namespace scr
