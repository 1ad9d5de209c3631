#include "platform/gui/QtScreenSize.h"

#include "platform/ScreenSize.h"

#include <QGuiApplication>
#include <QScreen>

namespace scr {

void InstallQtScreenSizeProvider() {
    SetPrimaryScreenSizeProvider([] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return ScreenSize{};
        // Device pixels: the package layout is measured in screen pixels.
        const QSize size = screen->size() * screen->devicePixelRatio();
        return ScreenSize{size.width(), size.height()};
    });
}

} // namespace scr
