#include "platform/SystemDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace scr {
namespace {

std::string DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share";
    return {};
}

} // namespace

std::string SystemDirectory() {
    const std::string base = DataHome();
    if (base.empty()) return {};
    const std::filesystem::path dir = std::filesystem::path(base) / "scrplayer" / "system";
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        std::filesystem::create_directories(dir, ec);
        if (ec) return {};
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
    }
    return dir.string() + "/";
}

} // namespace scr
