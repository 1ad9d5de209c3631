#include "platform/ShowMode.h"

namespace scr {

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
