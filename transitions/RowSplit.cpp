#include "transitions/RowSplit.h"

#include <system_error>
#include <thread>

namespace scr {
namespace {

// Below about a quarter of a 1920 x 1080 frame, starting a thread costs more
// than it saves.
constexpr int64_t kPixelsWorthAThread = 500'000;

bool HasTwoCores() {
    static const bool twoCores = std::thread::hardware_concurrency() >= 2;
    return twoCores;
}

} // namespace

void ForRowHalves(int rows, int64_t pixels, const std::function<void(int, int)>& work) {
    if (rows <= 0) return;
    if (rows < 2 || pixels < kPixelsWorthAThread || !HasTwoCores()) {
        work(0, rows);
        return;
    }
    const int middle = rows / 2;
    std::thread second;
    try {
        second = std::thread([&] { work(middle, rows); });
    } catch (const std::system_error&) {
        // No thread to be had: all rows here.
        work(0, rows);
        return;
    }
    work(0, middle);
    second.join();
}

} // namespace scr
