#pragma once
// Pixel loops over large frames run on two threads. The rows are cut into
// bands; both threads take the next band until none is left, so a thread
// slowed by other work on the machine does not hold the other one up. Bands
// never share a row, so the loops need no locking.

#include "platform/PixelOptions.h"

#include <cstdint>
#include <functional>

namespace scr {

// Calls work(first, last, worker) for bands of rows covering [0, rows),
// worker being 0 or 1: on two threads at once when the options allow two,
// the area (`pixels`) is large enough to be worth a thread and the processor
// has two cores, otherwise once for all rows with worker 0. A worker's calls
// never overlap, so per-worker scratch needs no locking. Returns when every
// row is done. `work` must not throw. The results are the same either way.
void ForRowBands(int rows, int64_t pixels, const PixelOptions& options,
                 const std::function<void(int first, int last, int worker)>& work);

} // namespace scr
