#include "platform/gui/ForeignWindowWatch.h"

#include "platform/gui/ForeignWindow.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>

namespace scr {

ForeignWindowWatch::ForeignWindowWatch(WindowHandle window, std::function<void()> gone, QObject* parent)
    : QObject(parent), window_(window), gone_(std::move(gone)) {
    xcb_connection_t* connection = X11Connection();
    if (!connection || window == 0) return;
    // Each client has its own event mask on a window: ours is widened by
    // structure events, whatever Qt asked for before is kept.
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!attributes) return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        std::free(error);
        return;
    }
    watching_ = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

ForeignWindowWatch::~ForeignWindowWatch() {
    if (watching_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ForeignWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (reported_ || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_DESTROY_NOTIFY) return false;
    if (static_cast<const xcb_destroy_notify_event_t*>(message)->window != window_) return false;
    reported_ = true;
    // Not from inside Qt's event dispatch: the callback may end the show.
    QTimer::singleShot(0, this, gone_);
    return false;
}

} // namespace scr
