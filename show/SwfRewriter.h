#pragma once
// Prepares a Flash movie for the embedded player, which reports neither the
// current frame nor the end of a movie and always loops the main timeline.
// For ActionScript 1/2 movies a DoAction is inserted before every ShowFrame
// of the main timeline that traces "<prefix>hostFrame <frame from 0>";
// without looping the last frame also stops the movie and traces
// "<prefix>hostEnd". The host learns frame number, playing state and the end
// from these notices. The prefix is chosen afresh for every load, so a movie
// cannot send notices of its own; trace needs neither script access nor
// networking in the player. ActionScript 3 movies ignore DoAction: given a
// probe class name, they get the frame probe of As3FrameProbe.h on their
// first frame instead, which traces the same notices; without one they are
// left as they are. Every tag length is bounded by the movie: a damaged movie
// is cut after its last whole tag and still yields a well-formed file.

#include "package/SwfContainer.h"
#include "package/SwfTimeline.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace scr {

inline constexpr std::string_view kFrameNotice = "hostFrame";
inline constexpr std::string_view kEndNotice = "hostEnd";

struct SwfMovieInfo {
    SwfCompression compression = SwfCompression::None;
    uint8_t version = 0;
    int width = 0, height = 0;  // stage size in pixels
    double frameRate = 0;       // frames per second
    int headerFrames = 0;       // the frame count the header states
    int showFrames = 0;         // ShowFrame tags on the main timeline
    bool actionScript3 = false; // first tag is FileAttributes with the ActionScript 3 flag (version 9 on)
    bool damaged = false;       // cut short, or a tag runs past the end of the movie
};

struct SwfRewrite {
    SwfMovieInfo info;
    // The prepared movie as an uncompressed ("FWS") file; empty when the
    // movie is to be played as it is (ActionScript 3 without a probe class,
    // or no whole frame found).
    std::vector<uint8_t> movie;
};

// Reads the header and walks the main timeline. nullopt when the data is not a movie.
std::optional<SwfMovieInfo> ProbeSwf(std::span<const uint8_t> file);

// Probes and inserts the notices described above. `probeClass` names the
// ActionScript 3 probe's class (random per load, not derived from `prefix`).
std::optional<SwfRewrite> RewriteSwfForHost(std::span<const uint8_t> file, bool loop, std::string_view prefix,
                                            std::string_view probeClass = {});

// The DoAction tag (header included) inserted before ShowFrame number `frame`.
std::vector<uint8_t> FrameNoticeTag(int frame, bool stopAndNotifyEnd, std::string_view prefix);

// What a notice traced by a prepared movie says, the prefix removed.
struct HostNotice {
    bool end = false; // the movie reached its end
    int frame = -1;   // the frame about to be shown; -1 for the end
};
std::optional<HostNotice> ParseHostNotice(std::string_view message);

} // namespace scr
