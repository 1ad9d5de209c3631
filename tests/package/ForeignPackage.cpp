#include "tests/package/ForeignPackage.h"

#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"

namespace scr::test {
namespace {

class Writer {
public:
    explicit Writer(std::size_t gap) : gap_(gap), out_(37, 0xCC) {}

    int32_t offset() const { return static_cast<int32_t>(out_.size() - kProgramSize); }
    void plain(const std::vector<uint8_t>& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void scrambled(std::vector<uint8_t> bytes) {
        ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
        plain(bytes);
    }
    void scrambled(const std::string& text) { scrambled(std::vector<uint8_t>(text.begin(), text.end())); }
    // Item or track data, its first eighth scrambled.
    ItemLocation data(std::vector<uint8_t> bytes) {
        const ItemLocation location{offset(), static_cast<int32_t>(bytes.size())};
        ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size() / 8));
        plain(bytes);
        return location;
    }
    void gap() { out_.insert(out_.end(), gap_, static_cast<uint8_t>(0xE0 + out_.size() % 16)); }
    template <typename Record>
    static std::vector<uint8_t> bytes(const Record& record) {
        std::vector<uint8_t> out(Record::kSize);
        record.Serialize(out.data());
        return out;
    }
    std::vector<uint8_t>& out() { return out_; }

    static constexpr std::size_t kProgramSize = 37;

private:
    std::size_t gap_;
    std::vector<uint8_t> out_;
};

std::vector<uint8_t> Le32(int32_t value) {
    std::vector<uint8_t> out(4);
    WriteLE32(out.data(), value);
    return out;
}

} // namespace

std::vector<uint8_t> BuildForeignPackage(const PackageDescription& d, const ForeignLayout& layout) {
    Writer w(layout.gap);
    const int32_t level = d.info.formatLevel();

    // The name, with junk after its NUL the reader does not look at. An empty
    // name gets none: the reader trims leading NULs, so the junk would be
    // the name.
    std::vector<uint8_t> name(kPackageNameSize, 0);
    std::copy(d.name.begin(), d.name.end(), name.begin());
    if (layout.unneededBlocks && !d.name.empty() && d.name.size() + 2 < name.size()) name.back() = 'j';
    w.scrambled(name);
    if (d.info.hasAuthorInfo())
        w.scrambled(Writer::bytes(d.author));
    else if (layout.unneededBlocks)
        w.scrambled(std::vector<uint8_t>(AuthorInfo::kSize, 'a'));
    w.gap();

    const int32_t languageOffset = w.offset();
    w.scrambled(d.dynamicTexts);
    w.scrambled(d.staticCaptions);
    w.gap();

    LabelGroupList labels = d.labels;
    labels.MatchGroupCount(static_cast<int>(d.items.size()));
    const std::vector<uint8_t> stream = WriteLabelStream(labels);
    const int32_t labelOffset = w.offset();
    if (layout.labels) w.scrambled(stream);
    if (level >= 4 || layout.unneededBlocks) {
        std::string names;
        for (std::size_t i = 0; i < d.musicNames.size(); ++i) {
            if (layout.musicNamesJoinedByLf)
                names += (i ? "\n" : "") + d.musicNames[i];
            else
                names += d.musicNames[i] + "\r\n";
        }
        PackageExtension extension = d.extension;
        extension.musicNamesSize = static_cast<int32_t>(names.size());
        extension.backgroundSize = static_cast<int32_t>(d.background.size());
        w.scrambled(Writer::bytes(extension));
        w.scrambled(names);
        w.scrambled(d.background);
    }
    if (level >= 5 || (level == 4 && layout.unneededBlocks)) {
        const std::string license = level >= 5 ? d.licenseText : "not needed";
        w.scrambled(Le32(static_cast<int32_t>(license.size())));
        w.scrambled(license);
    }
    w.gap();

    // Data in reverse order, tracks first.
    std::vector<ItemLocation> tracks(d.tracks.size()), items(d.items.size());
    for (std::size_t i = d.tracks.size(); i-- > 0;) {
        tracks[i] = w.data(d.tracks[i].data);
        w.gap();
    }
    for (std::size_t i = d.items.size(); i-- > 0;) {
        items[i] = w.data(d.items[i].data);
        w.gap();
    }

    const int32_t tableOffset = w.offset();
    for (std::size_t i = 0; i < d.items.size(); ++i) {
        w.plain(Writer::bytes(items[i]));
        w.plain(Writer::bytes(d.items[i].record));
    }
    for (std::size_t i = 0; i < d.tracks.size(); ++i) {
        w.plain(Writer::bytes(tracks[i]));
        w.plain(Writer::bytes(d.tracks[i].record));
    }
    w.gap();

    std::vector<uint8_t> locator(LabelBlockLocator::kSize, 0);
    if (layout.labels)
        LabelBlockLocator{true, labelOffset, static_cast<int32_t>(stream.size())}.Serialize(locator.data());
    w.plain(locator);

    std::vector<uint8_t> trailer(kTrailerSize, 0);
    const int32_t words[] = {w.offset() + static_cast<int32_t>(kTrailerSize), tableOffset, languageOffset,
                             static_cast<int32_t>(d.dynamicTexts.size()),
                             static_cast<int32_t>(d.staticCaptions.size())};
    for (std::size_t i = 0; i < std::size(words); ++i)
        WriteLE32(&trailer[4 * i], words[i]);
    ScreenSaverInfo info = d.info;
    info.setSignature();
    info.setItemCount(static_cast<int32_t>(d.items.size()));
    info.setMusicCount(static_cast<int32_t>(d.tracks.size()));
    info.Serialize(&trailer[kInfoRecordOffset]);
    w.scrambled(trailer);
    return std::move(w.out());
}

} // namespace scr::test
