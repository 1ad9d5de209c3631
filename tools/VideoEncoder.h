#pragma once
// Encodes a stream of frames, and optionally a sound track, into a video file
// through a GStreamer pipeline: raw frames and samples go in through appsrc
// elements, GStreamer's encoders and muxer do the rest.
//
//   .webm  VP9 (real-time speed settings, row-parallel) and Opus, WebM muxer
//   .mp4   H.264 (x264) and AAC, MP4 muxer (its index is written at the end
//          of the stream, so only Finish makes the file complete)
//
// Frames are 32-bit pixels of the form 0xffRRGGBB (QImage::Format_RGB32);
// samples are interleaved signed 16-bit stereo at kSampleRate. Pushing
// waits while a few frames (a few seconds of sound) are queued and not yet
// encoded, so memory stays bounded.

#include "tools/PipelineBus.h"

#include <cstdint>
#include <glib.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _GstElement GstElement;
typedef struct _GstBuffer GstBuffer;

namespace scr {

enum class VideoContainer { WebM, Mp4 };

// The container an output file's extension asks for (.webm or .mp4, any case).
std::optional<VideoContainer> ContainerForPath(const std::string& path);

struct VideoFormat {
    int width = 1920;
    int height = 1080;
    int fps = 30;
    bool sound = false;
};

class VideoEncoder {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kChannels = 2;

    VideoEncoder();
    // Stops the pipeline; a file not finished is left as it is (the caller
    // removes it).
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Builds and starts the pipeline writing to `path`. False, with error(),
    // when an element is missing or the pipeline does not start.
    bool Open(const std::string& path, VideoContainer container, const VideoFormat& format);
    // The frame of the given index; `pixels` holds height rows of `stride` bytes.
    bool PushFrame(int64_t index, const uint8_t* pixels, int stride);
    // The frame of the given index is the same as the one pushed last (no copy is made).
    bool RepeatFrame(int64_t index);
    // The samples that start at sample `first` (counted from the start of the video).
    bool PushSamples(int64_t first, std::vector<int16_t>&& samples);
    // Ends the streams and waits until the muxer has written everything.
    // `keepWaiting` is asked now and then; when it says no, Finish gives up.
    template <class KeepWaiting>
    bool Finish(KeepWaiting&& keepWaiting) {
        if (!EndStreams()) return false;
        for (int waited = 0;; waited += kFinishPollMs) {
            const int done = WaitForEnd(kFinishPollMs);
            if (done != 0) return done > 0;
            if (!keepWaiting()) {
                error_ = "stopped before the file was complete";
                return false;
            }
            if (waited > kStallMs) {
                error_ = "the muxer did not finish the file within " + std::to_string(kStallMs / 1000) +
                         " seconds";
                return false;
            }
        }
    }
    // What went wrong; the pipeline's own message for its errors.
    const std::string& error() const { return error_; }

private:
    bool EndStreams();
    // 1 at the end of the stream, -1 on an error, 0 when `timeoutMs` passed.
    int WaitForEnd(int timeoutMs);
    // False, with error(), when the pipeline has reported an error.
    bool CheckBus();
    // Waits until no more than `maxBytes` wait in `source`.
    bool WaitForRoom(GstElement* source, guint64 maxBytes);
    // How long the encoders may take no data, or the muxer no step towards
    // the end, before the render gives up.
    static constexpr int kStallMs = 120000;
    static constexpr int kFinishPollMs = 200;
    void Stop();
    bool Push(int64_t index, GstBuffer* buffer);

    GstElement* pipeline_ = nullptr;
    std::unique_ptr<PipelineBus> bus_;
    GstElement* video_ = nullptr;
    GstElement* audio_ = nullptr;
    GstBuffer* lastFrame_ = nullptr;
    VideoFormat format_;
    std::string error_;
};

} // namespace scr
