#include "platform/gui/WindowActivation.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace scr {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* X11Connection() {
    auto* app = qGuiApp;
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen ? screen->root : 0;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

WindowHandle ParentOfForeignWindow(WindowHandle window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection || window == 0) return 0;
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree || tree->parent == tree->root) return 0;
    return tree->parent;
}

WindowHandle ForegroundWindow() {
    xcb_connection_t* connection = X11Connection();
    if (!connection) return 0;
    const xcb_atom_t active = Atom(connection, "_NET_ACTIVE_WINDOW");
    if (active == XCB_ATOM_NONE) return 0;
    Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, RootWindow(connection), active, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) < 4) return 0;
    return *static_cast<const uint32_t*>(xcb_get_property_value(property.get()));
}

void SetForegroundWindow(WindowHandle window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection || window == 0) return;
    const xcb_atom_t active = Atom(connection, "_NET_ACTIVE_WINDOW");
    if (active == XCB_ATOM_NONE) return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = active;
    message.data.data32[0] = 1; // request from an application
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, RootWindow(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace scr
