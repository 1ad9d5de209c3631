#include "package/PackageContents.h"

#include "package/PackageFile.h"

namespace scr {
namespace {

std::string Numbered(const char* what, int index) {
    return std::string(what) + " " + std::to_string(index + 1);
}

// An item's or track's data; nothing when its location cannot be read. An
// empty block (size 0) is data too.
std::optional<std::vector<uint8_t>> LocatedData(const ItemLocation& location,
                                                const std::optional<std::vector<uint8_t>>& data) {
    if (location.size == 0) return std::vector<uint8_t>();
    return data;
}

void ReadItems(const PackageFile& package, PackageContents& contents) {
    PackageDescription& d = contents.description;
    const int stored = package.Info().itemCount();
    if (package.ItemCount() < stored)
        contents.skipped.push_back("the item table ends after " + std::to_string(package.ItemCount()) +
                                   " of " + std::to_string(stored) + " items");
    for (int i = 0; i < package.ItemCount(); ++i) {
        // A package stored as resources carries no item data: its items come without.
        auto data = package.IsAppended() ? LocatedData(package.GetItemLocation(i), package.ReadItemData(i))
                                         : std::vector<uint8_t>();
        if (!data) {
            contents.skipped.push_back(Numbered("item", i) +
                                       ": its data lies outside the file; left out with its labels");
            continue;
        }
        d.items.push_back({package.GetItem(i), std::move(*data)});
        const LabelGroup* group = package.Labels().Group(i);
        d.labels.AppendGroupCopy(group ? *group : LabelGroup());
    }
}

void ReadTracks(const PackageFile& package, PackageContents& contents) {
    PackageDescription& d = contents.description;
    const int stored = package.Info().musicCount();
    if (package.MusicCount() < stored)
        contents.skipped.push_back("the track table ends after " + std::to_string(package.MusicCount()) +
                                   " of " + std::to_string(stored) + " tracks");
    for (int i = 0; i < package.MusicCount(); ++i) {
        auto data = LocatedData(package.GetMusicLocation(i), package.ReadMusicData(i));
        if (!data) {
            contents.skipped.push_back(Numbered("track", i) + ": its data cannot be read; left out");
            continue;
        }
        d.tracks.push_back({package.GetMusic(i), std::move(*data)});
        if (package.HasStoredMusicNames()) d.musicNames.push_back(package.MusicName(i));
    }
}

std::string LanguageTable(const PackageFile& package, bool staticCaptions, PackageContents& contents) {
    const std::vector<uint8_t> table = package.ReadLanguageTable(staticCaptions);
    const int32_t size = staticCaptions ? package.Fields().staticTextSize : package.Fields().dynamicTextSize;
    if (package.IsAppended() && size > 0 && table.empty())
        contents.skipped.push_back(std::string(staticCaptions ? "the static captions" : "the dynamic texts") +
                                   " lie outside the file");
    return std::string(table.begin(), table.end());
}

} // namespace

PackageContents ReadPackageContents(const PackageFile& package) {
    PackageContents contents;
    PackageDescription& d = contents.description;
    d.name = package.Name();
    d.info = package.Info();
    if (package.HasAuthorInfo()) d.author = package.Author();
    ReadItems(package, contents);
    ReadTracks(package, contents);

    const PackageReadGaps& gaps = package.ReadGaps();
    if (gaps.labelsUnreadable)
        contents.skipped.push_back("the label data is damaged; some or all labels are lost");
    if (gaps.chainEnded)
        contents.skipped.push_back(
            "the extension block, music names or background run out of the file; what follows is lost");
    if (gaps.licenseUnreadable) contents.skipped.push_back("the licence text is damaged; left out");

    const int level = package.FormatLevel();
    if (level >= 4) {
        const PackageExtension& e = package.Extension();
        d.extension.designHeight = e.designHeight;
        d.extension.opacityPercent = e.opacityPercent;
        d.extension.keepCursor = e.keepCursor;
        d.background = package.ReadBackgroundData();
    }
    if (level >= 5) d.licenseText = package.LicenseText();
    d.dynamicTexts = LanguageTable(package, false, contents);
    d.staticCaptions = LanguageTable(package, true, contents);
    return contents;
}

} // namespace scr
