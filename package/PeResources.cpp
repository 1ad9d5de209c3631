#include "package/PeResources.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <iterator>

namespace scr {
namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kMaxNameUnits = 256;

// UTF-16LE code units to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
    std::string out;
    auto put = [&out](uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < units.size(); ++i) {
        const uint32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            put(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(u);
        }
    }
    return out;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

} // namespace

bool LooksLikePe(const ByteSource& source) {
    uint8_t mz[2];
    uint32_t peOffset = 0, signature = 0;
    return source.readAt(0, mz, 2) && mz[0] == 'M' && mz[1] == 'Z' && source.readLE32(0x3C, peOffset) &&
           source.readLE32(peOffset, signature) && signature == 0x00004550u;
}

PeResourceReader::PeResourceReader(const ByteSource& source) : source_(source) {
    valid_ = ParseHeaders();
}

bool PeResourceReader::ParseHeaders() {
    if (!LooksLikePe(source_)) return false;
    uint32_t pe = 0;
    uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
    source_.readLE32(0x3C, pe);
    const int64_t coff = static_cast<int64_t>(pe) + 4;
    const int64_t optional = coff + 20;
    if (!source_.readLE16(coff + 2, sectionCount) || !source_.readLE16(coff + 16, optionalSize) ||
        !source_.readLE16(optional, magic))
        return false;
    int64_t countField = 0, directories = 0;
    if (magic == kPe32Magic) {
        countField = optional + 92;
        directories = optional + 96;
    } else if (magic == kPe32PlusMagic) {
        countField = optional + 108;
        directories = optional + 112;
    } else {
        return false;
    }
    // The section table is read first: the section names are wanted also
    // from a program without resources.
    const int64_t table = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        uint8_t header[kSectionHeaderSize];
        if (!source_.readAt(table + static_cast<int64_t>(i) * kSectionHeaderSize, header, sizeof header))
            return false;
        std::string name(reinterpret_cast<const char*>(header), 8);
        name.resize(std::min(name.find('\0'), name.size()));
        sectionNames_.push_back(name);
        Section section{static_cast<uint32_t>(ReadLE32(header + 12)),
                        static_cast<uint32_t>(ReadLE32(header + 16)),
                        static_cast<uint32_t>(ReadLE32(header + 20))};
        // Only the part of a section that the file really holds counts.
        const int64_t available = std::max<int64_t>(0, source_.size() - section.rawOffset);
        section.rawSize = static_cast<uint32_t>(std::min<int64_t>(section.rawSize, available));
        sections_.push_back(section);
    }

    uint32_t directoryCount = 0, resourceRva = 0, resourceSize = 0;
    if (!source_.readLE32(countField, directoryCount) || directoryCount <= kResourceDirectoryIndex)
        return false;
    const int64_t entry = directories + kResourceDirectoryIndex * 8;
    if (entry + 8 > optional + optionalSize) return false;
    if (!source_.readLE32(entry, resourceRva) || !source_.readLE32(entry + 4, resourceSize) ||
        resourceRva == 0)
        return false;
    for (const auto& section : sections_) {
        const int64_t delta = static_cast<int64_t>(resourceRva) - section.virtualAddress;
        if (delta >= 0 && delta < section.rawSize) {
            rootOffset_ = static_cast<int64_t>(section.rawOffset) + delta;
            areaSize_ = section.rawSize - delta;
            return true;
        }
    }
    return false;
}

std::optional<int64_t> PeResourceReader::MapRva(uint32_t rva, uint32_t size) const {
    for (const auto& section : sections_) {
        const int64_t delta = static_cast<int64_t>(rva) - section.virtualAddress;
        if (delta >= 0 && delta + static_cast<int64_t>(size) <= section.rawSize)
            return static_cast<int64_t>(section.rawOffset) + delta;
    }
    return std::nullopt;
}

bool PeResourceReader::ReadArea(uint32_t offset, void* buffer, std::size_t count) const {
    if (static_cast<int64_t>(offset) + static_cast<int64_t>(count) > areaSize_) return false;
    return source_.readAt(rootOffset_ + offset, buffer, count);
}

bool PeResourceReader::NameMatches(uint32_t nameOffset, std::string_view name) const {
    uint8_t lengthBytes[2];
    if (!ReadArea(nameOffset, lengthBytes, 2)) return false;
    const std::size_t length = lengthBytes[0] | (lengthBytes[1] << 8);
    if (length != name.size() || length > kMaxNameUnits) return false;
    uint8_t units[kMaxNameUnits * 2];
    if (!ReadArea(nameOffset + 2, units, length * 2)) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned unit = units[2 * i] | (units[2 * i + 1] << 8);
        if (unit > 0x7F || AsciiUpper(static_cast<char>(unit)) != AsciiUpper(name[i])) return false;
    }
    return true;
}

bool PeResourceReader::ForEachEntry(uint32_t dirOffset,
                                    const std::function<bool(uint32_t name, uint32_t target)>& entry) const {
    uint8_t header[16];
    if (!ReadArea(dirOffset, header, sizeof header)) return false;
    const uint32_t named = header[12] | (header[13] << 8);
    const uint32_t ids = header[14] | (header[15] << 8);
    for (uint32_t i = 0; i < named + ids; ++i) {
        uint8_t raw[8];
        if (!ReadArea(dirOffset + 16 + i * 8, raw, sizeof raw)) return false;
        if (!entry(static_cast<uint32_t>(ReadLE32(raw)), static_cast<uint32_t>(ReadLE32(raw + 4))))
            return true;
    }
    return true;
}

std::optional<uint32_t> PeResourceReader::FindEntry(uint32_t dirOffset, std::string_view name, uint32_t id,
                                                    bool any) const {
    std::optional<uint32_t> found;
    const bool whole = ForEachEntry(dirOffset, [&](uint32_t entryName, uint32_t target) {
        const bool isNamed = (entryName & kHighBit) != 0;
        bool match = any;
        if (!match && !name.empty()) match = isNamed && NameMatches(entryName & ~kHighBit, name);
        if (!match && name.empty()) match = !isNamed && entryName == id;
        if (match) found = target;
        return !match;
    });
    // A directory cut short answers nothing, as before a match could be trusted.
    if (!whole && !found) return std::nullopt;
    return found;
}

PeResourceId PeResourceReader::ReadId(uint32_t nameField) const {
    PeResourceId id;
    if (!(nameField & kHighBit)) {
        id.id = nameField;
        return id;
    }
    id.named = true;
    const uint32_t offset = nameField & ~kHighBit;
    uint8_t lengthBytes[2];
    if (!ReadArea(offset, lengthBytes, 2)) return id;
    const std::size_t length = std::min<std::size_t>(lengthBytes[0] | (lengthBytes[1] << 8), kMaxNameUnits);
    uint8_t raw[kMaxNameUnits * 2];
    if (!ReadArea(offset + 2, raw, length * 2)) return id;
    std::vector<uint16_t> units(length);
    for (std::size_t i = 0; i < length; ++i)
        units[i] = static_cast<uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    id.name = Utf16ToUtf8(units);
    return id;
}

std::optional<PeResourceEntry> PeResourceReader::ReadDataEntry(uint32_t offset) const {
    uint8_t dataEntry[16];
    if (!ReadArea(offset, dataEntry, sizeof dataEntry)) return std::nullopt;
    PeResourceEntry entry;
    entry.size = static_cast<uint32_t>(ReadLE32(dataEntry + 4));
    entry.fileOffset = MapRva(static_cast<uint32_t>(ReadLE32(dataEntry)), entry.size).value_or(-1);
    return entry;
}

PeResourceList PeResourceReader::ListResources() const {
    PeResourceList list;
    if (!valid_) return list;
    std::size_t budget = kMaxDirectoryEntriesRead;
    // Three levels: type, name, language. Each level's entries are read within one budget.
    const auto level = [&](uint32_t dirOffset, const std::function<void(uint32_t, uint32_t)>& each) {
        ForEachEntry(dirOffset, [&](uint32_t name, uint32_t target) {
            if (budget == 0 || list.entries.size() >= kMaxListedResources) {
                list.truncated = true;
                return false;
            }
            --budget;
            each(name, target);
            return true;
        });
    };
    level(0, [&](uint32_t typeField, uint32_t typeTarget) {
        if (!(typeTarget & kHighBit)) return;
        const PeResourceId type = ReadId(typeField);
        level(typeTarget & ~kHighBit, [&](uint32_t nameField, uint32_t nameTarget) {
            if (!(nameTarget & kHighBit)) return;
            const PeResourceId name = ReadId(nameField);
            level(nameTarget & ~kHighBit, [&](uint32_t language, uint32_t dataTarget) {
                if (dataTarget & kHighBit) return;
                std::optional<PeResourceEntry> entry = ReadDataEntry(dataTarget);
                if (!entry) return;
                entry->type = type;
                entry->name = name;
                entry->language = language;
                list.entries.push_back(std::move(*entry));
            });
        });
    });
    return list;
}

std::string PeResourceId::Text(bool isType) const {
    if (named) return name;
    if (isType) {
        static constexpr const char* kTypeNames[] = {
            nullptr,        "CURSOR",  "BITMAP",     "ICON",        "MENU",   "DIALOG",
            "STRING",       "FONTDIR", "FONT",       "ACCELERATOR", "RCDATA", "MESSAGETABLE",
            "GROUP_CURSOR", nullptr,   "GROUP_ICON", nullptr,       "VERSION"};
        if (id < std::size(kTypeNames) && kTypeNames[id]) return kTypeNames[id];
        if (id == 24) return "MANIFEST";
    }
    return std::to_string(id);
}

std::optional<std::vector<uint8_t>> PeResourceReader::FindResource(uint32_t type, std::string_view name,
                                                                   uint32_t nameId) const {
    if (!valid_) return std::nullopt;
    // Three levels: type, name, language (the first language found).
    const auto typeEntry = FindEntry(0, {}, type, false);
    if (!typeEntry || !(*typeEntry & kHighBit)) return std::nullopt;
    const auto nameEntry = FindEntry(*typeEntry & ~kHighBit, name, nameId, false);
    if (!nameEntry || !(*nameEntry & kHighBit)) return std::nullopt;
    const auto languageEntry = FindEntry(*nameEntry & ~kHighBit, {}, 0, true);
    if (!languageEntry || (*languageEntry & kHighBit)) return std::nullopt;
    const std::optional<PeResourceEntry> entry = ReadDataEntry(*languageEntry);
    std::vector<uint8_t> data;
    if (!entry || entry->fileOffset < 0 || !source_.readBytes(entry->fileOffset, entry->size, data))
        return std::nullopt;
    return data;
}

std::optional<std::vector<uint8_t>> PeResourceReader::FindRcData(std::string_view name) const {
    if (name.empty()) return std::nullopt;
    return FindResource(kResourceTypeRcData, name, 0);
}

std::optional<std::string> PeResourceReader::LoadString(int id, std::size_t maxBytes) const {
    if (id < 0 || id > 0xFFFF) return std::nullopt;
    // Strings come in blocks of sixteen; block n + 1 holds ids 16n .. 16n + 15.
    const auto block = FindResource(kResourceTypeString, {}, static_cast<uint32_t>(id / 16 + 1));
    if (!block) return std::nullopt;
    std::size_t pos = 0;
    for (int index = 0; index < 16; ++index) {
        if (pos + 2 > block->size()) return std::nullopt;
        const std::size_t length = (*block)[pos] | ((*block)[pos + 1] << 8);
        pos += 2;
        if (pos + length * 2 > block->size()) return std::nullopt;
        if (index == id % 16) {
            if (length == 0) return std::nullopt;
            std::vector<uint16_t> units(length);
            for (std::size_t i = 0; i < length; ++i)
                units[i] = static_cast<uint16_t>((*block)[pos + 2 * i] | ((*block)[pos + 2 * i + 1] << 8));
            std::string text = EncodeCodePage(Utf16ToUtf8(units));
            if (text.size() > maxBytes) text.resize(maxBytes);
            return text;
        }
        pos += length * 2;
    }
    return std::nullopt;
}

PeFileResources::PeFileResources(ReadOnlyFile file)
    : file_(std::move(file)), source_(file_), reader_(source_) {}

std::unique_ptr<PeFileResources> PeFileResources::Open(const std::string& path) {
    ReadOnlyFile file;
    if (!file.open(path)) return nullptr;
    return std::unique_ptr<PeFileResources>(new PeFileResources(std::move(file)));
}

} // namespace scr
