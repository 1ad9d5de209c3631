#pragma once
// Renders a packed screen saver to a video file: the show window runs
// offscreen at the video's size on a virtual clock that moves on one frame at
// a time; each frame is drawn from the window (background, pictures,
// transitions, labels, pinned items, the movement) and handed to the encoder
// with the matching piece of the sound track.
//
// The video is written beside the output under a temporary name and renamed
// at the end; a render stopped by a signal or a failed write removes it.

#include "tools/VideoEncoder.h"

#include <cstdint>
#include <optional>
#include <string>

namespace scr {

struct RenderSettings {
    std::string package;
    std::string output;
    VideoContainer container = VideoContainer::WebM;
    int width = 1920;
    int height = 1080;
    int fps = 30;
    // The length: a number of seconds, else this many passes through the items.
    std::optional<double> durationSeconds;
    int loops = 1;
    uint32_t seed = 1;
};

// The longest video a render makes, whatever the passes through the items take.
inline constexpr double kMaxRenderSeconds = 12 * 3600;
// A movie file's pass lasts at least this long (many movies have a main
// timeline of one frame and animate by script).
inline constexpr double kMinMoviePassSeconds = 10;

struct FoundMovie;
// One pass of a movie file: its frame count at its frame rate, at least kMinMoviePassSeconds.
double MoviePassSeconds(const FoundMovie& movie);

// Renders; reports on standard error and returns the exit status (0 done,
// 1 failed, 130 stopped by a signal).
int RenderShow(const RenderSettings& settings);

} // namespace scr
