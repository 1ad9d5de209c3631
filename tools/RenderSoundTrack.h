#pragma once
// The sound track of a rendered show: the package's music as the show plays
// it. The music begins once the first item is on screen; a tick every three
// seconds from then starts the next track when none plays, in package order
// or in a random order drawn anew for every pass; after one pass it stays
// silent unless repeat is on; a track that cannot be extracted or decoded is
// skipped. Samples come out piece by piece, in step with the video frames.

#include "show/MusicSettings.h"
#include "show/MusicTrackOrder.h"
#include "tools/MusicTrackDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace scr {

class MusicTrackSource;

class RenderSoundTrack {
public:
    // Random orders draw from `random`, which outlives the sound track.
    RenderSoundTrack(MusicTrackSource& tracks, const MusicSettings& settings, RandomSource& random);

    // Whether there is any music to play (tracks, and not muted).
    bool hasMusic() const { return hasMusic_; }
    // The show's music begins at `ms` on the show's clock (first tick 3 s
    // later). Draws the random order, when there is one.
    void Begin(int64_t ms);
    // The samples (interleaved stereo) from where the last call ended up to
    // sample frame `end`; silence where no track plays.
    std::vector<int16_t> Take(int64_t end);

private:
    // One tick of the music timer at the current position.
    void Tick();

    MusicTrackSource& tracks_;
    MusicSettings settings_;
    RandomSource& random_;
    bool hasMusic_ = false;
    std::optional<int64_t> firstTick_; // sample frame of the first tick
    int64_t position_ = 0;             // sample frames produced
    int64_t lastTick_ = -1;
    MusicTrackOrder order_;
    bool finished_ = false; // one pass without repeat is over
    std::unique_ptr<MusicTrackDecoder> playing_;
    std::vector<int16_t> pending_; // decoded, not yet taken
    size_t pendingOffset_ = 0;
};

} // namespace scr
