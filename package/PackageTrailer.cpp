#include "package/PackageTrailer.h"

#include "package/ByteSource.h"
#include "platform/ReadOnlyFile.h"

#include <cstring>

namespace scr {

void ScrambleBytes(void* buffer, long long count) {
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (long long i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

bool SignatureMatches(const uint8_t* field) {
    return std::strncmp(reinterpret_cast<const char*>(field), kPackageSignature, kSignatureFieldSize) == 0;
}

bool ReadTrailer(const std::string& path, TrailerBytes& trailer, int64_t* fileSize) {
    ReadOnlyFile file;
    if (!file.open(path) || file.size() < kTrailerSize) return false;
    if (!file.readAt(file.size() - kTrailerSize, trailer.data(), trailer.size())) return false;
    ScrambleBytes(trailer.data(), kTrailerSize);
    if (fileSize) *fileSize = file.size();
    return true;
}

uint8_t ReadPackageKind(const std::string& path) {
    TrailerBytes trailer{};
    if (!ReadTrailer(path, trailer)) return 0;
    if (!SignatureMatches(trailer.data() + kInfoRecordOffset)) return 0;
    return trailer[kPackageKindOffset];
}

bool HasValidTrailer(const std::string& path) {
    ReadOnlyFile file;
    if (!file.open(path)) return false;
    return HasValidTrailer(FileByteSource(file));
}

bool HasValidTrailer(const ByteSource& source) {
    TrailerBytes trailer{};
    if (source.size() < kTrailerSize ||
        !source.readAt(source.size() - kTrailerSize, trailer.data(), trailer.size()))
        return false;
    ScrambleBytes(trailer.data(), kTrailerSize);
    if (source.size() < ParseTrailerFields(trailer).packageSize) return false;
    return SignatureMatches(trailer.data() + kInfoRecordOffset);
}

TrailerFields ParseTrailerFields(const TrailerBytes& trailer) {
    return {ReadLE32(&trailer[0]), ReadLE32(&trailer[4]), ReadLE32(&trailer[8]), ReadLE32(&trailer[12]),
            ReadLE32(&trailer[16])};
}

} // namespace scr
