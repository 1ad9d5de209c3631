// What a pipeline's bus reports to a writer of a file: the end of the stream
// and the first error, kept by every read.

#include "tools/PipelineBus.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

namespace scr {
namespace {

class PipelineBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gst_is_initialized()) gst_init(nullptr, nullptr);
        bus_ = gst_bus_new();
    }
    void TearDown() override { gst_object_unref(bus_); }

    void PostError(const char* text) {
        GError* error = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT, text);
        gst_bus_post(bus_, gst_message_new_error(nullptr, error, "details"));
        g_error_free(error);
    }

    GstBus* bus_ = nullptr;
};

// A writer checks for errors right after it ends its streams. On a loaded
// machine the end may already have arrived by then: the check must keep it,
// or the wait for the end that follows never ends.
TEST_F(PipelineBusTest, AnEndReadWhileCheckingForErrorsIsKept) {
    PipelineBus bus(bus_);
    EXPECT_TRUE(bus.Healthy());
    EXPECT_EQ(bus.WaitForEnd(0), 0);
    gst_bus_post(bus_, gst_message_new_state_dirty(nullptr));
    gst_bus_post(bus_, gst_message_new_eos(nullptr));
    EXPECT_TRUE(bus.Healthy());
    EXPECT_EQ(bus.WaitForEnd(0), 1);
    EXPECT_EQ(bus.WaitForEnd(0), 1) << "the end, once read, stays read";
    EXPECT_EQ(bus.error(), "");
}

// The first error is the one reported, whatever comes after it, and it wins
// over an end read before it: the file is not complete.
TEST_F(PipelineBusTest, TheFirstErrorIsKeptAndWinsOverTheEnd) {
    PipelineBus bus(bus_);
    gst_bus_post(bus_, gst_message_new_eos(nullptr));
    PostError("No space left on the device");
    PostError("a later error");
    EXPECT_FALSE(bus.Healthy());
    EXPECT_EQ(bus.error(), "No space left on the device");
    EXPECT_EQ(bus.WaitForEnd(0), -1);
    EXPECT_FALSE(bus.Healthy()) << "an error, once read, stays read";
}

// Waiting gives up after its time when nothing comes, and sees what comes
// while it waits.
TEST_F(PipelineBusTest, WaitingEndsWithTheTimeOrWithTheEnd) {
    PipelineBus bus(bus_);
    const gint64 start = g_get_monotonic_time();
    EXPECT_EQ(bus.WaitForEnd(50), 0);
    EXPECT_GE(g_get_monotonic_time() - start, 40 * 1000);
    GThread* poster = g_thread_new(
        "poster",
        [](gpointer data) -> gpointer {
            g_usleep(20 * 1000);
            gst_bus_post(static_cast<GstBus*>(data), gst_message_new_eos(nullptr));
            return nullptr;
        },
        bus_);
    EXPECT_EQ(bus.WaitForEnd(5000), 1);
    g_thread_join(poster);
}

} // namespace
} // namespace scr
