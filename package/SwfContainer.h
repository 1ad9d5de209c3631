#pragma once
// The outer layer of a Flash movie file: the 8-byte header ("FWS" plain,
// "CWS" zlib, "ZWS" LZMA; version; length of the whole movie uncompressed)
// and the body after it, compressed or not.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace scr {

enum class SwfCompression : uint8_t { None, Zlib, Lzma };

inline constexpr std::size_t kSwfHeaderBytes = 8;
// A "ZWS" movie: the header, the compressed length (4 bytes), the LZMA
// properties (5 bytes), then the raw LZMA data of that length.
inline constexpr std::size_t kZwsPrefixBytes = kSwfHeaderBytes + 4 + 5;

// Movies whose body would grow beyond this are not decoded (a lying length
// in a damaged file must not make the program allocate gigabytes).
inline constexpr uint32_t kMaxSwfBodyBytes = 256u << 20;

struct SwfHeader {
    SwfCompression compression = SwfCompression::None;
    uint8_t version = 0;
    uint32_t declaredLength = 0; // of the uncompressed movie, header included
    // The body's length as the header states it (0 when the length is shorter than the header).
    uint32_t bodyLength() const {
        return declaredLength > kSwfHeaderBytes ? declaredLength - kSwfHeaderBytes : 0;
    }
};

// The header of the bytes given (at least 8); nullopt when the signature is not a movie's.
std::optional<SwfHeader> ParseSwfHeader(std::span<const uint8_t> bytes);

// "FWS", "CWS" or "ZWS".
std::string_view SwfSignature(SwfCompression compression);

struct SwfContainer {
    SwfCompression compression = SwfCompression::None;
    uint8_t version = 0;
    uint32_t declaredLength = 0; // the header's length of the uncompressed movie, header included
    // The uncompressed body after the 8-byte header. Shorter than the declared
    // length when the file is damaged or cut: what could be read is kept.
    std::vector<uint8_t> body;
    bool complete = false; // the body has its declared length
};

// Reads the header and decompresses the body (at most kMaxSwfBodyBytes).
// nullopt when the signature is not a movie's or the file is shorter than the header.
std::optional<SwfContainer> DecodeSwf(std::span<const uint8_t> file);

// Writes a movie file with the given compression; the header's length field
// becomes 8 + body size. Empty on an encoder failure.
std::vector<uint8_t> EncodeSwf(SwfCompression compression, uint8_t version, std::span<const uint8_t> body);

} // namespace scr
