#include "tools/PackageScreen.h"

#include "platform/gui/QtScreenSize.h"
#include "tools/CommandArguments.h"

#include <QGuiApplication>
#include <cstdlib>

namespace scr {

PackageScreen::PackageScreen() = default;

PackageScreen::~PackageScreen() = default;

bool PackageScreen::choose(const std::optional<std::string>& screen) {
    if (!screen) {
        useDisplay();
        return true;
    }
    const auto size = ParseScreenArgument(*screen);
    if (!size) {
        error_ = "--screen wants WIDTHxHEIGHT, for example 1920x1080, not '" + *screen + "'";
        return false;
    }
    screen_ = ScreenSize{size->width, size->height};
    return true;
}

void PackageScreen::useDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY")) return;
    // A display that cannot be reached falls through to the offscreen
    // platform instead of ending the program (quietly: the tool's output is
    // the package, not the platform's); its made-up screen is no screen at all.
    if (!set("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", set("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen");
    if (!set("QT_LOGGING_RULES")) qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    application_ = std::make_unique<QGuiApplication>(arguments_.argc(), arguments_.argv());
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
    screen_ = QtPrimaryScreenSize();
}

} // namespace scr
