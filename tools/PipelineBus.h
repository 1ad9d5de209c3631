#pragma once
// What a GStreamer pipeline reports on its bus that a writer of a file must
// not miss: the end of its stream and its first error. Every read keeps
// both, so that checking for errors never swallows an end that has already
// arrived (the wait for the end would then never end). Messages of other
// kinds are of no interest here and are dropped.

#include <cstdint>
#include <string>

typedef struct _GstBus GstBus;

namespace scr {

class PipelineBus {
public:
    // Holds a reference to `bus` while it lives.
    explicit PipelineBus(GstBus* bus);
    ~PipelineBus();
    PipelineBus(const PipelineBus&) = delete;
    PipelineBus& operator=(const PipelineBus&) = delete;

    // Reads what waits on the bus without waiting; false once the pipeline
    // has reported an error.
    bool Healthy();
    // 1 once the stream has ended, -1 once the pipeline has reported an
    // error (which wins over an end), 0 when `timeoutMs` passed with neither.
    int WaitForEnd(int timeoutMs);
    // The pipeline's first error message; empty while there is none.
    const std::string& error() const { return error_; }

private:
    // Reads one message, waiting up to `timeoutNs` for it; false when none came.
    bool ReadOne(uint64_t timeoutNs);
    int State() const;

    GstBus* bus_;
    bool ended_ = false;
    std::string error_;
};

} // namespace scr
