// scr_test_fake_key KEYCODE: presses and releases one key (a Linux input
// event code, 30 for A) through KWin's fake input protocol, as a user at a
// keyboard would; the tests' stand-in for typing on a compositor without a
// virtual keyboard tool. KWin offers the protocol to any client when it runs
// with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1. Exit status 0 when the key was
// sent, 1 when the compositor offers no fake input.

#include "fake-input-client-protocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace {

org_kde_kwin_fake_input* g_fakeInput = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        g_fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, id, &org_kde_kwin_fake_input_interface, 4));
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kListener = {OnGlobal, OnGlobalRemove};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scr_test_fake_key KEYCODE\n");
        return 2;
    }
    const uint32_t key = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "scr_test_fake_key: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, nullptr);
    wl_display_roundtrip(display);
    if (!g_fakeInput) {
        std::fprintf(stderr, "scr_test_fake_key: the compositor offers no fake input\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(g_fakeInput, "scrplayer tests", "type a key");
    org_kde_kwin_fake_input_keyboard_key(g_fakeInput, key, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(g_fakeInput, key, WL_KEYBOARD_KEY_STATE_RELEASED);
    wl_display_roundtrip(display);
    org_kde_kwin_fake_input_destroy(g_fakeInput);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
