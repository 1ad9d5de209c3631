#include "startup/ApplicationObject.h"

#include "platform/gui/DevicePixelLayout.h"
#include "platform/gui/QtScreenSize.h"

#include <QApplication>
#include <memory>
#include <optional>

namespace scr {
namespace {
int g_argc = 0;
char** g_argv = nullptr;
std::unique_ptr<QApplication> g_application;
} // namespace

void SetApplicationArguments(int argc, char** argv) {
    g_argc = argc;
    g_argv = argv;
}

QApplication& InitializeApplication(WindowPixels pixels) {
    if (!g_application) {
        std::optional<DevicePixelLayout> devicePixels;
        if (pixels == WindowPixels::Device) devicePixels.emplace();
        static char name[] = "scrplayer";
        static char* fallbackArgv[] = {name, nullptr};
        if (!g_argv) {
            g_argc = 1;
            g_argv = fallbackArgv;
        }
        g_application = std::make_unique<QApplication>(g_argc, g_argv);
        QApplication::setApplicationName(QStringLiteral("scrplayer"));
        InstallQtScreenSizeProvider();
    }
    return *g_application;
}

QApplication* ApplicationIfCreated() {
    return g_application.get();
}

void ShutdownApplication() {
    g_application.reset();
}

} // namespace scr
