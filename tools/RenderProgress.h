#pragma once
// The progress line of a render on standard error: items done, frames done
// and the time left, redrawn in place a few times a second. Quiet when
// standard error is not a terminal.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace scr {

class RenderProgress {
public:
    // `totalFrames` when the length is known, else `totalItems` (a number of
    // passes through the items) gives the estimate.
    RenderProgress(std::optional<int64_t> totalFrames, std::optional<int> totalItems,
                   std::FILE* out = stderr);

    // After each frame.
    void Update(int64_t framesDone, int itemsDone);
    // Draws the last counts given to Update and ends the line (once).
    void Finish();

private:
    void Draw(int64_t framesDone, int itemsDone);

    std::optional<int64_t> totalFrames_;
    std::optional<int> totalItems_;
    std::FILE* out_;
    bool terminal_;
    bool drawn_ = false;
    bool finished_ = false;
    int64_t framesDone_ = 0;
    int itemsDone_ = 0;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDraw_;
};

} // namespace scr
