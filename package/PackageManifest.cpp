#include "package/PackageManifest.h"

#include "package/JpegCodec.h"
#include "package/ManifestFields.h"
#include "platform/ExecutablePath.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>

namespace scr {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::size_t kMaxDataSize = INT32_MAX;
// Texts of the label stream and of the music names have no field of their
// own; the package bounds them.
constexpr std::size_t kMaxLabelText = kMaxDataSize;
constexpr std::size_t kMaxMusicName = kMaxDataSize;

// What the player does with the values of a key outside its usual range.
constexpr UsualRange kSeconds{1, 86400, "0 or less: 1 second"};
constexpr UsualRange kItemSeconds{-86400, 86400};
constexpr UsualRange kStep{1, 100, "the player steps by 1 below and by 100 above"};
constexpr UsualRange kDelay{0, 65535, "the player waits 0 ms below and 65535 ms above"};
constexpr UsualRange kEffect{-2, 127, "-1 and 128 or more: a random style; below -1: none"};
constexpr UsualRange kDesignSize{0, 32767, "0 or less: the screen the package runs on"};
constexpr UsualRange kCoordinate{-32768, 32767};
constexpr UsualRange kItemSize{0, 32767, "0 or less: the picture's own size"};
constexpr UsualRange kFontSize{1, 1000, "the player draws the text at least 1 pixel high"};
constexpr UsualRange kOpacity{0, 100, "the show applies 20..99 only"};
constexpr UsualRange kPlacementMode{0, 3, "other values place items at random positions, as 1 and 2 do"};
constexpr UsualRange kFormatLevel{1, 5, "below 4 the package is read as level 3, above 5 as level 5"};
constexpr UsualRange kItemKind{0, 1, "the player skips items of other kinds"};

constexpr uint8_t kKnownStyles = LabelBold | LabelItalic | LabelUnderline | LabelStrikeOut;

// Why data cannot be a picture of the package; empty when it can.
std::string NotAPicture(const std::vector<uint8_t>& data) {
    const int bits = JpegSamplePrecision(data);
    if (bits > 8)
        return "is a " + std::to_string(bits) + "-bit JPEG picture, and " + std::to_string(bits) +
               "-bit JPEGs cannot be shown";
    int width = 0, height = 0;
    return ReadJpegSize(data, width, height) ? std::string() : "is not a JPEG picture";
}

bool IsFlashMovie(const std::vector<uint8_t>& data) {
    return data.size() >= 8 && (data[0] == 'F' || data[0] == 'C' || data[0] == 'Z') && data[1] == 'W' &&
           data[2] == 'S';
}

// Keys that the stored form carries only from a given format level on.
void RequireLevel(ManifestFields& fields, const char* key, int32_t level, int32_t needed) {
    if (fields.has(key) && level < needed)
        fields.fail(key, "needs format_level " + std::to_string(needed) + " or more");
}

// "S", "E" or the stored byte as an integer.
uint8_t ReadPackageKind(ManifestFields& m) {
    const json* kind = m.value("kind");
    if (!kind || (kind->is_string() && *kind == "S")) return 'S';
    if (kind->is_string() && *kind == "E") return 'E';
    if (!kind->is_number_integer()) m.fail("kind", "must be one of \"S\", \"E\" or the stored byte 0..255");
    const uint8_t stored = m.byte("kind", {0, 255}, 'S');
    if (stored != 'S' && stored != 'E')
        m.warn("kind", std::to_string(stored) + " is stored as given (the player treats it like \"S\")");
    return stored;
}

void ReadPackageSettings(ManifestFields& m, PackageDescription& d, const LanguageTableTexts& defaultTables) {
    ScreenSaverInfo& info = d.info;
    if (!m.has("name")) m.fail("name", "is required");
    std::string name = m.text("name", kPackageNameSize - 1);
    const auto first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string()
                                      : name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (name.empty()) m.warn("name", "is empty; the package has no name");
    d.name = name;
    StoreField(&info.bytes()[kDescriptionOffset], ScreenSaverInfo::kDescriptionSize,
               m.fieldText("description", ScreenSaverInfo::kDescriptionSize, {}, true));
    info.setPackageKind(ReadPackageKind(m));
    info.setFormatLevel(m.word("format_level", kFormatLevel, 5));

    if (auto author = m.object("author")) {
        // The stored flag is any byte but 0; the player only asks whether it is set.
        info.setHasAuthorInfo(static_cast<uint8_t>(author->integer("flag", 1, 255, 1)));
        AuthorInfo::Bytes bytes{};
        StoreField(&bytes[0], 32, author->fieldText("name", 32));
        StoreField(&bytes[32], 32, author->fieldText("email", 32));
        StoreField(&bytes[64], 64, author->fieldText("homepage", 64));
        d.author = AuthorInfo::Parse(bytes.data());
        author->finish();
    }

    info.setDefaultDisplaySeconds(m.word("default_display_seconds", kSeconds, 10));
    info.setDefaultTransitionStep(m.word("default_transition_step", kStep, 10));
    info.setDefaultTransitionDelay(m.word("default_transition_delay", kDelay, 0));
    info.setDefaultExitStep(m.word("default_exit_step", kStep, 10));
    info.setDefaultExitDelay(m.word("default_exit_delay", kDelay, 0));
    info.setDefaultTransitionEffect(m.word("default_transition_effect", kEffect, -1));
    info.setDefaultExitEffect(m.word("default_exit_effect", kEffect, -1));
    info.setBackgroundColor(m.colour("background_color", 0));
    info.setRandomOrder(static_cast<uint8_t>(m.flag("random_order", false)));
    info.setNoSaving(static_cast<uint8_t>(m.flag("no_saving", false)));
    info.setPlacementMode(m.byte("placement_mode", kPlacementMode, 0));
    info.setIgnoreMouseMove(static_cast<uint8_t>(
        m.flag("ignore_mouse_move", false, FlagWidth::Byte, "the player ignores the mouse only for 1")));
    info.setDesignWidth(m.word("design_width", kDesignSize, 0));
    if (const auto reserved = m.hexBytes("reserved", ScreenSaverInfo::kReservedSize)) {
        std::array<uint8_t, ScreenSaverInfo::kReservedSize> bytes{};
        std::copy(reserved->begin(), reserved->end(), bytes.begin());
        info.setReservedBytes(bytes);
    }

    const int32_t level = info.formatLevel();
    for (const char* key : {"design_height", "opacity_percent", "keep_cursor", "background"})
        RequireLevel(m, key, level, 4);
    for (const char* key : {"license", "license_text"})
        RequireLevel(m, key, level, 5);
    d.extension.designHeight = m.word("design_height", kDesignSize, 0);
    d.extension.opacityPercent = m.word("opacity_percent", kOpacity, 0);
    d.extension.keepCursor = m.flag("keep_cursor", false, FlagWidth::Word);

    if (auto background = m.fileBytes("background", kMaxDataSize)) {
        if (const std::string problem = NotAPicture(*background); !problem.empty())
            m.warn("background", problem + "; the player shows none");
        d.background = std::move(*background);
    }
    if (m.has("license") && m.has("license_text"))
        m.fail("license_text", "cannot be given together with license");
    d.licenseText = m.has("license") ? *m.textFile("license", kMaxLicenseLength)
                                     : m.text("license_text", kMaxLicenseLength, {}, true);
    d.dynamicTexts = m.textFile("dynamic_texts", kMaxDataSize).value_or(std::string());
    d.staticCaptions = m.textFile("static_captions", kMaxDataSize).value_or(std::string());
    if (m.flag("default_tables", true)) {
        if (!m.has("dynamic_texts")) d.dynamicTexts = defaultTables.dynamicTexts;
        if (!m.has("static_captions")) d.staticCaptions = defaultTables.staticCaptions;
    }
}

LabelItem ReadLabel(ManifestFields& l) {
    LabelRecord record;
    StoreField(record.fontName.data(), LabelRecord::kFontNameSize,
               l.fieldText("font_name", LabelRecord::kFontNameSize, "Arial"));
    record.fontSize = l.word("font_size", kFontSize, 12);
    const struct {
        const char* key;
        uint8_t bit;
    } styles[] = {{"bold", LabelBold},
                  {"italic", LabelItalic},
                  {"underline", LabelUnderline},
                  {"strikeout", LabelStrikeOut}};
    for (const auto& style : styles)
        if (l.flag(style.key, false)) record.fontStyle |= style.bit;
    const uint8_t styleBits = l.byte("style_bits", {0, 255}, 0);
    if (styleBits & ~kKnownStyles)
        l.warn("style_bits",
               std::to_string(styleBits) +
                   " sets bits above the four styles; they are stored as given (the player knows bits "
                   "0..3 only)");
    record.fontStyle |= styleBits;
    record.textColor = l.colour("text_color", 0xFFFFFF);
    record.transparent = static_cast<uint8_t>(l.flag("transparent", true));
    record.backColor = l.colour("back_color", 0);
    record.centerX = l.word("center_x", kCoordinate, 0);
    record.centerY = l.word("center_y", kCoordinate, 0);
    if (const auto reserved = l.hexBytes("reserved", LabelRecord::kReservedSize)) {
        std::array<uint8_t, LabelRecord::kReservedSize> bytes{};
        std::copy(reserved->begin(), reserved->end(), bytes.begin());
        record.setReservedBytes(bytes);
    }
    LabelItem label(record);
    label.setText(l.text("text", kMaxLabelText, {}, true));
    l.finish();
    return label;
}

int32_t ReadItemKind(ManifestFields& item) {
    const json* kind = item.value("kind");
    if (!kind || (kind->is_string() && *kind == "picture")) return ShowItem::Picture;
    if (kind->is_string() && *kind == "flash") return ShowItem::Flash;
    if (kind->is_number_integer()) return item.word("kind", kItemKind, 0);
    item.fail("kind", "must be \"picture\", \"flash\" or an integer");
}

// The item's data; an item without a file has none (as in a package stored
// as resources), and the player shows nothing for it.
std::vector<uint8_t> ReadItemData(ManifestFields& m, int32_t kind) {
    if (!m.has("file")) {
        m.warn("file", "is not given; the item has no data");
        return {};
    }
    std::vector<uint8_t> data = *m.fileBytes("file", kMaxDataSize);
    if (kind == ShowItem::Picture)
        if (const std::string problem = NotAPicture(data); !problem.empty())
            m.warn("file", problem + "; the player cannot show it");
    if (kind == ShowItem::Flash && !IsFlashMovie(data))
        m.warn("file", "is not a Flash movie (SWF); the player cannot play it");
    return data;
}

void ReadItem(ManifestFields& m, PackageDescription& d, LabelGroup& labels) {
    const ScreenSaverInfo& info = d.info;
    PackageItemSource source;
    ShowItem& item = source.record;
    item.kind = ReadItemKind(m);
    source.data = ReadItemData(m, item.kind);

    item.displaySeconds = m.word("display_seconds", kItemSeconds, info.defaultDisplaySeconds());
    item.transitionEffect = m.word("transition_effect", kEffect, info.defaultTransitionEffect());
    item.transitionStep = m.word("transition_step", kStep, info.defaultTransitionStep());
    item.transitionDelay = m.word("transition_delay", kDelay, info.defaultTransitionDelay());
    item.exitEffect = m.word("exit_effect", kEffect, info.defaultExitEffect());
    item.exitStep = m.word("exit_step", kStep, info.defaultExitStep());
    item.exitDelay = m.word("exit_delay", kDelay, info.defaultExitDelay());
    item.fixedPosition = static_cast<uint8_t>(m.flag("fixed_position", info.placementMode() == 0));
    item.left = m.word("left", kCoordinate, 0);
    item.top = m.word("top", kCoordinate, 0);
    item.width = m.word("width", kItemSize, 0);
    item.height = m.word("height", kItemSize, 0);
    item.pinned = m.flag("pinned", false, FlagWidth::Word);
    if (const auto reserved = m.hexBytes("reserved", item.reserved.size()))
        std::copy(reserved->begin(), reserved->end(), item.reserved.begin());
    for (ManifestFields& label : m.objects("labels"))
        labels.push_back(ReadLabel(label));
    m.finish();
    d.items.push_back(std::move(source));
}

// The track's record: its extension, from the file name unless given, and
// the resource name a package stored as resources keeps it under.
MusicItem ReadTrackRecord(ManifestFields& t, const fs::path& path) {
    MusicItem::Bytes bytes{};
    if (t.has("extension")) {
        StoreField(&bytes[0], MusicItem::kFieldSize, t.fieldText("extension", MusicItem::kFieldSize));
    } else {
        const std::string extension = ExtractFileExt(path.filename().string());
        if (!IsPlainTrackExtension(extension))
            t.fail("file", "needs an extension of a dot and 1 to 6 letters or digits, or give \"extension\"");
        StoreField(&bytes[0], MusicItem::kFieldSize, extension);
    }
    StoreField(&bytes[MusicItem::kFieldSize], MusicItem::kFieldSize,
               t.fieldText("resource_name", MusicItem::kFieldSize));
    return MusicItem::Parse(bytes.data());
}

void ReadTracks(ManifestFields& m, PackageDescription& d) {
    std::vector<std::string> names;
    bool anyName = false;
    for (ManifestFields& t : m.objects("tracks")) {
        if (!t.has("file")) t.fail("file", "is required");
        const fs::path path = *t.file("file");
        PackageTrackSource track;
        track.record = ReadTrackRecord(t, path);
        track.data = *t.fileBytes("file", kMaxDataSize);
        if (track.data.empty()) t.warn("file", "is empty; the player plays nothing for it");
        RequireLevel(t, "name", d.info.formatLevel(), 4);
        anyName = anyName || t.has("name");
        const std::string fileName = ToCodePageStrict(path.filename().string(), t.keyPath("file"));
        names.push_back(t.text("name", kMaxMusicName, fileName));
        if (names.back().find_first_of("\r\n") != std::string::npos)
            t.fail("name", "must not hold a line break");
        t.finish();
        d.tracks.push_back(std::move(track));
    }
    if (anyName) d.musicNames = std::move(names);
}

} // namespace

Result<PackageDescription> LoadPackageManifest(const std::string& path, std::vector<std::string>* warnings,
                                               const LanguageTableTexts& defaultTables) {
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw ManifestError("cannot read " + path);
        json manifest;
        try {
            manifest = json::parse(in);
        } catch (const json::exception& e) {
            throw ManifestError(path + ": not valid JSON: " + e.what());
        }
        PackageDescription d;
        std::vector<std::string> notes;
        ManifestFields m(manifest, "", fs::path(path).parent_path(), &notes);
        ReadPackageSettings(m, d, defaultTables);
        std::vector<ManifestFields> items = m.objects("items");
        for (ManifestFields& item : items) {
            LabelGroup labels;
            ReadItem(item, d, labels);
            d.labels.AppendGroupCopy(labels);
        }
        ReadTracks(m, d);
        m.finish();
        if (warnings) *warnings = std::move(notes);
        return d;
    } catch (const ManifestError& e) {
        return Failure{e.what()};
    }
}

} // namespace scr
