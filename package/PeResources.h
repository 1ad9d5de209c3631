#pragma once
// Resources of a Windows PE executable (32- or 64-bit): the resource
// directory tree of type, name and language, read with every offset bounded
// by the file.

#include "package/ByteSource.h"
#include "package/ModuleResources.h"
#include "platform/ReadOnlyFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace scr {

// Resource types used here.
inline constexpr uint32_t kResourceTypeString = 6;
inline constexpr uint32_t kResourceTypeRcData = 10;

// Reads resources from a PE image held by a ByteSource (not owned).
class PeResourceReader {
public:
    // Parses the headers; valid() tells whether a resource directory was found.
    explicit PeResourceReader(const ByteSource& source);
    bool valid() const { return valid_; }

    std::optional<std::vector<uint8_t>> FindRcData(std::string_view name) const;
    // Code-page text, cut to maxBytes.
    std::optional<std::string> LoadString(int id, std::size_t maxBytes) const;

    // A resource by type id and name text or name id (nameId used when name is empty).
    std::optional<std::vector<uint8_t>> FindResource(uint32_t type, std::string_view name,
                                                     uint32_t nameId) const;

private:
    struct Section {
        uint32_t virtualAddress;
        uint32_t rawSize;
        uint32_t rawOffset;
    };
    bool ParseHeaders();
    // File offset of [rva, rva + size) when it lies inside one section's data in the file.
    std::optional<int64_t> MapRva(uint32_t rva, uint32_t size) const;
    // Entry of the directory at dirOffset (relative to the resource root) matching a
    // name (when not empty) or an id; with `any`, the first entry. Gives the raw entry target.
    std::optional<uint32_t> FindEntry(uint32_t dirOffset, std::string_view name, uint32_t id, bool any) const;
    bool NameMatches(uint32_t nameOffset, std::string_view name) const;
    bool ReadArea(uint32_t offset, void* buffer, std::size_t count) const;

    const ByteSource& source_;
    std::vector<Section> sections_;
    int64_t rootOffset_ = 0; // file offset of the resource root
    int64_t areaSize_ = 0;   // bytes of the resource section from the root on
    bool valid_ = false;
};

// A PE file opened as module resources.
class PeFileResources final : public ModuleResources {
public:
    // Nothing when the file cannot be opened. A file without a readable
    // resource directory gives an object that finds nothing.
    static std::unique_ptr<PeFileResources> Open(const std::string& path);

    std::optional<std::vector<uint8_t>> FindRcData(std::string_view name) const override {
        return reader_.FindRcData(name);
    }
    std::optional<std::string> LoadString(int id, std::size_t maxBytes) const override {
        return reader_.LoadString(id, maxBytes);
    }

private:
    explicit PeFileResources(ReadOnlyFile file);
    ReadOnlyFile file_;
    FileByteSource source_;
    PeResourceReader reader_;
};

// True when the source starts like a PE image ("MZ" and a "PE\0\0" header).
bool LooksLikePe(const ByteSource& source);

} // namespace scr
