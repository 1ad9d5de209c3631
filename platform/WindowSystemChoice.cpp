#include "platform/WindowSystemChoice.h"

#include <cstdlib>

namespace scr {
namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

} // namespace

DisplayEnvironment DisplayEnvironment::FromProcess() {
    return {Variable("QT_QPA_PLATFORM"), Variable("WAYLAND_DISPLAY"), Variable("DISPLAY"),
            Variable("XDG_SESSION_TYPE")};
}

WindowSystemChoice ChooseWindowSystem(const DisplayEnvironment& env, bool drawsIntoForeignWindow) {
    // A platform the user named is theirs to choose, even a wrong one.
    if (env.qtPlatform) return {};
    if (drawsIntoForeignWindow) {
        if (env.x11Display) return {"xcb", {}};
        if (env.waylandDisplay)
            return {{},
                    "drawing inside another program's window needs an X11 display, and this "
                    "Wayland session has none (DISPLAY is not set)"};
        return {};
    }
    // A Wayland session, or a Wayland display alone: Wayland, with X11 to
    // fall back on when Qt's Wayland platform is missing or cannot connect.
    const bool waylandSession = env.sessionType && *env.sessionType == "wayland";
    if (env.waylandDisplay && (waylandSession || !env.x11Display)) return {"wayland;xcb", {}};
    // An X11 display alone: X11, without trying a Wayland connection first.
    if (env.x11Display) return {"xcb", {}};
    return {};
}

void ApplyWindowSystemChoice(const WindowSystemChoice& choice) {
    if (!choice.qtPlatform.empty()) setenv("QT_QPA_PLATFORM", choice.qtPlatform.c_str(), 1);
}

} // namespace scr
