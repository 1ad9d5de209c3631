// Fuzzes the way from a package to its manifest and back: the input drives a
// random package description the builder accepts, which is packed, read as
// the player reads it, unpacked into a manifest folder, read back as `scrtool
// pack` reads it and packed again. The two packages must be identical.

#include "package/DescriptionDifferences.h"
#include "package/ManifestWriter.h"
#include "package/PackageContents.h"
#include "package/PackageFile.h"
#include "package/PackageManifest.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace scr;

std::string g_package;
std::string g_folder;
int g_fd = -1;

std::string Bytes(FuzzedDataProvider& in, std::size_t maxSize) {
    return in.ConsumeRandomLengthString(maxSize);
}

std::vector<uint8_t> Data(FuzzedDataProvider& in, std::size_t maxSize) {
    const std::string bytes = Bytes(in, maxSize);
    return {bytes.begin(), bytes.end()};
}

template <typename Record>
Record RandomRecord(FuzzedDataProvider& in) {
    std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(Record::kSize);
    bytes.resize(Record::kSize);
    return Record::Parse(bytes.data());
}

// The name as the reader gives it back: up to its NUL, without blanks or
// control characters at either end.
std::string StoredName(std::string name) {
    name = name.substr(0, name.find('\0'));
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!name.empty() && blank(name.back()))
        name.pop_back();
    while (!name.empty() && blank(name.front()))
        name.erase(name.begin());
    return name;
}

PackageDescription RandomDescription(FuzzedDataProvider& in) {
    PackageDescription d;
    d.name = StoredName(Bytes(in, kPackageNameSize - 1));
    d.info = RandomRecord<ScreenSaverInfo>(in);
    const int32_t level = d.info.formatLevel();
    d.author = RandomRecord<AuthorInfo>(in);

    const int items = in.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < items; ++i) {
        d.items.push_back({RandomRecord<ShowItem>(in), Data(in, 64)});
        LabelGroup group;
        const int labels = in.ConsumeIntegralInRange(0, 3);
        for (int l = 0; l < labels; ++l) {
            group.push_back(LabelItem(RandomRecord<LabelRecord>(in), Bytes(in, 40)));
        }
        d.labels.AppendGroupCopy(group);
    }
    const int tracks = in.ConsumeIntegralInRange(0, 3);
    const bool names = level >= 4 && in.ConsumeBool();
    for (int i = 0; i < tracks; ++i) {
        d.tracks.push_back({RandomRecord<MusicItem>(in), Data(in, 48)});
        if (!names) continue;
        std::string name = Bytes(in, 20);
        std::erase_if(name, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        d.musicNames.push_back(name);
    }
    if (level >= 4) {
        d.extension = RandomRecord<PackageExtension>(in);
        d.background = Data(in, 64);
    }
    if (level >= 5) d.licenseText = Bytes(in, 200);
    d.dynamicTexts = Bytes(in, 100);
    d.staticCaptions = Bytes(in, 100);
    return d;
}

void Fail(const char* what, const std::vector<std::string>& details = {}) {
    std::fprintf(stderr, "round trip: %s\n", what);
    for (const std::string& detail : details)
        std::fprintf(stderr, "  %s\n", detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char dir[] = "/tmp/scr-fuzz-manifest-XXXXXX";
    if (!mkdtemp(dir)) std::abort();
    g_folder = dir;
    g_fd = memfd_create("package", 0);
    if (g_fd < 0) std::abort();
    g_package = "/proc/self/fd/" + std::to_string(g_fd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const PackageDescription description = RandomDescription(in);
    const Result<std::vector<uint8_t>> built = BuildPackage(description);
    if (!built) Fail(("the builder refused the description: " + built.error()).c_str());
    const std::vector<uint8_t>& package = *built;
    if (ftruncate(g_fd, 0) != 0 ||
        pwrite(g_fd, package.data(), package.size(), 0) != static_cast<ssize_t>(package.size()))
        return 0;

    const PackageContents contents = ReadPackageContents(PackageFile(g_package));
    if (!contents.skipped.empty()) Fail("the reader skipped parts", contents.skipped);
    if (const Result<void> written = WriteManifestFolder(contents.description, g_folder); !written)
        Fail(written.error().c_str());
    const Result<PackageDescription> packed = LoadPackageManifest(g_folder + "/" + kManifestFileName);
    if (!packed) Fail(("the manifest does not load: " + packed.error()).c_str());
    const Result<std::vector<uint8_t>> rebuilt = BuildPackage(*packed);
    if (!rebuilt || *rebuilt != package)
        Fail("the packages differ", DescriptionDifferences(contents.description, *packed));
    return 0;
}
