#pragma once
// Resources of a Windows PE executable (32- or 64-bit): the resource
// directory tree of type, name and language, read with every offset bounded
// by the file, and every count bounded so that a hostile tree costs little.

#include "package/ByteSource.h"
#include "package/ModuleResources.h"
#include "platform/ReadOnlyFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace scr {

// Resource types used here.
inline constexpr uint32_t kResourceTypeString = 6;
inline constexpr uint32_t kResourceTypeRcData = 10;

// A resource's type or name: a number, or a name (UTF-8).
struct PeResourceId {
    bool named = false;
    uint32_t id = 0;
    std::string name;
    // The name, or the number (a type's number as its usual name: 10 is "RCDATA").
    std::string Text(bool isType) const;
};

// One resource: where its data lies in the file and how long it is.
struct PeResourceEntry {
    PeResourceId type;
    PeResourceId name;
    uint32_t language = 0;
    int64_t fileOffset = -1; // -1 when the data does not lie within a section's data in the file
    uint32_t size = 0;
};

struct PeResourceList {
    std::vector<PeResourceEntry> entries;
    bool truncated = false; // more entries than the limit, or directories beyond the entry budget
};

// At most this many resources are listed, and at most this many directory
// entries read while listing.
inline constexpr std::size_t kMaxListedResources = 4096;
inline constexpr std::size_t kMaxDirectoryEntriesRead = 65536;

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

    // Every resource of every type (named types too), name and language, in
    // directory order; at most kMaxListedResources.
    PeResourceList ListResources() const;

    // The names of the sections ("UPX0", ".rsrc", ...), as stored (NUL padding removed).
    const std::vector<std::string>& SectionNames() const { return sectionNames_; }

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
    // Calls `entry` (raw name field, raw target) for each entry of a directory
    // until it answers false; false when the directory cannot be read whole.
    bool ForEachEntry(uint32_t dirOffset,
                      const std::function<bool(uint32_t name, uint32_t target)>& entry) const;
    bool NameMatches(uint32_t nameOffset, std::string_view name) const;
    PeResourceId ReadId(uint32_t nameField) const;
    // The file place of a data entry (relative to the resource root).
    std::optional<PeResourceEntry> ReadDataEntry(uint32_t offset) const;
    bool ReadArea(uint32_t offset, void* buffer, std::size_t count) const;

    const ByteSource& source_;
    std::vector<Section> sections_;
    std::vector<std::string> sectionNames_;
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
