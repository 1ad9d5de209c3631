#include "tools/RenderSoundTrack.h"

#include "show/ShowMusic.h"
#include "tools/VideoEncoder.h"

#include <algorithm>

namespace scr {
namespace {

constexpr int64_t kTickFrames = int64_t{kMusicTickMs} * VideoEncoder::kSampleRate / 1000;

} // namespace

RenderSoundTrack::RenderSoundTrack(MusicTrackSource& tracks, const MusicSettings& settings,
                                   RandomSource& random)
    : tracks_(tracks), settings_(settings), random_(random) {
    hasMusic_ = tracks_.MusicCount() > 0 && !settings_.mute;
}

void RenderSoundTrack::Begin(int64_t ms) {
    if (!hasMusic_ || firstTick_) return;
    firstTick_ = ms * VideoEncoder::kSampleRate / 1000 + kTickFrames;
    order_ = MusicTrackOrder(tracks_.MusicCount(), settings_, random_);
}

void RenderSoundTrack::Tick() {
    if (finished_) return;
    const std::optional<int> track = order_.Next();
    if (!track) {
        finished_ = true;
        return;
    }
    const std::string file = tracks_.ExtractMusic(*track);
    if (!file.empty()) {
        playing_ = std::make_unique<MusicTrackDecoder>(file);
        pending_.clear();
        pendingOffset_ = 0;
        // A track that gives nothing did not open: the next tick tries the next one.
        if (!playing_->Next(pending_)) playing_.reset();
    }
}

std::vector<int16_t> RenderSoundTrack::Take(int64_t end) {
    constexpr int kChannels = VideoEncoder::kChannels;
    std::vector<int16_t> out;
    if (end <= position_) return out;
    out.reserve(static_cast<size_t>((end - position_) * kChannels));
    while (position_ < end) {
        if (playing_) {
            if (pendingOffset_ >= pending_.size()) {
                pending_.clear();
                pendingOffset_ = 0;
                if (!playing_->Next(pending_)) {
                    playing_.reset();
                    continue;
                }
            }
            const auto available = static_cast<int64_t>((pending_.size() - pendingOffset_) / kChannels);
            const int64_t n = std::min(available, end - position_);
            const auto from = pending_.begin() + static_cast<ptrdiff_t>(pendingOffset_);
            out.insert(out.end(), from, from + n * kChannels);
            pendingOffset_ += static_cast<size_t>(n * kChannels);
            position_ += n;
            continue;
        }
        // Nothing plays: silence up to the next tick, which may start a track.
        int64_t silentUntil = end;
        if (firstTick_ && !finished_) {
            int64_t tick = *firstTick_;
            if (position_ > tick) tick += (position_ - tick + kTickFrames - 1) / kTickFrames * kTickFrames;
            if (tick == position_ && tick != lastTick_) {
                lastTick_ = tick;
                Tick();
                continue;
            }
            if (tick == position_) tick += kTickFrames;
            silentUntil = std::min(end, tick);
        }
        out.insert(out.end(), static_cast<size_t>((silentUntil - position_) * kChannels), int16_t{0});
        position_ = silentUntil;
    }
    return out;
}

} // namespace scr
