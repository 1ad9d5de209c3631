#pragma once
// Where the program image of a little-endian ELF file ends: the end of its
// section header table, which a linker writes last, and the end of whatever
// its headers place furthest into the file. Data appended to a program lies
// after these. Every offset and count read is bounded by the file.

#include "package/ByteSource.h"

#include <cstdint>
#include <optional>

namespace scr {

struct ElfImageEnd {
    int bits = 0;                // 32 or 64
    int64_t sectionTableEnd = 0; // one past the section header table (0 without one)
    int64_t furthestEnd = 0;     // one past the last byte that any header places in the file
};

// True when the source starts with the ELF signature.
bool LooksLikeElf(const ByteSource& source);

// Nothing when the source is not a little-endian ELF file of 32 or 64 bits,
// or its headers lie outside it.
std::optional<ElfImageEnd> ReadElfImageEnd(const ByteSource& source);

} // namespace scr
