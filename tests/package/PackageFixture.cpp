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
// Named entries come before numbered ones at every level, as the format requires.
class ResourceSection {
public:
    std::vector<uint8_t> Build(const std::vector<PeResourceFixture>& resources, uint32_t sectionRva) {
        using Key = std::pair<std::string, uint32_t>; // (name, id): a name sorts named entries first
        const auto key = [](const std::string& name, uint32_t id) {
            return Key{name.empty() ? std::string("\x7f") : name, name.empty() ? id : 0};
        };
        std::map<Key, std::map<Key, std::vector<const PeResourceFixture*>>> tree;
        for (const auto& r : resources)
            tree[key(r.typeName, r.typeId)][key(r.name, r.nameId)].push_back(&r);

        std::size_t directories = 16 + 8 * tree.size();
        for (const auto& [type, names] : tree) {
            directories += 16 + 8 * names.size();
            for (const auto& [name, languages] : names)
                directories += 16 + 8 * languages.size();
        }
        out_.assign(directories, 0);
        dirPos_ = 0;
        const std::size_t root = PutDir(tree);
        std::size_t typeIndex = 0;
        for (const auto& [type, names] : tree) {
            const std::size_t typeDir = PutDir(names);
            PutEntry(root, typeIndex++, NameField(type), 0x80000000u | static_cast<uint32_t>(typeDir));
            std::size_t nameIndex = 0;
            for (const auto& [name, languages] : names) {
                const std::size_t languageDir = dirPos_;
                PutDirHeader(0, languages.size());
                PutEntry(typeDir, nameIndex++, NameField(name),
                         0x80000000u | static_cast<uint32_t>(languageDir));
                for (std::size_t i = 0; i < languages.size(); ++i) {
                    while (out_.size() % 4)
                        out_.push_back(0);
                    const std::size_t dataEntry = out_.size();
                    out_.resize(out_.size() + 16, 0);
                    PutEntry(languageDir, i, languages[i]->language, static_cast<uint32_t>(dataEntry));
                    WriteLE32(&out_[dataEntry], static_cast<int32_t>(sectionRva + out_.size()));
                    WriteLE32(&out_[dataEntry + 4], static_cast<int32_t>(languages[i]->data.size()));
                    Append(out_, languages[i]->data);
                }
            }
        }
        return out_;
    }

private:
    template <typename Map>
    std::size_t PutDir(const Map& entries) {
        std::size_t named = 0;
        for (const auto& [k, v] : entries)
            named += k.first != "\x7f" ? 1 : 0;
        const std::size_t at = dirPos_;
        PutDirHeader(named, entries.size() - named);
        return at;
    }
    void PutDirHeader(std::size_t named, std::size_t ids) {
        out_[dirPos_ + 12] = static_cast<uint8_t>(named);
        out_[dirPos_ + 13] = static_cast<uint8_t>(named >> 8);
        out_[dirPos_ + 14] = static_cast<uint8_t>(ids);
        out_[dirPos_ + 15] = static_cast<uint8_t>(ids >> 8);
        dirPos_ += 16 + 8 * (named + ids);
    }
    void PutEntry(std::size_t dir, std::size_t index, uint32_t name, uint32_t target) {
        WriteLE32(&out_[dir + 16 + 8 * index], static_cast<int32_t>(name));
        WriteLE32(&out_[dir + 16 + 8 * index + 4], static_cast<int32_t>(target));
    }
    // A number, or a name string written after everything so far.
    uint32_t NameField(const std::pair<std::string, uint32_t>& key) {
        if (key.first == "\x7f") return key.second;
        const uint32_t field = 0x80000000u | static_cast<uint32_t>(out_.size());
        out_.push_back(static_cast<uint8_t>(key.first.size()));
        out_.push_back(0);
        for (char c : key.first) {
            out_.push_back(static_cast<uint8_t>(c));
            out_.push_back(0);
        }
        return field;
    }

    std::vector<uint8_t> out_;
    std::size_t dirPos_ = 0;
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
    std::vector<PeResourceFixture> resources;
    for (const auto& resource : rcdata)
        resources.push_back({{}, 10, resource.name, 0, 1033, resource.data});
    std::map<int, bool> blocks;
    for (const auto& [id, text] : strings)
        blocks[id / 16] = true;
    for (const auto& [block, unused] : blocks)
        resources.push_back({{}, 6, {}, static_cast<uint32_t>(block + 1), 1033, StringBlock(strings, block)});
    return BuildPeWithResources(resources, pe32Plus);
}

std::vector<uint8_t> BuildPeWithResources(const std::vector<PeResourceFixture>& resources, bool pe32Plus) {
    constexpr uint32_t kSectionRva = 0x1000;
    constexpr uint32_t kSectionFileOffset = 0x200;
    const std::vector<uint8_t> section = ResourceSection().Build(resources, kSectionRva);

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
