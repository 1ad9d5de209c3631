#include "show/TransitionStats.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace scr {

TransitionStats::TransitionStats() {
    if (const char* path = std::getenv("SCRPLAYER_STATS")) path_ = path;
}

void TransitionStats::Start(int style) {
    started_ = true;
    style_ = style;
    frames_ = 0;
    start_ = std::chrono::steady_clock::now();
}

std::string TransitionStats::FormatLine(int style, int frames, long long ms) {
    return "transition style=" + std::to_string(style) + " frames=" + std::to_string(frames) +
           " ms=" + std::to_string(ms) + "\n";
}

void TransitionStats::Finish() {
    if (!started_) return;
    started_ = false;
    if (path_.empty()) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    const std::string line = FormatLine(style_, frames_, ms);
    // One write with O_APPEND keeps lines whole even with several writers.
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    [[maybe_unused]] ssize_t n = ::write(fd, line.data(), line.size());
    ::close(fd);
}

} // namespace scr
