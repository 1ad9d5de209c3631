#include "show/ItemTiming.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace scr {
namespace {
int SecondsToMs(int64_t seconds) {
    return static_cast<int>(std::min<int64_t>(seconds * 1000, INT_MAX));
}
} // namespace

int ItemIntervalMs(int kind, int displaySeconds, int defaultDisplaySeconds) {
    if (kind == static_cast<int>(ItemKind::Flash) && displaySeconds < 0)
        return SecondsToMs(-static_cast<int64_t>(displaySeconds));
    int64_t seconds = displaySeconds;
    if (seconds <= 0) seconds = defaultDisplaySeconds;
    if (seconds <= 0) seconds = 1;
    return SecondsToMs(seconds);
}

bool ItemIsFinished(int displaySeconds, const MovieProgress& movie) {
    if (!movie.exists || displaySeconds < 0 || movie.totalFrames <= 1) return true;
    return movie.frameNum >= movie.totalFrames - 1 || !movie.playing;
}

} // namespace scr
