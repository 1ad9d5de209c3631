#pragma once

#include <cstdint>
#include <sys/types.h>

namespace scr {

// The resident memory (VmRSS) of the process `pid` in bytes, or -1 when the
// process is gone or its figures cannot be read.
int64_t ResidentBytesOf(pid_t pid);

} // namespace scr
