#include "platform/StatsLog.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace scr {
namespace {

const char* StatsFile() {
    const char* path = std::getenv("SCRPLAYER_STATS");
    return path && *path ? path : nullptr;
}

} // namespace

bool StatsEnabled() {
    return StatsFile() != nullptr;
}

void AppendStatsLine(std::string_view line) {
    const char* path = StatsFile();
    if (!path) return;
    int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    std::string text(line);
    text += '\n';
    [[maybe_unused]] ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

} // namespace scr
