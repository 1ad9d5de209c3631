#include "platform/ProcessState.h"

namespace scr {

ShowMode g_showMode = ShowMode::Show;
WindowHandle g_parentWindow = 0;

const char* ShowModeName(ShowMode mode) {
    switch (mode) {
    case ShowMode::Show:
        return "Show";
    case ShowMode::Preview:
        return "Preview";
    case ShowMode::Config:
        return "Config";
    case ShowMode::ChangePassword:
        return "ChangePassword";
    case ShowMode::Install:
        return "Install";
    case ShowMode::Uninstall:
        return "Uninstall";
    }
    return "Show";
}

} // namespace scr
