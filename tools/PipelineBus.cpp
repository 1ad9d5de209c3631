#include "tools/PipelineBus.h"

#include <gst/gst.h>

namespace scr {

PipelineBus::PipelineBus(GstBus* bus) : bus_(GST_BUS(gst_object_ref(bus))) {}

PipelineBus::~PipelineBus() {
    gst_object_unref(bus_);
}

bool PipelineBus::ReadOne(uint64_t timeoutNs) {
    GstMessage* message =
        gst_bus_timed_pop_filtered(bus_, static_cast<GstClockTime>(timeoutNs),
                                   static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (!message) return false;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        ended_ = true;
    } else if (error_.empty()) {
        GError* error = nullptr;
        gchar* details = nullptr;
        gst_message_parse_error(message, &error, &details);
        error_ = error && error->message && *error->message ? error->message : "the pipeline failed";
        if (error) g_error_free(error);
        g_free(details);
    }
    gst_message_unref(message);
    return true;
}

int PipelineBus::State() const {
    if (!error_.empty()) return -1;
    return ended_ ? 1 : 0;
}

bool PipelineBus::Healthy() {
    while (ReadOne(0)) {
    }
    return error_.empty();
}

int PipelineBus::WaitForEnd(int timeoutMs) {
    Healthy();
    if (State() != 0 || timeoutMs <= 0) return State();
    if (ReadOne(static_cast<uint64_t>(timeoutMs) * GST_MSECOND)) Healthy();
    return State();
}

} // namespace scr
