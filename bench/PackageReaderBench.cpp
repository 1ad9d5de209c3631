// Package reader figures:
//  - Load of a package with 10,000 items and 100 tracks (metadata only), and
//    the heap it holds with 1 MB and with 1 GB of item data (the
//    item data is a hole in a sparse file: it is never read by Load);
//  - LoadPicture of a 1920 x 1080 JPEG against libjpeg-turbo's own decode of
//    the same bytes, side by side, at every scale (counter "ratio").

#include "package/JpegCodec.h"
#include "package/LabelData.h"
#include "package/PackageFile.h"
#include "package/PackageRecords.h"
#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <jpeglib.h>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace scr;

constexpr int kItems = 10000;
constexpr int kTracks = 100;

std::string TempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/scr-bench-" + std::to_string(::getpid()) + "-" + name;
}

void Put(int fd, int64_t offset, std::vector<uint8_t> bytes, bool scramble) {
    if (scramble) ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
    if (::pwrite(fd, bytes.data(), bytes.size(), offset) != static_cast<ssize_t>(bytes.size())) std::abort();
}

template <typename Record>
void Append(std::vector<uint8_t>& out, const Record& record) {
    const std::size_t at = out.size();
    out.resize(at + Record::kSize);
    record.Serialize(out.data() + at);
}

// A picture with texture, so that decoding does real work.
Bitmap24 TexturedPicture(int width, int height) {
    Bitmap24 bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.row(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<uint8_t>(128 + 127 * std::sin(x * 0.05 + y * 0.01));
            row[x * 3 + 1] = static_cast<uint8_t>((x * y) >> 7);
            row[x * 3 + 2] = static_cast<uint8_t>(128 + 127 * std::cos(y * 0.07));
        }
    }
    return bitmap;
}

// Writes a package with a sparse item-data region of `itemBytes` bytes,
// followed by the tables, labels (one on every tenth item), the extension
// block, music names, a small background and a licence.
std::string WriteLargePackage(int64_t itemBytes, const std::string& name) {
    const std::string path = TempPath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    std::vector<uint8_t> nameField(kPackageNameSize, 0);
    std::memcpy(nameField.data(), "Large", 5);
    Put(fd, 0, nameField, true);
    const int64_t dataStart = kPackageNameSize;
    const int64_t perItem = itemBytes / (kItems + kTracks);

    std::vector<uint8_t> tables;
    for (int i = 0; i < kItems; ++i) {
        Append(tables,
               ItemLocation{static_cast<int32_t>(dataStart + i * perItem), static_cast<int32_t>(perItem)});
        ShowItem item;
        item.displaySeconds = 5;
        item.left = i % 700;
        item.width = 320;
        item.height = 240;
        Append(tables, item);
    }
    for (int i = 0; i < kTracks; ++i) {
        Append(tables, ItemLocation{static_cast<int32_t>(dataStart + (kItems + i) * perItem),
                                    static_cast<int32_t>(perItem)});
        MusicItem music;
        music.setExtension(".mp3");
        Append(tables, music);
    }
    const int64_t tableOffset = dataStart + itemBytes;
    Put(fd, tableOffset, tables, false);

    LabelGroupList labels;
    for (int i = 0; i < kItems; ++i) {
        LabelGroup group;
        if (i % 10 == 0) {
            LabelRecord record;
            record.setFontName("Liberation Sans");
            record.fontSize = 24;
            record.centerX = 400;
            record.centerY = 300;
            group.push_back(LabelItem(record, "Label of item " + std::to_string(i)));
        }
        labels.AppendGroupCopy(group);
    }
    const auto stream = WriteLabelStream(labels);
    const int64_t labelOffset = tableOffset + static_cast<int64_t>(tables.size());
    Put(fd, labelOffset, stream, true);

    std::string names;
    for (int i = 0; i < kTracks; ++i)
        names += "Track " + std::to_string(i + 1) + "\r\n";
    std::vector<uint8_t> background;
    EncodeJpeg(TexturedPicture(64, 64), 80, background);
    const std::string license(4000, 'L');
    PackageExtension extension{600, static_cast<int32_t>(names.size()), 100, 0,
                               static_cast<int32_t>(background.size())};
    std::vector<uint8_t> chain;
    Append(chain, extension);
    chain.insert(chain.end(), names.begin(), names.end());
    chain.insert(chain.end(), background.begin(), background.end());
    chain.resize(chain.size() + 4);
    WriteLE32(chain.data() + chain.size() - 4, static_cast<int32_t>(license.size()));
    chain.insert(chain.end(), license.begin(), license.end());
    int64_t pos = labelOffset + static_cast<int64_t>(stream.size());
    Put(fd, pos, chain, true);
    pos += static_cast<int64_t>(chain.size());

    std::vector<uint8_t> locator(LabelBlockLocator::kSize);
    LabelBlockLocator{true, static_cast<int32_t>(labelOffset), static_cast<int32_t>(stream.size())}.Serialize(
        locator.data());
    Put(fd, pos, locator, false);
    pos += static_cast<int64_t>(locator.size());

    std::vector<uint8_t> trailer(kTrailerSize, 0);
    WriteLE32(trailer.data(), static_cast<int32_t>(pos + kTrailerSize));
    WriteLE32(trailer.data() + 4, static_cast<int32_t>(tableOffset));
    ScreenSaverInfo info;
    info.setSignature();
    info.setItemCount(kItems);
    info.setMusicCount(kTracks);
    info.setFormatLevel(5);
    info.setDesignWidth(800);
    info.Serialize(trailer.data() + kInfoRecordOffset);
    Put(fd, pos, trailer, true);
    ::close(fd);
    return path;
}

void BM_LoadLargePackage(benchmark::State& state) {
    const int64_t itemBytes = state.range(0);
    const std::string path = WriteLargePackage(itemBytes, "large-" + std::to_string(itemBytes));
    int items = 0;
    for (auto _ : state) {
        PackageFile package(path);
        items = package.ItemCount();
        benchmark::DoNotOptimize(items);
    }
    // Memory a loaded package takes: the heap it holds while it stays loaded.
    // (The growth of the resident set says nothing here: the loop above has
    // already made the allocator's pages resident, and the package reuses them.)
    const auto before = mallinfo2().uordblks;
    auto kept = std::make_unique<PackageFile>(path);
    const auto after = mallinfo2().uordblks;
    state.counters["items"] = items;
    state.counters["tracks"] = kept->MusicCount();
    state.counters["heap_kb"] = static_cast<double>(after - before) / 1024;
    kept.reset();
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadLargePackage)
    ->Arg(int64_t{1} << 20)
    ->Arg(int64_t{1} << 30)
    ->Unit(benchmark::kMillisecond)
    ->ArgNames({"item_bytes"});

// libjpeg-turbo's own decode to BGR rows at a scale, into a reused buffer.
struct PlainError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

bool PlainDecode(const std::vector<uint8_t>& jpeg, int scale, std::vector<uint8_t>& pixels) {
    jpeg_decompress_struct cinfo;
    PlainError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<PlainError*>(c->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1u << scale;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = cinfo.output_width * 3;
    pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

std::string WritePicturePackage(const std::vector<uint8_t>& jpeg) {
    const std::string path = TempPath("picture");
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    std::vector<uint8_t> data = jpeg;
    ScrambleBytes(data.data(), static_cast<long long>(data.size() / 8));
    Put(fd, 0, std::vector<uint8_t>(kPackageNameSize, 0), true);
    Put(fd, kPackageNameSize, data, false);
    std::vector<uint8_t> table;
    Append(table, ItemLocation{static_cast<int32_t>(kPackageNameSize), static_cast<int32_t>(jpeg.size())});
    Append(table, ShowItem{});
    const int64_t tableOffset = kPackageNameSize + static_cast<int64_t>(jpeg.size());
    Put(fd, tableOffset, table, false);
    const int64_t end = tableOffset + static_cast<int64_t>(table.size()) + LabelBlockLocator::kSize;
    Put(fd, end - LabelBlockLocator::kSize, std::vector<uint8_t>(LabelBlockLocator::kSize, 0), false);
    std::vector<uint8_t> trailer(kTrailerSize, 0);
    WriteLE32(trailer.data(), static_cast<int32_t>(end + kTrailerSize));
    WriteLE32(trailer.data() + 4, static_cast<int32_t>(tableOffset));
    ScreenSaverInfo info;
    info.setSignature();
    info.setItemCount(1);
    info.setFormatLevel(3);
    info.Serialize(trailer.data() + kInfoRecordOffset);
    Put(fd, end, trailer, true);
    ::close(fd);
    return path;
}

double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void BM_LoadPictureVsLibjpeg(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    std::vector<uint8_t> jpeg;
    EncodeJpeg(TexturedPicture(1920, 1080), 90, jpeg);
    const std::string path = WritePicturePackage(jpeg);
    const PackageFile package(path);
    Bitmap24 bitmap;
    std::vector<uint8_t> pixels;
    double ours = 0, plain = 0;
    for (auto _ : state) {
        // Alternate the two so that both see the same machine state; the
        // thread's CPU time (user and system) keeps other load out of the figure.
        const double t0 = ThreadSeconds();
        if (!package.LoadPicture(bitmap, 0, scale)) state.SkipWithError("LoadPicture failed");
        const double t1 = ThreadSeconds();
        if (!PlainDecode(jpeg, scale, pixels)) state.SkipWithError("decode failed");
        const double t2 = ThreadSeconds();
        ours += t1 - t0;
        plain += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    state.counters["width"] = bitmap.width();
    state.counters["libjpeg_ms"] = plain * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / plain;
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadPictureVsLibjpeg)
    ->DenseRange(0, 3)
    ->ArgNames({"scale"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
