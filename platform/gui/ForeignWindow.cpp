#include "platform/gui/ForeignWindow.h"

#include "platform/IntegerText.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <xcb/xcb.h>

namespace scr {

xcb_connection_t* X11Connection() {
    auto* app = qGuiApp;
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

std::optional<QSize> ForeignWindowSize(WindowHandle window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection || window == 0) return std::nullopt;
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!reply) return std::nullopt;
    const QSize size(reply->width, reply->height);
    std::free(reply);
    return size;
}

bool EmbedInForeignWindow(QWidget* widget, WindowHandle window) {
    if (!widget || !ForeignWindowSize(window)) return false;
    QWindow* foreign = QWindow::fromWinId(window);
    if (!foreign) return false;
    widget->winId();
    widget->windowHandle()->setParent(foreign);
    return true;
}

WindowHandle ScreenSaverHostWindow() {
    const char* text = std::getenv("XSCREENSAVER_WINDOW");
    if (!text || !*text) return 0;
    return TryStrToWindowHandle(text).value_or(0);
}

} // namespace scr
