#include "package/PackageBuilder.h"

#include "package/PackageTrailer.h"
#include "platform/AtomicFileWriter.h"
#include "platform/ReadOnlyFile.h"

#include <climits>

namespace scr {
namespace {

constexpr std::size_t kTableEntrySize = ItemLocation::kSize + ShowItem::kSize;
constexpr std::size_t kTrackEntrySize = ItemLocation::kSize + MusicItem::kSize;

// The music names as stored: one line per name, each ended by CR LF.
std::string MusicNamesText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += name + "\r\n";
    return text;
}

// Checks what the stored form cannot express, before anything is written.
Result<void> CheckDescription(const PackageDescription& d) {
    if (d.name.size() >= kPackageNameSize) return Failure{"the name is longer than 63 bytes"};
    const int32_t level = d.info.formatLevel();
    if (level < 4) {
        const PackageExtension& e = d.extension;
        if (e.designHeight != 0 || e.opacityPercent != 0 || e.keepCursor != 0)
            return Failure{"design height, opacity and cursor need format level 4 or more"};
        if (!d.musicNames.empty()) return Failure{"music names need format level 4 or more"};
        if (!d.background.empty()) return Failure{"a background picture needs format level 4 or more"};
    }
    if (level < 5 && !d.licenseText.empty()) return Failure{"a licence text needs format level 5 or more"};
    if (d.licenseText.size() > static_cast<std::size_t>(kMaxLicenseLength))
        return Failure{"the licence text is longer than 65536 bytes"};
    if (!d.musicNames.empty() && d.musicNames.size() != d.tracks.size())
        return Failure{"there must be one music name per track, or none"};
    for (const std::string& name : d.musicNames)
        if (name.find_first_of("\r\n") != std::string::npos)
            return Failure{"a music name holds a line break"};
    if (static_cast<std::size_t>(d.labels.GroupCount()) > d.items.size())
        return Failure{"there are more label groups than items"};
    return {};
}

// Adds up the package size, so that a package beyond the 32-bit offsets is
// refused before anything is written.
uint64_t PackageSize(const PackageDescription& d, std::size_t labelStreamSize) {
    uint64_t size = kPackageNameSize + (d.info.hasAuthorInfo() ? AuthorInfo::kSize : 0);
    for (const auto& item : d.items)
        size += item.data.size() + kTableEntrySize;
    for (const auto& track : d.tracks)
        size += track.data.size() + kTrackEntrySize;
    size += d.dynamicTexts.size() + d.staticCaptions.size() + labelStreamSize;
    if (d.info.formatLevel() >= 4)
        size += PackageExtension::kSize + MusicNamesText(d.musicNames).size() + d.background.size();
    if (d.info.formatLevel() >= 5) size += 4 + d.licenseText.size();
    return size + LabelBlockLocator::kSize + kTrailerSize;
}

// Writes blocks in order and knows each one's offset from the package start.
class BlockWriter {
public:
    explicit BlockWriter(const PackageSink& sink) : sink_(sink) {}

    int32_t position() const { return static_cast<int32_t>(position_); }
    bool ok() const { return ok_; }

    void plain(const uint8_t* data, std::size_t size) {
        if (ok_ && size > 0) ok_ = sink_(data, size);
        position_ += size;
    }
    void plain(const std::vector<uint8_t>& bytes) { plain(bytes.data(), bytes.size()); }

    void scrambled(std::vector<uint8_t> bytes) {
        ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
        plain(bytes);
    }
    void scrambled(const std::string& text) { scrambled(std::vector<uint8_t>(text.begin(), text.end())); }

    // Item and track data: the first eighth scrambled, the rest plain.
    ItemLocation data(const std::vector<uint8_t>& bytes) {
        const ItemLocation location{position(), static_cast<int32_t>(bytes.size())};
        const std::size_t head = bytes.size() / 8;
        scrambled(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head)));
        plain(bytes.data() + head, bytes.size() - head);
        return location;
    }

    template <typename Record>
    void record(const Record& r, bool scramble) {
        std::vector<uint8_t> bytes(Record::kSize);
        r.Serialize(bytes.data());
        scramble ? scrambled(std::move(bytes)) : plain(bytes);
    }

private:
    const PackageSink& sink_;
    uint64_t position_ = 0;
    bool ok_ = true;
};

} // namespace

Result<void> WritePackage(const PackageDescription& d, const PackageSink& sink) {
    if (auto checked = CheckDescription(d); !checked) return checked;
    LabelGroupList labels = d.labels;
    labels.MatchGroupCount(static_cast<int>(d.items.size()));
    const std::vector<uint8_t> labelStream = WriteLabelStream(labels);
    const uint64_t packageSize = PackageSize(d, labelStream.size());
    if (packageSize > static_cast<uint64_t>(INT32_MAX)) return Failure{"the package is larger than 2 GB"};

    BlockWriter out(sink);
    std::vector<uint8_t> name(kPackageNameSize, 0);
    SetFixedText(name.data(), name.size(), d.name);
    out.scrambled(std::move(name));
    if (d.info.hasAuthorInfo()) out.record(d.author, true);

    std::vector<ItemLocation> itemLocations, trackLocations;
    for (const auto& item : d.items)
        itemLocations.push_back(out.data(item.data));
    for (const auto& track : d.tracks)
        trackLocations.push_back(out.data(track.data));

    const int32_t tableOffset = out.position();
    for (std::size_t i = 0; i < d.items.size(); ++i) {
        out.record(itemLocations[i], false);
        out.record(d.items[i].record, false);
    }
    for (std::size_t i = 0; i < d.tracks.size(); ++i) {
        out.record(trackLocations[i], false);
        out.record(d.tracks[i].record, false);
    }

    const int32_t languageOffset = out.position();
    out.scrambled(d.dynamicTexts);
    out.scrambled(d.staticCaptions);

    LabelBlockLocator locator;
    locator.labelOffset = out.position();
    locator.labelSize = static_cast<int32_t>(labelStream.size());
    out.scrambled(labelStream);

    if (d.info.formatLevel() >= 4) {
        const std::string names = MusicNamesText(d.musicNames);
        PackageExtension extension = d.extension;
        extension.musicNamesSize = static_cast<int32_t>(names.size());
        extension.backgroundSize = static_cast<int32_t>(d.background.size());
        out.record(extension, true);
        out.scrambled(names);
        out.scrambled(d.background);
    }
    if (d.info.formatLevel() >= 5) {
        std::vector<uint8_t> license(4 + d.licenseText.size());
        WriteLE32(license.data(), static_cast<int32_t>(d.licenseText.size()));
        std::copy(d.licenseText.begin(), d.licenseText.end(), license.begin() + 4);
        out.scrambled(std::move(license));
    }
    out.record(locator, false);

    std::vector<uint8_t> trailer(kTrailerSize, 0);
    WriteLE32(&trailer[0], static_cast<int32_t>(packageSize));
    WriteLE32(&trailer[4], tableOffset);
    WriteLE32(&trailer[8], languageOffset);
    WriteLE32(&trailer[12], static_cast<int32_t>(d.dynamicTexts.size()));
    WriteLE32(&trailer[16], static_cast<int32_t>(d.staticCaptions.size()));
    ScreenSaverInfo info = d.info;
    info.setSignature();
    info.setItemCount(static_cast<int32_t>(d.items.size()));
    info.setMusicCount(static_cast<int32_t>(d.tracks.size()));
    info.Serialize(&trailer[kInfoRecordOffset]);
    out.scrambled(std::move(trailer));

    if (!out.ok()) return Failure{"the package could not be written"};
    return {};
}

Result<std::vector<uint8_t>> BuildPackage(const PackageDescription& description) {
    std::vector<uint8_t> bytes;
    const Result<void> written = WritePackage(description, [&](const uint8_t* data, std::size_t size) {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    });
    if (!written) return Failure{written.error()};
    return bytes;
}

Result<void> WritePackedFile(const std::string& path, std::span<const uint8_t> program,
                             const PackageDescription& description) {
    AtomicFileWriter file;
    if (!file.open(path)) return Failure{file.error()};
    if (!file.write(program.data(), program.size())) return Failure{file.error()};
    const PackageSink sink = [&](const uint8_t* data, std::size_t size) { return file.write(data, size); };
    if (const Result<void> written = WritePackage(description, sink); !written)
        return Failure{file.error().empty() ? written.error() : file.error()};
    if (!file.commit(0755)) return Failure{file.error()};
    return {};
}

Result<std::vector<uint8_t>> ReadProgramImage(const std::string& path) {
    ReadOnlyFile file;
    if (!file.open(path)) return Failure{"cannot read " + path};
    int64_t size = file.size();
    if (HasValidTrailer(path)) {
        TrailerBytes trailer{};
        if (ReadTrailer(path, trailer)) {
            const int32_t packageSize = ParseTrailerFields(trailer).packageSize;
            if (packageSize > 0 && packageSize <= size) size -= packageSize;
        }
    }
    std::vector<uint8_t> program;
    if (!file.readBytes(static_cast<std::size_t>(size), program)) return Failure{"cannot read " + path};
    return program;
}

} // namespace scr
