#include "package/PackedPayload.h"

#include "package/PeResources.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace scr {
namespace {

// Packers and archive formats leave their marks in the first part of the
// program or, for ZIP archives, in the directory at the end.
constexpr int64_t kHeadBytes = 4 << 20;
constexpr int64_t kTailBytes = 64 << 10;

struct Mark {
    std::string_view bytes;
    const char* reason;
};

constexpr Mark kHeadMarks[] = {
    {"UPX!", "it is packed with UPX, which hides its contents; unpack it with 'upx -d' first"},
    {std::string_view("Rar!\x1A\x07", 6), "it is a self-extracting RAR archive; extract it first"},
    {std::string_view("7z\xBC\xAF\x27\x1C", 6), "it is a self-extracting 7-Zip archive; extract it first"},
    {std::string_view("MSCF\0\0\0\0", 8), "it is a self-extracting cabinet archive; extract it first"},
    {"NullsoftInst", "it is an NSIS installer, whose files are compressed; install or extract it first"},
    {"Inno Setup Setup Data",
     "it is an Inno Setup installer, whose files are compressed; install or extract it first"},
    {std::string_view("PK\x03\x04", 4), "it is a self-extracting ZIP archive; extract it first"},
};
constexpr Mark kTailMarks[] = {
    {std::string_view("PK\x05\x06", 4), "it is a self-extracting ZIP archive; extract it first"},
};

std::string_view Read(const ByteSource& source, int64_t offset, int64_t count, std::vector<uint8_t>& buffer) {
    count = std::clamp<int64_t>(count, 0, std::max<int64_t>(0, source.size() - offset));
    buffer.resize(static_cast<std::size_t>(count));
    if (!source.readAt(offset, buffer.data(), buffer.size())) return {};
    return {reinterpret_cast<const char*>(buffer.data()), buffer.size()};
}

} // namespace

std::optional<std::string> PackedPayloadReason(const ByteSource& source) {
    const PeResourceReader pe(source);
    for (const std::string& name : pe.SectionNames())
        if (name.starts_with("UPX")) return std::string(kHeadMarks[0].reason);
    std::vector<uint8_t> buffer;
    const std::string_view head = Read(source, 0, kHeadBytes, buffer);
    for (const Mark& mark : kHeadMarks)
        if (head.find(mark.bytes) != std::string_view::npos) return std::string(mark.reason);
    const int64_t tailStart = std::max<int64_t>(0, source.size() - kTailBytes);
    const std::string_view tail = Read(source, tailStart, kTailBytes, buffer);
    for (const Mark& mark : kTailMarks)
        if (tail.find(mark.bytes) != std::string_view::npos) return std::string(mark.reason);
    return std::nullopt;
}

} // namespace scr
