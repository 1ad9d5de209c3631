#include "tools/MusicTrackDecoder.h"

#include "tools/VideoEncoder.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

namespace scr {
namespace {

// A piece that takes longer than this to decode ends the track.
constexpr GstClockTime kPieceTimeout = 10 * GST_SECOND;
constexpr GstClockTime kPollInterval = 100 * GST_MSECOND;

} // namespace

MusicTrackDecoder::MusicTrackDecoder(const std::string& path) {
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
    const std::string caps =
        "audio/x-raw,format=S16LE,layout=interleaved,rate=" + std::to_string(VideoEncoder::kSampleRate) +
        ",channels=" + std::to_string(VideoEncoder::kChannels);
    const std::string description = "filesrc name=file ! decodebin ! audioconvert ! audioresample ! " + caps +
                                    " ! appsink name=out sync=false max-buffers=8";
    GError* error = nullptr;
    pipeline_ = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline_) gst_object_unref(pipeline_);
        pipeline_ = nullptr;
        ended_ = true;
        return;
    }
    GstBus* bus = gst_element_get_bus(pipeline_);
    bus_ = std::make_unique<PipelineBus>(bus);
    gst_object_unref(bus);
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline_), "file");
    g_object_set(file, "location", path.c_str(), nullptr);
    gst_object_unref(file);
    sink_ = gst_bin_get_by_name(GST_BIN(pipeline_), "out");
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) ended_ = true;
}

MusicTrackDecoder::~MusicTrackDecoder() {
    bus_.reset();
    if (sink_) gst_object_unref(sink_);
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
    }
}

bool MusicTrackDecoder::Next(std::vector<int16_t>& samples) {
    if (ended_ || !sink_) return false;
    GstSample* sample = nullptr;
    for (GstClockTime waited = 0; !sample && waited < kPieceTimeout; waited += kPollInterval) {
        sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), kPollInterval);
        if (sample || gst_app_sink_is_eos(GST_APP_SINK(sink_)) || !bus_->Healthy()) break;
    }
    if (!sample) {
        // The end of the track, an error or a decoder that hangs: the track is over.
        ended_ = true;
        return false;
    }
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const auto* first = reinterpret_cast<const int16_t*>(map.data);
        // Whole frames only (both channels).
        const size_t count = map.size / sizeof(int16_t) / VideoEncoder::kChannels * VideoEncoder::kChannels;
        samples.insert(samples.end(), first, first + count);
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return true;
}

} // namespace scr
