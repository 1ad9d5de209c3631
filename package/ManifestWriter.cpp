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

// A flag as true or false, or as the stored integer when it is neither 0 nor 1.
Json FlagJson(int32_t value) {
    if (value == 0 || value == 1) return value == 1;
    return value;
}

// True when a code-page text comes back the same from its UTF-8 form.
bool SurvivesUtf8(const std::string& stored, bool multiLine) {
    if (multiLine && WithCrLfLineEnds(stored) != stored) return false;
    return EncodeCodePage(DecodeCodePage(stored)) == stored;
}

// A text as UTF-8, or as its stored bytes when UTF-8 would not give them back.
Json TextJson(const std::string& stored, bool multiLine = false) {
    if (SurvivesUtf8(stored, multiLine)) return DecodeCodePage(stored);
    return Json{{"bytes", HexText(reinterpret_cast<const uint8_t*>(stored.data()), stored.size())}};
}

// The text of a fixed field; its stored bytes when they hold bytes after the
// text's NUL, or fill the field without one.
Json FieldJson(const uint8_t* field, std::size_t width, bool multiLine = false) {
    std::size_t used = width;
    while (used > 0 && field[used - 1] == 0)
        --used;
    const std::string bytes(reinterpret_cast<const char*>(field), used);
    if (used < width && bytes.find('\0') == std::string::npos) return TextJson(bytes, multiLine);
    return Json{{"bytes", HexText(field, used)}};
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
    j["text"] = TextJson(label.text(), true);
    j["font_name"] = FieldJson(r.fontName.data(), r.fontName.size());
    j["font_size"] = r.fontSize;
    j["bold"] = (r.fontStyle & LabelBold) != 0;
    j["italic"] = (r.fontStyle & LabelItalic) != 0;
    j["underline"] = (r.fontStyle & LabelUnderline) != 0;
    j["strikeout"] = (r.fontStyle & LabelStrikeOut) != 0;
    const uint8_t otherBits = r.fontStyle & ~(LabelBold | LabelItalic | LabelUnderline | LabelStrikeOut);
    if (otherBits != 0) j["style_bits"] = otherBits;
    j["text_color"] = ColorRefHexText(r.textColor);
    j["transparent"] = FlagJson(r.transparent);
    j["back_color"] = ColorRefHexText(r.backColor);
    j["center_x"] = r.centerX;
    j["center_y"] = r.centerY;
    if (!AllZero(r.reservedBytes()))
        j["reserved"] = HexText(r.reservedBytes().data(), LabelRecord::kReservedSize);
    return j;
}

// An item without data (as in a package stored as resources) names no file.
Json ItemJson(const ShowItem& item, const std::string& file, const LabelGroup* labels) {
    Json j;
    if (!file.empty()) j["file"] = file;
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
    j["fixed_position"] = FlagJson(item.fixedPosition);
    j["left"] = item.left;
    j["top"] = item.top;
    j["width"] = item.width;
    j["height"] = item.height;
    j["pinned"] = FlagJson(item.pinned);
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
    j["name"] = TextJson(d.name);
    j["description"] = FieldJson(&info.bytes()[kDescriptionOffset], ScreenSaverInfo::kDescriptionSize, true);
    const uint8_t kind = info.packageKind();
    if (kind == 'S' || kind == 'E')
        j["kind"] = std::string(1, static_cast<char>(kind));
    else
        j["kind"] = kind;
    j["format_level"] = info.formatLevel();
    const auto reserved = info.reservedBytes();
    if (!AllZero(reserved)) {
        std::vector<std::size_t> groups;
        for (const ByteRange& range : ScreenSaverInfo::kReservedRanges)
            groups.push_back(range.size);
        j["reserved"] = HexText(reserved.data(), reserved.size(), groups);
    }
    if (info.hasAuthorInfo())
        j["author"] = {{"name", FieldJson(&d.author.bytes()[0], 32)},
                       {"email", FieldJson(&d.author.bytes()[32], 32)},
                       {"homepage", FieldJson(&d.author.bytes()[64], 64)}};
    if (info.hasAuthorInfo() > 1) j["author"]["flag"] = info.hasAuthorInfo();
    j["default_display_seconds"] = info.defaultDisplaySeconds();
    j["default_transition_effect"] = info.defaultTransitionEffect();
    j["default_transition_step"] = info.defaultTransitionStep();
    j["default_transition_delay"] = info.defaultTransitionDelay();
    j["default_exit_effect"] = info.defaultExitEffect();
    j["default_exit_step"] = info.defaultExitStep();
    j["default_exit_delay"] = info.defaultExitDelay();
    j["background_color"] = ColorRefHexText(info.backgroundColor());
    j["random_order"] = FlagJson(info.randomOrder());
    j["no_saving"] = FlagJson(info.noSaving());
    j["placement_mode"] = info.placementMode();
    j["ignore_mouse_move"] = FlagJson(info.ignoreMouseMove());
    j["design_width"] = info.designWidth();
    if (info.formatLevel() >= 4) {
        j["design_height"] = d.extension.designHeight;
        j["opacity_percent"] = d.extension.opacityPercent;
        j["keep_cursor"] = FlagJson(d.extension.keepCursor);
    }
    return j;
}

} // namespace

Result<void> WriteManifestFolder(const PackageDescription& d, const std::string& dir) {
    FolderWriter out(dir);
    Json manifest = SettingsJson(d);

    // Blocks that become files of their own.
    if (!d.background.empty()) {
        out.file("background.jpg", d.background);
        manifest["background"] = "background.jpg";
    }
    const struct {
        const std::string& text;
        const char* key;
        const char* file;
    } texts[] = {{d.licenseText, "license", "license.txt"},
                 {d.dynamicTexts, "dynamic_texts", "dynamic_texts.txt"},
                 {d.staticCaptions, "static_captions", "static_captions.ini"}};
    for (const auto& text : texts) {
        if (text.text.empty()) continue;
        // UTF-8 when that gives the stored bytes back, else the bytes as stored.
        if (SurvivesUtf8(text.text, true)) {
            out.file(text.file, DecodeCodePage(text.text));
            manifest[text.key] = text.file;
        } else {
            out.file(text.file, text.text);
            manifest[text.key] = {{"file", text.file}, {"verbatim", true}};
        }
    }
    // A package without one of its tables stays so when packed again.
    if (d.dynamicTexts.empty() || d.staticCaptions.empty()) manifest["default_tables"] = false;

    Json items = Json::array();
    for (std::size_t i = 0; i < d.items.size(); ++i) {
        const PackageItemSource& item = d.items[i];
        std::string name;
        if (!item.data.empty()) {
            name = NumberedName("item-", i, d.items.size(), ItemExtension(item.record.kind));
            out.file(name, item.data);
        }
        items.push_back(ItemJson(item.record, name, d.labels.Group(static_cast<int>(i))));
    }
    manifest["items"] = std::move(items);

    Json tracks = Json::array();
    for (std::size_t i = 0; i < d.tracks.size(); ++i) {
        const PackageTrackSource& track = d.tracks[i];
        const std::string name = NumberedName("track-", i, d.tracks.size(), TrackExtension(track.record));
        out.file(name, track.data);
        Json j = {{"file", name}};
        // The extension is the file's unless the record holds another one.
        const MusicItem::Bytes& record = track.record.bytes();
        MusicItem fromFile;
        fromFile.setExtension(TrackExtension(track.record));
        const auto fieldEnd = record.begin() + MusicItem::kFieldSize;
        if (!std::equal(record.begin(), fieldEnd, fromFile.bytes().begin()))
            j["extension"] = FieldJson(&record[0], MusicItem::kFieldSize);
        if (std::any_of(fieldEnd, record.end(), [](uint8_t b) { return b != 0; }))
            j["resource_name"] = FieldJson(&record[MusicItem::kFieldSize], MusicItem::kFieldSize);
        if (i < d.musicNames.size()) j["name"] = TextJson(d.musicNames[i]);
        tracks.push_back(std::move(j));
    }
    manifest["tracks"] = std::move(tracks);

    out.file(kManifestFileName, manifest.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
    if (!out.error().empty()) return Failure{out.error()};
    return {};
}

} // namespace scr
