#include "show/TransitionStats.h"

#include "platform/StatsLog.h"

namespace scr {

void TransitionStats::Start(int style) {
    started_ = true;
    style_ = style;
    frames_ = 0;
    start_ = std::chrono::steady_clock::now();
}

std::string TransitionStats::FormatLine(int style, int frames, long long ms) {
    return "transition style=" + std::to_string(style) + " frames=" + std::to_string(frames) +
           " ms=" + std::to_string(ms);
}

void TransitionStats::Finish() {
    if (!started_) return;
    started_ = false;
    if (!StatsEnabled()) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    AppendStatsLine(FormatLine(style_, frames_, ms));
}

} // namespace scr
