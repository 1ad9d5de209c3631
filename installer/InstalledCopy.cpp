#include "installer/InstalledCopy.h"

#include "package/PackageTrailer.h"
#include "platform/AtomicFileWriter.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace scr {
namespace {

bool Fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

} // namespace

bool WriteInstalledCopy(const std::string& source, const std::string& destination, std::string* error) {
    ReadOnlyFile in;
    if (!in.open(source)) return Fail(error, "cannot open " + source);
    if (in.size() < kTrailerSize) return Fail(error, source + " carries no package trailer");

    AtomicFileWriter out;
    if (!out.open(destination)) return Fail(error, out.error());

    // The program and the package up to the trailer, unchanged.
    std::vector<uint8_t> buffer(std::size_t{1} << 20);
    int64_t remaining = in.size() - kTrailerSize;
    while (remaining > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<int64_t>(remaining, std::ssize(buffer)));
        if (!in.read(buffer.data(), chunk)) return Fail(error, "cannot read " + source);
        if (!out.write(buffer.data(), chunk)) return Fail(error, out.error());
        remaining -= static_cast<int64_t>(chunk);
    }

    // The trailer, still scrambled, with the kind byte of an installed screen saver.
    std::array<uint8_t, kTrailerSize> trailer{};
    if (!in.read(trailer.data(), trailer.size())) return Fail(error, "cannot read " + source);
    trailer[kPackageKindOffset] = kInstalledKindByte;
    if (!out.write(trailer.data(), trailer.size()) || !out.commit(0755)) return Fail(error, out.error());
    return true;
}

} // namespace scr
