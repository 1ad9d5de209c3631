#include "package/ManifestWriter.h"

#include "package/ManifestFields.h"
#include "platform/CodePage.h"
#include "platform/ColorRef.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace scr {
namespace {

using Json = nlohmann::ordered_json;

template <std::size_t N>
bool AllZero(const std::array<uint8_t, N>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// "item-07.jpg": numbers as wide as the largest one, at least two digits.
std::string NumberedName(const char* prefix, std::size_t index, std::size_t count,
                         const std::string& extension) {
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    std::string number = std::to_string(index + 1);
    number.insert(0, width - number.size(), '0');
    return prefix + number + extension;
}

std::string ItemExtension(int32_t kind) {
    return kind == ShowItem::Picture ? ".jpg" : kind == ShowItem::Flash ? ".swf" : ".bin";
}

std::string TrackExtension(const MusicItem& record) {
    const std::string stored = record.extension();
    return IsPlainTrackExtension(stored) ? stored : ".bin";
}

class FolderWriter {
public:
    explicit FolderWriter(std::string dir) : dir_(std::move(dir)) {}

    // Writes one file of the folder; the name is always one of ours.
    void file(const std::string& name, const std::string& bytes) {
        if (!error_.empty()) return;
        const std::string path = (std::filesystem::path(dir_) / name).string();
        if (!WriteFileReplacing(path, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}))
            error_ = "cannot write " + path;
    }
    void file(const std::string& name, const std::vector<uint8_t>& bytes) {
        file(name, std::string(bytes.begin(), bytes.end()));
    }
    const std::string& error() const { return error_; }

private:
    std::string dir_;
    std::string error_;
};

Json LabelJson(const LabelItem& label) {
    const LabelRecord& r = label.record();
    Json j;
    j["text"] = DecodeCodePage(label.text());
    j["font_name"] = r.fontNameUtf8();
    j["font_size"] = r.fontSize;
    j["bold"] = (r.fontStyle & LabelBold) != 0;
    j["italic"] = (r.fontStyle & LabelItalic) != 0;
    j["underline"] = (r.fontStyle & LabelUnderline) != 0;
    j["strikeout"] = (r.fontStyle & LabelStrikeOut) != 0;
    j["text_color"] = ColorRefHexText(r.textColor);
    j["transparent"] = r.transparent != 0;
    j["back_color"] = ColorRefHexText(r.backColor);
    j["center_x"] = r.centerX;
    j["center_y"] = r.centerY;
    if (!AllZero(r.reservedBytes()))
        j["reserved"] = HexText(r.reservedBytes().data(), LabelRecord::kReservedSize);
    return j;
}

Json ItemJson(const ShowItem& item, const std::string& file, const LabelGroup* labels) {
    Json j;
    j["file"] = file;
    if (item.kind == ShowItem::Picture)
        j["kind"] = "picture";
    else if (item.kind == ShowItem::Flash)
        j["kind"] = "flash";
    else
        j["kind"] = item.kind;
    j["display_seconds"] = item.displaySeconds;
    j["transition_effect"] = item.transitionEffect;
    j["transition_step"] = item.transitionStep;
    j["transition_delay"] = item.transitionDelay;
    j["exit_effect"] = item.exitEffect;
    j["exit_step"] = item.exitStep;
    j["exit_delay"] = item.exitDelay;
    j["fixed_position"] = item.fixedPosition != 0;
    j["left"] = item.left;
    j["top"] = item.top;
    j["width"] = item.width;
    j["height"] = item.height;
    j["pinned"] = item.pinned != 0;
    if (!AllZero(item.reserved)) j["reserved"] = HexText(item.reserved.data(), item.reserved.size());
    Json list = Json::array();
    if (labels)
        for (const LabelItem& label : *labels)
            list.push_back(LabelJson(label));
    j["labels"] = std::move(list);
    return j;
}

Json SettingsJson(const PackageDescription& d) {
    const ScreenSaverInfo& info = d.info;
    Json j;
    j["name"] = DecodeCodePage(d.name);
    j["description"] = info.descriptionUtf8();
    j["kind"] = info.packageKind() == 'E' ? "E" : "S";
    j["format_level"] = info.formatLevel();
    const auto reserved = info.reservedBytes();
    if (!AllZero(reserved)) {
        std::vector<std::size_t> groups;
        for (const ByteRange& range : ScreenSaverInfo::kReservedRanges)
            groups.push_back(range.size);
        j["reserved"] = HexText(reserved.data(), reserved.size(), groups);
    }
    if (info.hasAuthorInfo())
        j["author"] = {{"name", d.author.nameUtf8()},
                       {"email", d.author.emailUtf8()},
                       {"homepage", d.author.homepageUtf8()}};
    j["default_display_seconds"] = info.defaultDisplaySeconds();
    j["default_transition_effect"] = info.defaultTransitionEffect();
    j["default_transition_step"] = info.defaultTransitionStep();
    j["default_transition_delay"] = info.defaultTransitionDelay();
    j["default_exit_effect"] = info.defaultExitEffect();
    j["default_exit_step"] = info.defaultExitStep();
    j["default_exit_delay"] = info.defaultExitDelay();
    j["background_color"] = ColorRefHexText(info.backgroundColor());
    j["random_order"] = info.randomOrder() != 0;
    j["no_saving"] = info.noSaving() != 0;
    j["placement_mode"] = info.placementMode();
    // The player ignores the mouse only for exactly 1; other values keep that meaning.
    j["ignore_mouse_move"] = info.ignoreMouseMove() == 1;
    j["design_width"] = info.designWidth();
    if (info.formatLevel() >= 4) {
        j["design_height"] = d.extension.designHeight;
        j["opacity_percent"] = d.extension.opacityPercent;
        j["keep_cursor"] = d.extension.keepCursor != 0;
    }
    return j;
}

} // namespace

bool WriteManifestFolder(const PackageDescription& d, const std::string& dir, std::string* error) {
    FolderWriter out(dir);
    Json manifest = SettingsJson(d);

    // Blocks that become files of their own; texts are written as UTF-8.
    if (!d.background.empty()) {
        out.file("background.jpg", d.background);
        manifest["background"] = "background.jpg";
    }
    if (!d.licenseText.empty()) {
        out.file("license.txt", DecodeCodePage(d.licenseText));
        manifest["license"] = "license.txt";
    }
    if (!d.dynamicTexts.empty()) {
        out.file("dynamic_texts.txt", DecodeCodePage(d.dynamicTexts));
        manifest["dynamic_texts"] = "dynamic_texts.txt";
    }
    if (!d.staticCaptions.empty()) {
        out.file("static_captions.ini", DecodeCodePage(d.staticCaptions));
        manifest["static_captions"] = "static_captions.ini";
    }

    Json items = Json::array();
    for (std::size_t i = 0; i < d.items.size(); ++i) {
        const PackageItemSource& item = d.items[i];
        const std::string name = NumberedName("item-", i, d.items.size(), ItemExtension(item.record.kind));
        out.file(name, item.data);
        items.push_back(ItemJson(item.record, name, d.labels.Group(static_cast<int>(i))));
    }
    manifest["items"] = std::move(items);

    Json tracks = Json::array();
    for (std::size_t i = 0; i < d.tracks.size(); ++i) {
        const PackageTrackSource& track = d.tracks[i];
        const std::string name = NumberedName("track-", i, d.tracks.size(), TrackExtension(track.record));
        out.file(name, track.data);
        Json j = {{"file", name}};
        if (i < d.musicNames.size()) j["name"] = DecodeCodePage(d.musicNames[i]);
        tracks.push_back(std::move(j));
    }
    manifest["tracks"] = std::move(tracks);

    out.file(kManifestFileName, manifest.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
    if (!out.error().empty()) {
        if (error) *error = out.error();
        return false;
    }
    return true;
}

} // namespace scr
