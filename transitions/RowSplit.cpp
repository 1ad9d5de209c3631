#include "transitions/RowSplit.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace scr {
namespace {

// Below about a quarter of a 1920 x 1080 frame, starting a thread costs more
// than it saves.
constexpr int64_t kPixelsWorthAThread = 500'000;
// Enough bands that the faster thread takes over what the slower one would
// still have had to do; few enough that each band is long.
constexpr int kBands = 16;

bool TwoCores() {
    static const bool twoCores = std::thread::hardware_concurrency() >= 2;
    return twoCores;
}

} // namespace

void ForRowBands(int rows, int64_t pixels, const PixelOptions& options,
                 const std::function<void(int, int, int)>& work) {
    if (rows <= 0) return;
    if (rows < 2 || pixels < kPixelsWorthAThread || options.threads < 2 || !TwoCores()) {
        work(0, rows, 0);
        return;
    }
    std::atomic<int> next{0};
    const auto takeBands = [&](int worker) {
        for (int band = next++; band < kBands; band = next++) {
            const int first = static_cast<int>(static_cast<int64_t>(rows) * band / kBands);
            const int last = static_cast<int>(static_cast<int64_t>(rows) * (band + 1) / kBands);
            if (first < last) work(first, last, worker);
        }
    };
    std::thread second;
    try {
        second = std::thread(takeBands, 1);
    } catch (const std::system_error&) {
        // No thread to be had: every band here.
    }
    takeBands(0);
    if (second.joinable()) second.join();
}

} // namespace scr
