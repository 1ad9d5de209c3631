// Time to compose one 1920 x 1080 transition frame, for every style at the
// progress 25, 50 and 75, beside the time of one plain frame copy (memcpy of
// the same 24-bit picture). scripts/transitions-performance.py turns the
// medians into the table of docs/performance.md.
#include "platform/Bitmap24.h"
#include "transitions/BitmapHelpers.h"
#include "transitions/FrameComposer.h"
#include "transitions/StyleTable.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <ctime>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

scr::Bitmap24 Pattern(int seed) {
    scr::Bitmap24 b(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = b.row(y);
        for (int x = 0; x < kWidth; ++x) {
            row[x * 3 + 0] = static_cast<uint8_t>(x * seed + y);
            row[x * 3 + 1] = static_cast<uint8_t>(y * seed - x);
            row[x * 3 + 2] = static_cast<uint8_t>((x ^ y) + seed);
        }
    }
    return b;
}

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct Pictures {
    scr::Bitmap24 oldPicture = Pattern(3);
    scr::Bitmap24 newPicture = Pattern(7);
    scr::Bitmap24 frame{kWidth, kHeight};
};

Pictures& Shared() {
    static Pictures pictures;
    return pictures;
}

void FrameCopy(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        std::memcpy(p.frame.bits(), p.newPicture.bits(), p.frame.byteSize());
        benchmark::ClobberMemory();
    }
}

void ComposeStyle(benchmark::State& state) {
    Pictures& p = Shared();
    const int style = static_cast<int>(state.range(0));
    const int progress = static_cast<int>(state.range(1));
    scr::SeededRandom random(12345);
    const scr::FrameHooks hooks;
    state.SetLabel(scr::StyleInfo(style).description);
    for (auto _ : state) {
        scr::ComposeFrame(p.frame, {p.oldPicture, p.newPicture, progress, 4, style}, random, hooks);
        benchmark::ClobberMemory();
    }
    // A plain frame copy timed right after, in this thread's processor time
    // like the frames: the ratio then holds also on a machine busy with
    // other work.
    const int copies = static_cast<int>(std::clamp<int64_t>(state.iterations(), 5, 50));
    const double start = ThreadCpuMicroseconds();
    for (int i = 0; i < copies; ++i) {
        std::memcpy(p.frame.bits(), p.newPicture.bits(), p.frame.byteSize());
        benchmark::ClobberMemory();
    }
    const double spent = ThreadCpuMicroseconds() - start;
    state.counters["copy_us"] = spent / copies;
}

void Register() {
    constexpr double kMinTime = 0.05;
    constexpr int kRepetitions = 5;
    benchmark::RegisterBenchmark("FrameCopy", FrameCopy)
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(kMinTime)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
    for (int style = 0; style < scr::kStyleCount; ++style) {
        for (int progress : {25, 50, 75}) {
            benchmark::RegisterBenchmark("Compose", ComposeStyle)
                ->Args({style, progress})
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(kMinTime)
                ->Repetitions(kRepetitions)
                ->ReportAggregatesOnly(true);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
