// Time to compose one step of a transition as the show does (1920 x 1080, or
// the size given with --frame=WIDTHxHEIGHT, for example --frame=3840x2160),
// for every style at the progress 25, 50 and 75, beside the time of one plain
// frame copy (memcpy of the same 24-bit picture). scripts/transitions-performance.py turns the
// medians into the tables of docs/performance.md.
#include "platform/Bitmap24.h"
#include "transitions/BitmapBlit.h"
#include "transitions/BitmapHelpers.h"
#include "transitions/FrameComposer.h"
#include "transitions/RowSplit.h"
#include "transitions/StyleTable.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace {

int g_frameWidth = 1920;
int g_frameHeight = 1080;

scr::PixelOptions g_pixels;

// Takes --frame=WIDTHxHEIGHT and --pixel-threads=1|2 out of the arguments;
// false when one is malformed.
bool ReadOptions(int& argc, char** argv) {
    constexpr std::string_view kFrame = "--frame=";
    constexpr std::string_view kThreads = "--pixel-threads=";
    int kept = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kFrame)) {
            int w = 0, h = 0;
            if (std::sscanf(argv[i] + kFrame.size(), "%dx%d", &w, &h) == 2 && w > 0 && h > 0 && w <= 16384 &&
                h <= 16384) {
                g_frameWidth = w;
                g_frameHeight = h;
            } else {
                ok = false;
            }
        } else if (arg.starts_with(kThreads)) {
            const std::string_view value = arg.substr(kThreads.size());
            ok = ok && (value == "1" || value == "2");
            g_pixels.threads = value == "1" ? 1 : 2;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return ok;
}

scr::Bitmap24 Pattern(int seed) {
    scr::Bitmap24 b(g_frameWidth, g_frameHeight);
    for (int y = 0; y < g_frameHeight; ++y) {
        uint8_t* row = b.row(y);
        for (int x = 0; x < g_frameWidth; ++x) {
            row[x * 3 + 0] = static_cast<uint8_t>(x * seed + y);
            row[x * 3 + 1] = static_cast<uint8_t>(y * seed - x);
            row[x * 3 + 2] = static_cast<uint8_t>((x ^ y) + seed);
        }
    }
    return b;
}

double ProcessCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct Pictures {
    scr::Bitmap24 oldPicture = Pattern(3);
    scr::Bitmap24 newPicture = Pattern(7);
    scr::Bitmap24 frame{g_frameWidth, g_frameHeight};
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

// Widening a whole frame into a 32-bit screen image, as the transition
// control does when it paints.
void WidenToScreen(benchmark::State& state) {
    Pictures& p = Shared();
    std::vector<uint32_t> screen(static_cast<std::size_t>(g_frameWidth) *
                                 static_cast<std::size_t>(g_frameHeight));
    for (auto _ : state) {
        scr::CopyToXrgb32(g_pixels, p.frame, {0, 0, g_frameWidth, g_frameHeight},
                          reinterpret_cast<uint8_t*>(screen.data()),
                          static_cast<std::size_t>(g_frameWidth) * 4);
        benchmark::ClobberMemory();
    }
}

// One step of a transition as the show composes it: the frame holds the
// step before (progress - 4) and the composer's memory of it, and the step to
// `progress` is timed. The process's processor time counts, so that work
// done on a second thread counts as well.
void ComposeStyle(benchmark::State& state) {
    Pictures& p = Shared();
    const int style = static_cast<int>(state.range(0));
    const int progress = static_cast<int>(state.range(1));
    constexpr int kStep = 4;
    scr::SeededRandom random(12345);
    const scr::FrameHooks hooks;
    state.SetLabel(scr::StyleInfo(style).description);
    scr::FrameMemory before;
    before.holdsOldPicture();
    scr::DrawBitmap(g_pixels, p.frame, 0, 0, p.oldPicture);
    scr::ComposeFrame(p.frame, {p.oldPicture, p.newPicture, progress - kStep, kStep, style, g_pixels}, random,
                      hooks, &before);
    const scr::Bitmap24 stepBefore = p.frame;
    scr::Bitmap24 frame = stepBefore;
    scr::FrameMemory memory;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(frame.bits(), stepBefore.bits(), frame.byteSize());
        memory = before;
        state.ResumeTiming();
        scr::ComposeFrame(frame, {p.oldPicture, p.newPicture, progress, kStep, style, g_pixels}, random,
                          hooks, &memory);
        benchmark::ClobberMemory();
    }
    // A plain frame copy timed right after, in processor time like the
    // frames: the ratio then holds also on a machine busy with other work.
    const int copies = static_cast<int>(std::clamp<int64_t>(state.iterations(), 5, 50));
    const double start = ProcessCpuMicroseconds();
    for (int i = 0; i < copies; ++i) {
        std::memcpy(frame.bits(), p.newPicture.bits(), frame.byteSize());
        benchmark::ClobberMemory();
    }
    const double spent = ProcessCpuMicroseconds() - start;
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
    benchmark::RegisterBenchmark("WidenToScreen", WidenToScreen)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(kMinTime)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
    for (int style = 0; style < scr::kStyleCount; ++style) {
        for (int progress : {25, 50, 75}) {
            benchmark::RegisterBenchmark("Compose", ComposeStyle)
                ->Args({style, progress})
                ->MeasureProcessCPUTime()
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(kMinTime)
                ->Repetitions(kRepetitions)
                ->ReportAggregatesOnly(true);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!ReadOptions(argc, argv)) {
        std::fprintf(
            stderr,
            "--frame wants WIDTHxHEIGHT, for example --frame=3840x2160, and --pixel-threads 1 or 2\n");
        return 1;
    }
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::AddCustomContext("frame", std::to_string(g_frameWidth) + "x" + std::to_string(g_frameHeight));
    benchmark::AddCustomContext("pixel_threads", std::to_string(g_pixels.threads));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
