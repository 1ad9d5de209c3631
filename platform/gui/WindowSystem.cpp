#include "platform/gui/WindowSystem.h"

#include <QGuiApplication>

namespace scr {

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace scr
