#pragma once
// The order the show plays its music tracks in, one track a turn: package
// order, or a random order drawn anew for every pass when the settings ask
// for random order (and there are two tracks or more); after one pass no
// more tracks unless repeat is on. The player's music and a rendered sound
// track both take their tracks from it.

#include "platform/RandomSource.h"
#include "show/MusicSettings.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace scr {

class MusicTrackOrder {
public:
    MusicTrackOrder() = default;
    // Draws the first random order, when there is one, from `random` (which
    // outlives the order).
    MusicTrackOrder(int trackCount, const MusicSettings& settings, RandomSource& random);

    // The track whose turn it is, then moves on; none once a pass without
    // repeat is over (or there are no tracks).
    std::optional<int> Next();

    // The random order of the current pass; empty in package order.
    const std::vector<int32_t>& order() const { return order_; }
    // The turns taken in the current pass.
    int position() const { return position_; }

private:
    int count_ = 0;
    bool repeat_ = false;
    std::vector<int32_t> order_;
    int position_ = 0;
    RandomSource* random_ = nullptr;
};

} // namespace scr
