#include "show/TransitionStats.h"

#include "platform/StatsLog.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace scr {

void TransitionStats::Start(int style) {
    if (StatsEnabled()) AppendStatsLine("transition-start style=" + std::to_string(style));
    started_ = true;
    style_ = style;
    frames_ = 0;
    start_ = std::chrono::steady_clock::now();
}

std::string TransitionStats::FormatLine(int style, int frames, long long ms) {
    return "transition style=" + std::to_string(style) + " frames=" + std::to_string(frames) +
           " ms=" + std::to_string(ms);
}

namespace {

// Milliseconds since this process was started, from its start time in
// /proc/self/stat (clock ticks since boot); -1 when unknown.
long long MillisecondsSinceProcessStart() {
    std::ifstream in("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')'); // the command name may hold spaces
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // Fields after the name start at 3 (state); the start time is field 22.
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i != 22) continue;
        timespec now{};
        clock_gettime(CLOCK_BOOTTIME, &now);
        const long long ticks = std::stoll(field);
        const long long hz = sysconf(_SC_CLK_TCK);
        return now.tv_sec * 1000LL + now.tv_nsec / 1'000'000 - ticks * 1000 / hz;
    }
    return -1;
}

} // namespace

void TransitionStats::ReportFirstItem() {
    if (!StatsEnabled()) return;
    AppendStatsLine("first-item ms=" + std::to_string(MillisecondsSinceProcessStart()));
}

void TransitionStats::Finish() {
    if (!started_) return;
    started_ = false;
    if (!StatsEnabled()) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
            .count();
    AppendStatsLine(FormatLine(style_, frames_, ms));
}

} // namespace scr
