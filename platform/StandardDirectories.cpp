#include "platform/StandardDirectories.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace scr {
namespace {

std::string BaseDirectory(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value && *value == '/') return value;
    return HomeDirectory() + underHome;
}

} // namespace

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

std::string XdgDataHome() {
    return BaseDirectory("XDG_DATA_HOME", "/.local/share");
}

std::string XdgConfigHome() {
    return BaseDirectory("XDG_CONFIG_HOME", "/.config");
}

std::string SystemDirectory() {
    const std::string path = XdgDataHome() + "/scrplayer/system";
    // A folder that cannot be made shows later, when the copy into it fails.
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return path;
}

} // namespace scr
