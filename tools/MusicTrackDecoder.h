#pragma once
// Decodes one music file, piece by piece, to interleaved signed 16-bit stereo
// at the video's sample rate: GStreamer finds the format, decodes, converts
// and resamples. Only a few pieces are decoded ahead, so a long track costs
// no more memory than a short one. A file GStreamer cannot play gives no
// samples at all.

#include "tools/PipelineBus.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;

namespace scr {

class MusicTrackDecoder {
public:
    explicit MusicTrackDecoder(const std::string& path);
    ~MusicTrackDecoder();
    MusicTrackDecoder(const MusicTrackDecoder&) = delete;
    MusicTrackDecoder& operator=(const MusicTrackDecoder&) = delete;

    // Appends the next decoded piece to `samples`; false at the end of the
    // track or when it cannot be decoded.
    bool Next(std::vector<int16_t>& samples);

private:
    GstElement* pipeline_ = nullptr;
    // Errors of the pipeline (a file it cannot decode); the end of the track
    // comes from the sink.
    std::unique_ptr<PipelineBus> bus_;
    GstElement* sink_ = nullptr;
    bool ended_ = false;
};

} // namespace scr
