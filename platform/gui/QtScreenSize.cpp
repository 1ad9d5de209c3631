#include "platform/gui/QtScreenSize.h"

#include <QGuiApplication>
#include <QScreen>

namespace scr {

ScreenSize QtPrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return ScreenSize{};
    const QSize size = screen->size() * screen->devicePixelRatio();
    return ScreenSize{size.width(), size.height()};
}

DecodeLimits QtDesktopDecodeLimits() {
    DecodeLimits limits;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QSize desktop = primary->virtualSize();
        limits.maxWidth = 2 * desktop.width();
        limits.maxHeight = 2 * desktop.height();
    }
    return limits;
}

} // namespace scr
