#include "package/ElfImage.h"

#include <algorithm>

namespace scr {
namespace {

constexpr uint8_t kClass32 = 1, kClass64 = 2, kLittleEndian = 1;
constexpr uint32_t kSectionNoBits = 8; // occupies no space in the file
// Headers read at most: a hostile count must not make the walk long.
constexpr uint64_t kMaxHeaders = 65536;

uint64_t ReadLe(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// The offsets of the fields read, by class.
struct Layout {
    int word;                         // bytes of an address or offset
    int64_t phoff, shoff;             // e_phoff, e_shoff
    int64_t phentsize, phnum;         // e_phentsize, e_phnum
    int64_t shentsize, shnum;         // e_shentsize, e_shnum
    int64_t phOffset, phFileSize;     // p_offset, p_filesz inside a program header
    int64_t shType, shOffset, shSize; // sh_type, sh_offset, sh_size inside a section header
};

constexpr Layout kLayout32{4, 0x1C, 0x20, 0x2A, 0x2C, 0x2E, 0x30, 0x04, 0x10, 0x04, 0x10, 0x14};
constexpr Layout kLayout64{8, 0x20, 0x28, 0x36, 0x38, 0x3A, 0x3C, 0x08, 0x20, 0x04, 0x18, 0x20};

} // namespace

bool LooksLikeElf(const ByteSource& source) {
    uint8_t magic[4];
    return source.readAt(0, magic, 4) && magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' &&
           magic[3] == 'F';
}

std::optional<ElfImageEnd> ReadElfImageEnd(const ByteSource& source) {
    uint8_t ident[6];
    if (!LooksLikeElf(source) || !source.readAt(0, ident, sizeof ident) || ident[5] != kLittleEndian)
        return std::nullopt;
    if (ident[4] != kClass32 && ident[4] != kClass64) return std::nullopt;
    const Layout& l = ident[4] == kClass32 ? kLayout32 : kLayout64;
    uint8_t header[64] = {};
    const std::size_t headerSize = ident[4] == kClass32 ? 52 : 64;
    if (!source.readAt(0, header, headerSize)) return std::nullopt;
    const auto field = [&](const uint8_t* base, int64_t at, int bytes) { return ReadLe(base + at, bytes); };

    ElfImageEnd end;
    end.bits = ident[4] == kClass32 ? 32 : 64;
    end.furthestEnd = static_cast<int64_t>(headerSize);
    const int64_t size = source.size();
    // One past a range [offset, offset + length) when it lies in the file; nothing otherwise.
    const auto within = [size](uint64_t offset, uint64_t length) -> std::optional<int64_t> {
        if (offset > static_cast<uint64_t>(size) || length > static_cast<uint64_t>(size) - offset)
            return std::nullopt;
        return static_cast<int64_t>(offset + length);
    };

    const uint64_t phoff = field(header, l.phoff, l.word), phentsize = field(header, l.phentsize, 2);
    const uint64_t phnum = std::min<uint64_t>(field(header, l.phnum, 2), kMaxHeaders);
    if (phoff != 0 && phnum > 0) {
        const auto tableEnd = within(phoff, phnum * phentsize);
        if (!tableEnd || phentsize < static_cast<uint64_t>(l.phFileSize + l.word)) return std::nullopt;
        end.furthestEnd = std::max(end.furthestEnd, *tableEnd);
        for (uint64_t i = 0; i < phnum; ++i) {
            uint8_t entry[64] = {};
            if (!source.readAt(static_cast<int64_t>(phoff + i * phentsize), entry,
                               static_cast<std::size_t>(l.phFileSize + l.word)))
                return std::nullopt;
            if (const auto segmentEnd =
                    within(field(entry, l.phOffset, l.word), field(entry, l.phFileSize, l.word)))
                end.furthestEnd = std::max(end.furthestEnd, *segmentEnd);
        }
    }

    const uint64_t shoff = field(header, l.shoff, l.word), shentsize = field(header, l.shentsize, 2);
    uint64_t shnum = field(header, l.shnum, 2);
    if (shoff != 0) {
        const std::size_t entryBytes = static_cast<std::size_t>(l.shSize + l.word);
        if (shentsize < entryBytes) return std::nullopt;
        uint8_t entry[64] = {};
        // Many sections: the count is the size field of the first section header.
        if (shnum == 0) {
            if (!source.readAt(static_cast<int64_t>(shoff), entry, entryBytes)) return std::nullopt;
            shnum = field(entry, l.shSize, l.word);
        }
        shnum = std::min(shnum, kMaxHeaders);
        const auto tableEnd = within(shoff, shnum * shentsize);
        if (!tableEnd) return std::nullopt;
        end.sectionTableEnd = *tableEnd;
        end.furthestEnd = std::max(end.furthestEnd, *tableEnd);
        for (uint64_t i = 0; i < shnum; ++i) {
            if (!source.readAt(static_cast<int64_t>(shoff + i * shentsize), entry, entryBytes))
                return std::nullopt;
            if (field(entry, l.shType, 4) == kSectionNoBits) continue;
            if (const auto sectionEnd =
                    within(field(entry, l.shOffset, l.word), field(entry, l.shSize, l.word)))
                end.furthestEnd = std::max(end.furthestEnd, *sectionEnd);
        }
    }
    return end;
}

} // namespace scr
