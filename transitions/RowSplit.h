#pragma once
// Pixel loops over large frames run on two threads: each takes one half of
// the rows. The halves never share a row, so the loops need no locking.

#include <cstdint>
#include <functional>

namespace scr {

// Calls work(first, last) for the rows [0, rows): in two halves at once,
// the second on a thread of its own, when the area (`pixels`) is large
// enough to be worth a thread and the processor has two cores; otherwise
// once for all rows. Returns when every row is done. `work` must not throw.
void ForRowHalves(int rows, int64_t pixels, const std::function<void(int first, int last)>& work);

} // namespace scr
