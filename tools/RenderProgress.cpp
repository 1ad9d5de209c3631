#include "tools/RenderProgress.h"

#include <algorithm>
#include <string>
#include <unistd.h>

namespace scr {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
constexpr int kBarWidth = 24;

std::string Clock(double seconds) {
    const auto total = static_cast<long>(std::max(0.0, seconds) + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

} // namespace

RenderProgress::RenderProgress(std::optional<int64_t> totalFrames, std::optional<int> totalItems,
                               std::FILE* out)
    : totalFrames_(totalFrames), totalItems_(totalItems), out_(out), terminal_(isatty(fileno(out)) != 0),
      started_(std::chrono::steady_clock::now()) {}

void RenderProgress::Update(int64_t framesDone, int itemsDone) {
    framesDone_ = framesDone;
    itemsDone_ = itemsDone;
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    Draw(framesDone, itemsDone);
}

void RenderProgress::Draw(int64_t framesDone, int itemsDone) {
    double fraction = 0;
    if (totalFrames_ && *totalFrames_ > 0)
        fraction = static_cast<double>(framesDone) / static_cast<double>(*totalFrames_);
    else if (totalItems_ && *totalItems_ > 0)
        fraction = static_cast<double>(itemsDone) / *totalItems_;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const std::string left = fraction > 0 ? Clock(elapsed * (1 - fraction) / fraction) : "?";
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::string items = std::to_string(itemsDone);
    if (totalItems_) items += "/" + std::to_string(*totalItems_);
    std::string frames = std::to_string(framesDone);
    if (totalFrames_) frames += "/" + std::to_string(*totalFrames_);
    std::fprintf(out_, "\r[%s] %3d%%  items %s  frames %s  left %s   ", bar.c_str(),
                 static_cast<int>(fraction * 100), items.c_str(), frames.c_str(), left.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void RenderProgress::Finish() {
    if (!terminal_ || finished_) return;
    finished_ = true;
    Draw(framesDone_, itemsDone_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

} // namespace scr
