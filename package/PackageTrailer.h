#pragma once
// The package trailer: the last 400 bytes of a packed screen saver, stored
// scrambled. It says where the package starts and carries the information record.

#include <array>
#include <cstdint>
#include <string>

namespace scr {

inline constexpr int kTrailerSize = 400;
inline constexpr int kInfoRecordOffset = 20; // information record inside the trailer
inline constexpr int kInfoRecordSize = 380;
inline constexpr int kPackageKindOffset = 137; // trailer byte with the package kind
inline constexpr char kPackageSignature[] = "KorvalinTrailerMarkPackageBlock";
inline constexpr int kSignatureFieldSize = 32;

using TrailerBytes = std::array<uint8_t, kTrailerSize>;

// The reversible byte transform of the package: each byte becomes its bitwise
// complement. The same call scrambles and unscrambles; count <= 0 does nothing.
void ScrambleBytes(void* buffer, long long count);

// True when a 32-byte signature field holds the signature text followed by a
// NUL (compared as a NUL-terminated text of at most 32 bytes).
bool SignatureMatches(const uint8_t* field);

// Reads and unscrambles the last 400 bytes of a file. False when the file
// cannot be opened or is shorter than 400 bytes.
bool ReadTrailer(const std::string& path, TrailerBytes& trailer, int64_t* fileSize = nullptr);

// The package-kind byte ('E' installer, 'S' screen saver) of a file's
// trailer, or 0 when the file cannot be read or has no valid signature.
uint8_t ReadPackageKind(const std::string& path);

class ByteSource;

// True when the file carries a complete, valid trailer whose package fits the file.
bool HasValidTrailer(const std::string& path);
bool HasValidTrailer(const ByteSource& source);

// Fields of an unscrambled trailer.
struct TrailerFields {
    int32_t packageSize = 0;
    int32_t tableOffset = 0;
    int32_t languageOffset = 0;
    int32_t dynamicTextSize = 0;
    int32_t staticTextSize = 0;
};
TrailerFields ParseTrailerFields(const TrailerBytes& trailer);

} // namespace scr
