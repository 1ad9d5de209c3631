// Fuzzes the whole-file reader of the appended package: the input is a file
// whose trailer signature is forced valid, so that every input gets past the
// signature check and exercises the tables, labels, extension chain, pictures,
// extraction and thumbnails.

#include "package/JpegCodec.h"
#include "package/PackageFile.h"
#include "package/PackageTrailer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

std::string g_path;
int g_fd = -1;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Extracted files go to a private folder; the package file lives in memory.
    static char dir[] = "/tmp/scr-fuzz-XXXXXX";
    if (!mkdtemp(dir)) std::abort();
    setenv("TMPDIR", dir, 1);
    g_fd = memfd_create("package", 0);
    if (g_fd < 0) std::abort();
    g_path = "/proc/self/fd/" + std::to_string(g_fd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    if (file.size() >= scr::kTrailerSize) {
        uint8_t* signature = file.data() + file.size() - scr::kTrailerSize + scr::kInfoRecordOffset;
        std::memcpy(signature, scr::kPackageSignature, scr::kSignatureFieldSize);
        scr::ScrambleBytes(signature, scr::kSignatureFieldSize);
    }
    if (ftruncate(g_fd, 0) != 0 ||
        pwrite(g_fd, file.data(), file.size(), 0) != static_cast<ssize_t>(file.size()))
        return 0;

    // Keep damaged headers from asking for pictures that take long to
    // decode; a screen to fit the layout to.
    scr::ReadingEnvironment reading;
    reading.screen = {1024, 768};
    reading.decode.maxPixels = 4'000'000;
    scr::PackageFile package(g_path, reading);
    scr::Bitmap24 bitmap;
    const int items = std::min(package.ItemCount(), 8);
    for (int i = 0; i < items; ++i) {
        package.LoadPicture(bitmap, i, i % 4);
        package.GetThumbnail(bitmap, i, 90, 120);
        package.ReadMovie(i);
    }
    for (int i = 0; i < std::min(package.MusicCount(), 8); ++i)
        static_cast<void>(package.ExtractMusic(i));
    package.ReadLanguageTable(false);
    package.ReadLanguageTable(true);
    package.FitLayout(package.DesignWidth() + 1, package.DesignHeight() + 1);
    package.NameUtf8();
    package.LicenseTextUtf8();
    return 0;
}
