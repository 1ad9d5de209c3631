#include "package/DescriptionDifferences.h"

namespace scr {
namespace {

// The information record with the fields the builder writes itself filled in.
ScreenSaverInfo AsBuilt(const PackageDescription& d) {
    ScreenSaverInfo info = d.info;
    info.setSignature();
    info.setItemCount(static_cast<int32_t>(d.items.size()));
    info.setMusicCount(static_cast<int32_t>(d.tracks.size()));
    return info;
}

// "bytes 64, 117..120" for the bytes in which two records differ.
std::string DifferingBytes(const ScreenSaverInfo::Bytes& a, const ScreenSaverInfo::Bytes& b) {
    std::string text;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        std::size_t last = i;
        while (last + 1 < a.size() && a[last + 1] != b[last + 1])
            ++last;
        text +=
            (text.empty() ? "" : ", ") + std::to_string(i) + (last > i ? ".." + std::to_string(last) : "");
        i = last;
    }
    return text;
}

PackageExtension StoredExtensionFields(const PackageExtension& e) {
    return {e.designHeight, 0, e.opacityPercent, e.keepCursor, 0};
}

std::string Numbered(const char* what, std::size_t index) {
    return std::string(what) + " " + std::to_string(index + 1);
}

} // namespace

std::vector<std::string> DescriptionDifferences(const PackageDescription& expected,
                                                const PackageDescription& actual) {
    std::vector<std::string> out;
    const auto differs = [&](bool different, const std::string& what) {
        if (different) out.push_back(what);
    };
    differs(expected.name != actual.name, "the name");
    const ScreenSaverInfo a = AsBuilt(expected), b = AsBuilt(actual);
    if (a != b) out.push_back("the information record, bytes " + DifferingBytes(a.bytes(), b.bytes()));
    differs(expected.info.hasAuthorInfo() && actual.info.hasAuthorInfo() && expected.author != actual.author,
            "the author block");

    if (expected.items.size() != actual.items.size()) {
        out.push_back("the number of items");
    } else {
        LabelGroupList labelsA = expected.labels, labelsB = actual.labels;
        labelsA.MatchGroupCount(static_cast<int>(expected.items.size()));
        labelsB.MatchGroupCount(static_cast<int>(actual.items.size()));
        for (std::size_t i = 0; i < expected.items.size(); ++i) {
            const std::string item = Numbered("item", i);
            differs(expected.items[i].record != actual.items[i].record, item + ": its settings");
            differs(expected.items[i].data != actual.items[i].data, item + ": its data");
            differs(*labelsA.Group(static_cast<int>(i)) != *labelsB.Group(static_cast<int>(i)),
                    item + ": its labels");
        }
    }
    if (expected.tracks.size() != actual.tracks.size()) {
        out.push_back("the number of tracks");
    } else {
        for (std::size_t i = 0; i < expected.tracks.size(); ++i) {
            const std::string track = Numbered("track", i);
            differs(expected.tracks[i].record != actual.tracks[i].record, track + ": its record (extension)");
            differs(expected.tracks[i].data != actual.tracks[i].data, track + ": its data");
        }
    }
    differs(expected.musicNames != actual.musicNames, "the music names");
    differs(StoredExtensionFields(expected.extension) != StoredExtensionFields(actual.extension),
            "the design height, opacity or cursor setting");
    differs(expected.background != actual.background, "the background picture");
    differs(expected.licenseText != actual.licenseText, "the licence text");
    differs(expected.dynamicTexts != actual.dynamicTexts, "the dynamic texts");
    differs(expected.staticCaptions != actual.staticCaptions, "the static captions");
    return out;
}

} // namespace scr
