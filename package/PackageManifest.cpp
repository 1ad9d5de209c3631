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
constexpr int64_t kMaxCoordinate = 32767;
constexpr int64_t kMaxSeconds = 86400;

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

// The bytes of a text file as a stored multi-line text.
std::string TextFile(ManifestFields& fields, const char* key, std::size_t maxBytes) {
    const auto bytes = fields.fileBytes(key, kMaxDataSize);
    if (!bytes) return {};
    const std::string text =
        WithCrLfLineEnds(ToCodePageStrict(std::string(bytes->begin(), bytes->end()), fields.keyPath(key)));
    if (text.size() > maxBytes)
        fields.fail(key, "the text is " + std::to_string(text.size()) + " bytes long, at most " +
                             std::to_string(maxBytes) + " fit");
    return text;
}

// Keys that the stored form carries only from a given format level on.
void RequireLevel(ManifestFields& fields, const char* key, int32_t level, int32_t needed) {
    if (fields.has(key) && level < needed)
        fields.fail(key, "needs format_level " + std::to_string(needed) + " or more");
}

void ReadPackageSettings(ManifestFields& m, PackageDescription& d, const LanguageTableTexts& defaultTables) {
    ScreenSaverInfo& info = d.info;
    std::string name = m.text("name", kPackageNameSize - 1);
    const auto first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string()
                                      : name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (name.empty()) m.fail("name", m.has("name") ? "must not be empty" : "is required");
    d.name = name;
    info.setDescription(m.text("description", ScreenSaverInfo::kDescriptionSize - 1, {}, true));
    info.setPackageKind(static_cast<uint8_t>(m.choice("kind", {"S", "E"}, "S")[0]));
    info.setFormatLevel(m.integer("format_level", 1, 5, 5));

    if (auto author = m.object("author")) {
        info.setHasAuthorInfo(1);
        d.author.setName(author->text("name", 31));
        d.author.setEmail(author->text("email", 31));
        d.author.setHomepage(author->text("homepage", 63));
        author->finish();
    }

    info.setDefaultDisplaySeconds(m.integer("default_display_seconds", 1, kMaxSeconds, 10));
    info.setDefaultTransitionStep(m.integer("default_transition_step", 1, 100, 10));
    info.setDefaultTransitionDelay(m.integer("default_transition_delay", 0, 65535, 0));
    info.setDefaultExitStep(m.integer("default_exit_step", 1, 100, 10));
    info.setDefaultExitDelay(m.integer("default_exit_delay", 0, 65535, 0));
    info.setDefaultTransitionEffect(m.integer("default_transition_effect", -2, 127, -1));
    info.setDefaultExitEffect(m.integer("default_exit_effect", -2, 127, -1));
    info.setBackgroundColor(m.colour("background_color", 0));
    info.setRandomOrder(m.flag("random_order", false));
    info.setNoSaving(m.flag("no_saving", false));
    info.setPlacementMode(static_cast<uint8_t>(m.integer("placement_mode", 0, 3, 0)));
    info.setIgnoreMouseMove(m.flag("ignore_mouse_move", false));
    info.setDesignWidth(m.integer("design_width", 0, kMaxCoordinate, 0));
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
    d.extension.designHeight = m.integer("design_height", 0, kMaxCoordinate, 0);
    d.extension.opacityPercent = m.integer("opacity_percent", 0, 100, 0);
    d.extension.keepCursor = m.flag("keep_cursor", false);

    if (auto background = m.fileBytes("background", kMaxDataSize)) {
        if (const std::string problem = NotAPicture(*background); !problem.empty())
            m.fail("background", problem);
        d.background = std::move(*background);
    }
    if (m.has("license") && m.has("license_text"))
        m.fail("license_text", "cannot be given together with license");
    d.licenseText = m.has("license") ? TextFile(m, "license", kMaxLicenseLength)
                                     : m.text("license_text", kMaxLicenseLength, {}, true);
    d.dynamicTexts = TextFile(m, "dynamic_texts", kMaxDataSize);
    d.staticCaptions = TextFile(m, "static_captions", kMaxDataSize);
    if (m.flag("default_tables", true)) {
        if (!m.has("dynamic_texts")) d.dynamicTexts = defaultTables.dynamicTexts;
        if (!m.has("static_captions")) d.staticCaptions = defaultTables.staticCaptions;
    }
}

LabelItem ReadLabel(ManifestFields& l) {
    LabelRecord record;
    if (!record.setFontName(l.text("font_name", LabelRecord::kFontNameSize - 1, "Arial")))
        l.fail("font_name", "does not fit");
    record.fontSize = l.integer("font_size", 1, 1000, 12);
    const struct {
        const char* key;
        uint8_t bit;
    } styles[] = {{"bold", LabelBold},
                  {"italic", LabelItalic},
                  {"underline", LabelUnderline},
                  {"strikeout", LabelStrikeOut}};
    for (const auto& style : styles)
        if (l.flag(style.key, false)) record.fontStyle |= style.bit;
    record.textColor = l.colour("text_color", 0xFFFFFF);
    record.transparent = l.flag("transparent", true);
    record.backColor = l.colour("back_color", 0);
    record.centerX = l.integer("center_x", -kMaxCoordinate - 1, kMaxCoordinate, 0);
    record.centerY = l.integer("center_y", -kMaxCoordinate - 1, kMaxCoordinate, 0);
    if (const auto reserved = l.hexBytes("reserved", LabelRecord::kReservedSize)) {
        std::array<uint8_t, LabelRecord::kReservedSize> bytes{};
        std::copy(reserved->begin(), reserved->end(), bytes.begin());
        record.setReservedBytes(bytes);
    }
    LabelItem label(record);
    label.setText(l.text("text", 4096, {}, true));
    l.finish();
    return label;
}

int32_t ReadItemKind(ManifestFields& item) {
    const json* kind = item.value("kind");
    if (!kind || (kind->is_string() && *kind == "picture")) return ShowItem::Picture;
    if (kind->is_string() && *kind == "flash") return ShowItem::Flash;
    if (kind->is_number_integer()) return item.integer("kind", 0, INT32_MAX, 0);
    item.fail("kind", "must be \"picture\", \"flash\" or an integer");
}

void ReadItem(ManifestFields& m, PackageDescription& d, LabelGroup& labels) {
    const ScreenSaverInfo& info = d.info;
    PackageItemSource source;
    ShowItem& item = source.record;
    item.kind = ReadItemKind(m);
    if (!m.has("file")) m.fail("file", "is required");
    source.data = *m.fileBytes("file", kMaxDataSize);
    if (item.kind == ShowItem::Picture)
        if (const std::string problem = NotAPicture(source.data); !problem.empty()) m.fail("file", problem);
    if (item.kind == ShowItem::Flash && !IsFlashMovie(source.data))
        m.fail("file", "is not a Flash movie (SWF)");

    item.displaySeconds =
        m.integer("display_seconds", -kMaxSeconds, kMaxSeconds, info.defaultDisplaySeconds());
    item.transitionEffect = m.integer("transition_effect", -2, 127, info.defaultTransitionEffect());
    item.transitionStep = m.integer("transition_step", 1, 100, info.defaultTransitionStep());
    item.transitionDelay = m.integer("transition_delay", 0, 65535, info.defaultTransitionDelay());
    item.exitEffect = m.integer("exit_effect", -2, 127, info.defaultExitEffect());
    item.exitStep = m.integer("exit_step", 1, 100, info.defaultExitStep());
    item.exitDelay = m.integer("exit_delay", 0, 65535, info.defaultExitDelay());
    item.fixedPosition = m.flag("fixed_position", info.placementMode() == 0);
    item.left = m.integer("left", -kMaxCoordinate - 1, kMaxCoordinate, 0);
    item.top = m.integer("top", -kMaxCoordinate - 1, kMaxCoordinate, 0);
    item.width = m.integer("width", 0, kMaxCoordinate, 0);
    item.height = m.integer("height", 0, kMaxCoordinate, 0);
    item.pinned = m.flag("pinned", false);
    if (const auto reserved = m.hexBytes("reserved", item.reserved.size()))
        std::copy(reserved->begin(), reserved->end(), item.reserved.begin());
    for (ManifestFields& label : m.objects("labels"))
        labels.push_back(ReadLabel(label));
    m.finish();
    d.items.push_back(std::move(source));
}

void ReadTracks(ManifestFields& m, PackageDescription& d) {
    std::vector<std::string> names;
    bool anyName = false;
    for (ManifestFields& t : m.objects("tracks")) {
        if (!t.has("file")) t.fail("file", "is required");
        const fs::path path = *t.file("file");
        const std::string extension = ExtractFileExt(path.filename().string());
        if (!IsPlainTrackExtension(extension))
            t.fail("file", "needs an extension of a dot and 1 to 6 letters or digits");
        PackageTrackSource track;
        track.record.setExtension(extension);
        track.data = *t.fileBytes("file", kMaxDataSize);
        if (track.data.empty()) t.fail("file", "is empty");
        RequireLevel(t, "name", d.info.formatLevel(), 4);
        anyName = anyName || t.has("name");
        const std::string fileName = ToCodePageStrict(path.filename().string(), t.keyPath("file"));
        names.push_back(t.text("name", 255, fileName));
        t.finish();
        d.tracks.push_back(std::move(track));
    }
    if (anyName) d.musicNames = std::move(names);
}

} // namespace

bool LoadPackageManifest(const std::string& path, PackageDescription& description, std::string* error,
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
        ManifestFields m(manifest, "", fs::path(path).parent_path());
        ReadPackageSettings(m, d, defaultTables);
        std::vector<ManifestFields> items = m.objects("items");
        for (ManifestFields& item : items) {
            LabelGroup labels;
            ReadItem(item, d, labels);
            d.labels.AppendGroupCopy(labels);
        }
        ReadTracks(m, d);
        m.finish();
        description = std::move(d);
        return true;
    } catch (const ManifestError& e) {
        if (error) *error = e.what();
        return false;
    }
}

} // namespace scr
