#include "tests/package/PackageFixture.h"

#include "package/JpegCodec.h"
#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"

#include <cstring>
#include <map>

namespace scr::test {
namespace {

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendScrambled(std::vector<uint8_t>& out, std::vector<uint8_t> bytes) {
    ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
    Append(out, bytes);
}

template <typename Record>
std::vector<uint8_t> Bytes(const Record& record) {
    std::vector<uint8_t> out(Record::kSize);
    record.Serialize(out.data());
    return out;
}

std::vector<uint8_t> Le32(int32_t value) {
    std::vector<uint8_t> out(4);
    WriteLE32(out.data(), value);
    return out;
}

ScreenSaverInfo CompleteInfo(const FixturePackage& package) {
    ScreenSaverInfo info = package.info;
    info.setSignature();
    info.setItemCount(static_cast<int32_t>(package.items.size()));
    info.setMusicCount(static_cast<int32_t>(package.tracks.size()));
    info.setHasAuthorInfo(package.author ? 1 : 0);
    return info;
}

} // namespace

std::vector<uint8_t> BuildAppendedPackage(const FixturePackage& package,
                                          const std::vector<uint8_t>& program) {
    std::vector<uint8_t> out = program;
    const std::size_t start = out.size();
    const auto offset = [&] { return static_cast<int32_t>(out.size() - start); };

    std::vector<uint8_t> name(kPackageNameSize, 0);
    std::memcpy(name.data(), package.name.data(), std::min(package.name.size(), name.size()));
    AppendScrambled(out, name);
    if (package.author) AppendScrambled(out, Bytes(*package.author));

    std::vector<ItemLocation> itemLocations, trackLocations;
    for (const auto& item : package.items) {
        itemLocations.push_back({offset(), static_cast<int32_t>(item.data.size())});
        std::vector<uint8_t> data = item.data;
        ScrambleBytes(data.data(), static_cast<long long>(data.size() / 8));
        Append(out, data);
    }
    for (const auto& track : package.tracks) {
        trackLocations.push_back({offset(), static_cast<int32_t>(track.data.size())});
        std::vector<uint8_t> data = track.data;
        ScrambleBytes(data.data(), static_cast<long long>(data.size() / 8));
        Append(out, data);
    }
    const int32_t tableOffset = offset();
    for (std::size_t i = 0; i < package.items.size(); ++i) {
        Append(out, Bytes(itemLocations[i]));
        Append(out, Bytes(package.items[i].item));
    }
    for (std::size_t i = 0; i < package.tracks.size(); ++i) {
        Append(out, Bytes(trackLocations[i]));
        Append(out, Bytes(package.tracks[i].music));
    }
    const int32_t languageOffset = offset();
    AppendScrambled(out, package.dynamicTexts);
    AppendScrambled(out, package.staticCaptions);

    const int32_t labelOffset = offset();
    const std::vector<uint8_t> labels = WriteLabelStream(package.labels);
    AppendScrambled(out, labels);

    const ScreenSaverInfo info = CompleteInfo(package);
    if (info.formatLevel() >= 4) {
        PackageExtension extension = package.extension;
        extension.musicNamesSize = static_cast<int32_t>(package.musicNames.size());
        extension.backgroundSize = static_cast<int32_t>(package.background.size());
        AppendScrambled(out, Bytes(extension));
        AppendScrambled(out, std::vector<uint8_t>(package.musicNames.begin(), package.musicNames.end()));
        AppendScrambled(out, package.background);
    }
    if (info.formatLevel() >= 5) {
        AppendScrambled(
            out, Le32(package.licenseLengthWord.value_or(static_cast<int32_t>(package.license.size()))));
        AppendScrambled(out, std::vector<uint8_t>(package.license.begin(), package.license.end()));
    }

    std::vector<uint8_t> locator(LabelBlockLocator::kSize, 0);
    if (package.writeLabels)
        LabelBlockLocator{true, labelOffset, static_cast<int32_t>(labels.size())}.Serialize(locator.data());
    Append(out, locator);

    std::vector<uint8_t> trailer(kTrailerSize, 0);
    const int32_t packageSize = static_cast<int32_t>(out.size() - start) + kTrailerSize;
    const int32_t words[] = {packageSize, tableOffset, languageOffset,
                             static_cast<int32_t>(package.dynamicTexts.size()),
                             static_cast<int32_t>(package.staticCaptions.size())};
    for (std::size_t i = 0; i < 5; ++i)
        WriteLE32(trailer.data() + 4 * i, words[i]);
    info.Serialize(trailer.data() + kInfoRecordOffset);
    AppendScrambled(out, trailer);
    return out;
}

std::vector<uint8_t> BuildScrInfoResource(const FixturePackage& package) {
    std::vector<uint8_t> out = Bytes(CompleteInfo(package));
    if (package.author) Append(out, Bytes(*package.author));
    for (const auto& item : package.items) {
        Append(out, std::vector<uint8_t>(8, 0xAB));
        Append(out, Bytes(item.item));
    }
    for (const auto& track : package.tracks)
        Append(out, Bytes(track.music));
    ScrambleBytes(out.data(), static_cast<long long>(out.size()));
    return out;
}

namespace {

// Little builder of a resource section: directories are laid out first, then
// name strings, data entries and data, all at offsets relative to the section.
class ResourceSection {
public:
    struct Leaf {
        bool named;
        std::string name;
        uint32_t id;
        std::vector<uint8_t> data;
    };

    std::vector<uint8_t> Build(const std::map<uint32_t, std::vector<Leaf>>& types, uint32_t sectionRva) {
        // Sizes: root + per type directory + per leaf name dir + language dir.
        std::size_t directories = 16 + 8 * types.size();
        for (const auto& [type, leaves] : types)
            directories += 16 + 8 * leaves.size() + leaves.size() * (16 + 8);
        std::vector<uint8_t> out(directories, 0);
        std::size_t dirPos = 0;
        const auto putDir = [&](std::size_t named, std::size_t ids) {
            const std::size_t at = dirPos;
            out[at + 12] = static_cast<uint8_t>(named);
            out[at + 13] = static_cast<uint8_t>(named >> 8);
            out[at + 14] = static_cast<uint8_t>(ids);
            out[at + 15] = static_cast<uint8_t>(ids >> 8);
            dirPos += 16 + 8 * (named + ids);
            return at;
        };
        const auto putEntry = [&](std::size_t dir, std::size_t index, uint32_t name, uint32_t target) {
            WriteLE32(&out[dir + 16 + 8 * index], static_cast<int32_t>(name));
            WriteLE32(&out[dir + 16 + 8 * index + 4], static_cast<int32_t>(target));
        };
        const std::size_t root = putDir(0, types.size());
        std::size_t typeIndex = 0;
        for (const auto& [type, leaves] : types) {
            std::size_t named = 0;
            for (const auto& leaf : leaves)
                named += leaf.named ? 1 : 0;
            const std::size_t typeDir = putDir(named, leaves.size() - named);
            putEntry(root, typeIndex++, type, 0x80000000u | static_cast<uint32_t>(typeDir));
            // Named entries come first, as the format requires.
            std::size_t index = 0;
            for (int pass = 0; pass < 2; ++pass) {
                for (const auto& leaf : leaves) {
                    if (leaf.named != (pass == 0)) continue;
                    const std::size_t languageDir = putDir(0, 1);
                    uint32_t nameField = leaf.id;
                    if (leaf.named) {
                        nameField = 0x80000000u | static_cast<uint32_t>(out.size());
                        out.push_back(static_cast<uint8_t>(leaf.name.size()));
                        out.push_back(0);
                        for (char c : leaf.name) {
                            out.push_back(static_cast<uint8_t>(c));
                            out.push_back(0);
                        }
                    }
                    putEntry(typeDir, index++, nameField, 0x80000000u | static_cast<uint32_t>(languageDir));
                    while (out.size() % 4)
                        out.push_back(0);
                    const std::size_t dataEntry = out.size();
                    out.resize(out.size() + 16, 0);
                    putEntry(languageDir, 0, 1033, static_cast<uint32_t>(dataEntry));
                    WriteLE32(&out[dataEntry], static_cast<int32_t>(sectionRva + out.size()));
                    WriteLE32(&out[dataEntry + 4], static_cast<int32_t>(leaf.data.size()));
                    Append(out, leaf.data);
                }
            }
        }
        return out;
    }
};

std::vector<uint8_t> StringBlock(const std::vector<std::pair<int, std::string>>& strings, int block) {
    std::vector<uint8_t> out;
    for (int index = 0; index < 16; ++index) {
        std::string text;
        for (const auto& [id, value] : strings)
            if (id == block * 16 + index) text = value;
        // ASCII only in these fixtures: one UTF-16 unit per byte.
        out.push_back(static_cast<uint8_t>(text.size()));
        out.push_back(0);
        for (char c : text) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(0);
        }
    }
    return out;
}

} // namespace

std::vector<uint8_t> BuildPeFile(const std::vector<PeResource>& rcdata,
                                 const std::vector<std::pair<int, std::string>>& strings, bool pe32Plus) {
    constexpr uint32_t kSectionRva = 0x1000;
    constexpr uint32_t kSectionFileOffset = 0x200;
    std::map<uint32_t, std::vector<ResourceSection::Leaf>> types;
    for (const auto& resource : rcdata)
        types[10].push_back({true, resource.name, 0, resource.data});
    std::map<int, bool> blocks;
    for (const auto& [id, text] : strings)
        blocks[id / 16] = true;
    for (const auto& [block, unused] : blocks)
        types[6].push_back({false, {}, static_cast<uint32_t>(block + 1), StringBlock(strings, block)});
    const std::vector<uint8_t> section = ResourceSection().Build(types, kSectionRva);

    std::vector<uint8_t> out(kSectionFileOffset, 0);
    out[0] = 'M';
    out[1] = 'Z';
    const uint32_t pe = 0x80;
    WriteLE32(&out[0x3C], pe);
    std::memcpy(&out[pe], "PE\0\0", 4);
    const uint32_t coff = pe + 4;
    out[coff] = 0x4C; // i386
    out[coff + 1] = 0x01;
    out[coff + 2] = 1; // one section
    const uint16_t optionalSize = pe32Plus ? 240 : 224;
    out[coff + 16] = static_cast<uint8_t>(optionalSize);
    const uint32_t optional = coff + 20;
    out[optional] = 0x0B; // PE32 0x10B, PE32+ 0x20B
    out[optional + 1] = pe32Plus ? 0x02 : 0x01;
    const uint32_t directories = optional + (pe32Plus ? 112 : 96);
    WriteLE32(&out[directories - 4], 16);
    WriteLE32(&out[directories + 2 * 8], static_cast<int32_t>(kSectionRva));
    WriteLE32(&out[directories + 2 * 8 + 4], static_cast<int32_t>(section.size()));
    const uint32_t sectionHeader = optional + optionalSize;
    std::memcpy(&out[sectionHeader], ".rsrc\0\0\0", 8);
    WriteLE32(&out[sectionHeader + 8], static_cast<int32_t>(section.size()));
    WriteLE32(&out[sectionHeader + 12], static_cast<int32_t>(kSectionRva));
    WriteLE32(&out[sectionHeader + 16], static_cast<int32_t>(section.size()));
    WriteLE32(&out[sectionHeader + 20], static_cast<int32_t>(kSectionFileOffset));
    Append(out, section);
    return out;
}

Bitmap24 MakeGradient(int width, int height) {
    Bitmap24 bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y,
                            static_cast<uint32_t>(x * 255 / std::max(1, width - 1)) |
                                (static_cast<uint32_t>(y * 255 / std::max(1, height - 1)) << 8) |
                                (0x80u << 16));
    return bitmap;
}

std::vector<uint8_t> MakeJpeg(int width, int height, int quality) {
    std::vector<uint8_t> out;
    EncodeJpeg(MakeGradient(width, height), quality, out);
    return out;
}

FixtureItem PictureItem(std::vector<uint8_t> jpeg, int left, int top, int width, int height) {
    FixtureItem item;
    item.item.displaySeconds = 5;
    item.item.transitionEffect = 12;
    item.item.transitionStep = 4;
    item.item.fixedPosition = 1;
    item.item.left = left;
    item.item.top = top;
    item.item.width = width;
    item.item.height = height;
    item.item.kind = ShowItem::Picture;
    item.data = std::move(jpeg);
    return item;
}

} // namespace scr::test
