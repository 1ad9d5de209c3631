#include "tools/VideoEncoder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

namespace scr {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The encoders: fast settings that keep the picture close to the show's, so
// that a frame decoded again differs from the composed one by little.
std::string VideoBranch(VideoContainer container, const VideoFormat& f) {
    const std::string caps = "video/x-raw,format=BGRx,width=" + std::to_string(f.width) +
                             ",height=" + std::to_string(f.height) + ",framerate=" + std::to_string(f.fps) +
                             "/1";
    std::string branch = "appsrc name=video format=time max-bytes=0 caps=\"" + caps +
                         "\" ! videoconvert n-threads=2 ! video/x-raw,format=I420 ! ";
    if (container == VideoContainer::WebM)
        branch +=
            "vp9enc deadline=1 cpu-used=8 row-mt=true threads=4 lag-in-frames=0 end-usage=cq cq-level=16 "
            "max-quantizer=40 target-bitrate=" +
            std::to_string(std::max<int64_t>(1000000, int64_t{f.width} * f.height * f.fps / 3)) +
            " keyframe-max-dist=" + std::to_string(f.fps * 5);
    else
        branch += "x264enc speed-preset=veryfast pass=qual quantizer=18 threads=4 key-int-max=" +
                  std::to_string(f.fps * 5) + " ! h264parse";
    return branch + " ! queue max-size-buffers=0 max-size-time=0 max-size-bytes=0 ! mux.";
}

std::string AudioBranch(VideoContainer container) {
    const std::string caps =
        "audio/x-raw,format=S16LE,layout=interleaved,rate=" + std::to_string(VideoEncoder::kSampleRate) +
        ",channels=" + std::to_string(VideoEncoder::kChannels);
    std::string branch = " appsrc name=audio format=time max-bytes=0 caps=\"" + caps + "\" ! audioconvert ! ";
    branch +=
        container == VideoContainer::WebM ? "opusenc bitrate=128000" : "voaacenc bitrate=160000 ! aacparse";
    return branch + " ! queue max-size-buffers=0 max-size-time=0 max-size-bytes=0 ! mux.";
}

} // namespace

std::optional<VideoContainer> ContainerForPath(const std::string& path) {
    const std::string lower = Lower(path);
    if (lower.ends_with(".webm")) return VideoContainer::WebM;
    if (lower.ends_with(".mp4")) return VideoContainer::Mp4;
    return std::nullopt;
}

VideoEncoder::VideoEncoder() {
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
}

VideoEncoder::~VideoEncoder() {
    Stop();
}

bool VideoEncoder::Open(const std::string& path, VideoContainer container, const VideoFormat& format) {
    Stop();
    format_ = format;
    std::string description = VideoBranch(container, format);
    if (format.sound) description += AudioBranch(container);
    description += container == VideoContainer::WebM ? " webmmux name=mux" : " mp4mux name=mux";
    description += " ! filesink name=sink";
    GError* error = nullptr;
    pipeline_ = gst_parse_launch(description.c_str(), &error);
    if (error) {
        error_ = std::string("cannot build the encoding pipeline: ") + error->message;
        g_error_free(error);
        Stop();
        return false;
    }
    GstBus* bus = gst_element_get_bus(pipeline_);
    bus_ = std::make_unique<PipelineBus>(bus);
    gst_object_unref(bus);
    // The file name goes in as a property, never through the pipeline text.
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline_), "sink");
    g_object_set(sink, "location", path.c_str(), nullptr);
    gst_object_unref(sink);
    video_ = gst_bin_get_by_name(GST_BIN(pipeline_), "video");
    if (format.sound) audio_ = gst_bin_get_by_name(GST_BIN(pipeline_), "audio");
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        if (CheckBus()) error_ = "cannot start the encoding pipeline for " + path;
        Stop();
        return false;
    }
    return CheckBus();
}

bool VideoEncoder::PushFrame(int64_t index, const uint8_t* pixels, int stride) {
    if (!video_) return false;
    const gsize rowBytes = static_cast<gsize>(format_.width) * 4;
    GstBuffer* buffer =
        gst_buffer_new_allocate(nullptr, rowBytes * static_cast<gsize>(format_.height), nullptr);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        gst_buffer_unref(buffer);
        error_ = "out of memory for a frame";
        return false;
    }
    for (int y = 0; y < format_.height; ++y)
        std::memcpy(map.data + static_cast<gsize>(y) * rowBytes, pixels + static_cast<ptrdiff_t>(y) * stride,
                    rowBytes);
    gst_buffer_unmap(buffer, &map);
    if (lastFrame_) gst_buffer_unref(lastFrame_);
    lastFrame_ = gst_buffer_ref(buffer);
    return Push(index, buffer);
}

bool VideoEncoder::RepeatFrame(int64_t index) {
    if (!lastFrame_) return false;
    // A new buffer on the same pixels: the timestamps are the buffer's own.
    return Push(index, gst_buffer_copy(lastFrame_));
}

bool VideoEncoder::Push(int64_t index, GstBuffer* buffer) {
    const auto fps = static_cast<guint64>(format_.fps);
    const GstClockTime start = gst_util_uint64_scale(static_cast<guint64>(index), GST_SECOND, fps);
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) =
        gst_util_uint64_scale(static_cast<guint64>(index + 1), GST_SECOND, fps) - start;
    const auto frameBytes = static_cast<guint64>(format_.width) * static_cast<guint64>(format_.height) * 4;
    if (!WaitForRoom(video_, 4 * frameBytes)) {
        gst_buffer_unref(buffer);
        return false;
    }
    if (gst_app_src_push_buffer(GST_APP_SRC(video_), buffer) != GST_FLOW_OK) {
        if (CheckBus()) error_ = "the encoder stopped taking frames";
        return false;
    }
    return CheckBus();
}

bool VideoEncoder::PushSamples(int64_t first, std::vector<int16_t>&& samples) {
    if (!audio_) return true;
    if (samples.empty()) return CheckBus();
    const gsize bytes = samples.size() * sizeof(int16_t);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(buffer, 0, samples.data(), bytes);
    const auto frames = static_cast<guint64>(samples.size() / kChannels);
    const GstClockTime start = gst_util_uint64_scale(static_cast<guint64>(first), GST_SECOND, kSampleRate);
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) =
        gst_util_uint64_scale(static_cast<guint64>(first) + frames, GST_SECOND, kSampleRate) - start;
    if (!WaitForRoom(audio_, 4 * kSampleRate * kChannels * sizeof(int16_t))) {
        gst_buffer_unref(buffer);
        return false;
    }
    if (gst_app_src_push_buffer(GST_APP_SRC(audio_), buffer) != GST_FLOW_OK) {
        if (CheckBus()) error_ = "the encoder stopped taking sound";
        return false;
    }
    return CheckBus();
}

bool VideoEncoder::EndStreams() {
    if (!pipeline_) return false;
    gst_app_src_end_of_stream(GST_APP_SRC(video_));
    if (audio_) gst_app_src_end_of_stream(GST_APP_SRC(audio_));
    return CheckBus();
}

int VideoEncoder::WaitForEnd(int timeoutMs) {
    if (!bus_) return -1;
    const int state = bus_->WaitForEnd(timeoutMs);
    if (state < 0) error_ = bus_->error();
    return state;
}

bool VideoEncoder::WaitForRoom(GstElement* source, guint64 maxBytes) {
    // Waits while the encoders are behind; an error of the pipeline (a full
    // disk, say) ends the wait, since nothing would take the data any more.
    // A pipeline that takes nothing for kStallMs is stuck, not slow: the
    // render ends with an error instead of waiting for ever.
    guint64 level = gst_app_src_get_current_level_bytes(GST_APP_SRC(source));
    gint64 lastProgress = g_get_monotonic_time();
    while (level > maxBytes) {
        if (WaitForEnd(2) != 0) {
            if (error_.empty()) error_ = "the encoding pipeline ended early";
            return false;
        }
        const guint64 now = gst_app_src_get_current_level_bytes(GST_APP_SRC(source));
        if (now < level) lastProgress = g_get_monotonic_time();
        level = now;
        if (g_get_monotonic_time() - lastProgress > gint64(kStallMs) * 1000) {
            error_ = "the encoders took no data for " + std::to_string(kStallMs / 1000) + " seconds";
            return false;
        }
    }
    return CheckBus();
}

bool VideoEncoder::CheckBus() {
    if (!bus_) return false;
    if (bus_->Healthy()) return true;
    error_ = bus_->error();
    return false;
}

void VideoEncoder::Stop() {
    if (lastFrame_) gst_buffer_unref(lastFrame_);
    lastFrame_ = nullptr;
    if (video_) gst_object_unref(video_);
    if (audio_) gst_object_unref(audio_);
    video_ = audio_ = nullptr;
    bus_.reset();
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
        pipeline_ = nullptr;
    }
}

} // namespace scr
