#include "platform/WindowSystemChoice.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

struct ChoiceCase {
    const char* name;
    DisplayEnvironment env;
    bool foreignWindow;
    const char* expectedPlatform;
    bool unavailable;
};

TEST(WindowSystemChoice, WaylandForOwnWindowsXwaylandForOtherProgramsWindows) {
    const std::optional<std::string> none;
    const ChoiceCase cases[] = {
        {"x11 only", {none, none, ":0", "x11"}, false, "xcb", false},
        {"x11 only, preview", {none, none, ":0", none}, true, "xcb", false},
        {"wayland only", {none, "wayland-0", none, none}, false, "wayland;xcb", false},
        {"wayland only, preview", {none, "wayland-0", none, "wayland"}, true, "", true},
        {"wayland session with xwayland", {none, "wayland-0", ":0", "wayland"}, false, "wayland;xcb", false},
        {"wayland session with xwayland, preview", {none, "wayland-0", ":0", "wayland"}, true, "xcb", false},
        // A compositor nested in an X11 session: the session's own X11 display.
        {"nested compositor in x11 session", {none, "wayland-1", ":0", "x11"}, false, "xcb", false},
        {"no display at all", {none, none, none, none}, false, "", false},
        {"no display at all, preview", {none, none, none, none}, true, "", false},
        // The user's own platform is kept, even for a preview.
        {"user's choice", {"offscreen", "wayland-0", ":0", "wayland"}, true, "", false},
    };
    for (const ChoiceCase& c : cases) {
        const WindowSystemChoice choice = ChooseWindowSystem(c.env, c.foreignWindow);
        EXPECT_EQ(choice.qtPlatform, c.expectedPlatform) << c.name;
        EXPECT_EQ(!choice.unavailable.empty(), c.unavailable) << c.name;
        // A run that cannot work sets no platform for it.
        if (!choice.unavailable.empty()) {
            EXPECT_TRUE(choice.qtPlatform.empty()) << c.name;
        }
    }
}

} // namespace
} // namespace scr
