#include "package/DescriptionDifferences.h"

#include "package/ManifestFields.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <cstdio>
#include <span>

namespace scr {
namespace {

// How a stored field is shown when it differs.
enum class FieldKind { Number, Colour, Text };

// A field of a record's stored bytes, named by its manifest key.
struct RecordField {
    const char* key;
    std::size_t offset;
    std::size_t size;
    FieldKind kind;
};

constexpr RecordField kInfoFields[] = {
    {"default_display_seconds", 40, 4, FieldKind::Number},
    {"default_transition_step", 44, 4, FieldKind::Number},
    {"default_transition_delay", 48, 4, FieldKind::Number},
    {"default_exit_step", 52, 4, FieldKind::Number},
    {"default_exit_delay", 56, 4, FieldKind::Number},
    {"background_color", 60, 4, FieldKind::Colour},
    {"random_order", 64, 1, FieldKind::Number},
    {"author (its presence flag)", 65, 1, FieldKind::Number},
    {"design_width", 68, 4, FieldKind::Number},
    {"no_saving", 76, 1, FieldKind::Number},
    {"format_level", 84, 4, FieldKind::Number},
    {"placement_mode", 105, 1, FieldKind::Number},
    {"ignore_mouse_move", 106, 1, FieldKind::Number},
    {"default_transition_effect", 108, 4, FieldKind::Number},
    {"default_exit_effect", 112, 4, FieldKind::Number},
    {"kind", 117, 1, FieldKind::Number},
    {"description", kDescriptionOffset, ScreenSaverInfo::kDescriptionSize, FieldKind::Text},
    {"reserved (bytes 32..35)", 32, 4, FieldKind::Text},
    {"reserved (bytes 66..67)", 66, 2, FieldKind::Text},
    {"reserved (bytes 77..83)", 77, 7, FieldKind::Text},
    {"reserved (bytes 88..104)", 88, 17, FieldKind::Text},
    {"reserved (byte 107)", 107, 1, FieldKind::Text},
    {"reserved (byte 116)", 116, 1, FieldKind::Text},
    {"reserved (bytes 118..121)", 118, 4, FieldKind::Text},
};

constexpr RecordField kItemFields[] = {
    {"display_seconds", 0, 4, FieldKind::Number},
    {"transition_effect", 4, 4, FieldKind::Number},
    {"transition_step", 8, 4, FieldKind::Number},
    {"transition_delay", 12, 4, FieldKind::Number},
    {"exit_effect", 16, 4, FieldKind::Number},
    {"exit_step", 20, 4, FieldKind::Number},
    {"exit_delay", 24, 4, FieldKind::Number},
    {"fixed_position", 28, 1, FieldKind::Number},
    {"reserved", 29, 3, FieldKind::Text},
    {"left", 32, 4, FieldKind::Number},
    {"top", 36, 4, FieldKind::Number},
    {"width", 40, 4, FieldKind::Number},
    {"height", 44, 4, FieldKind::Number},
    {"kind", 48, 4, FieldKind::Number},
    {"pinned", 52, 4, FieldKind::Number},
};

// The text length is compared with the text itself.
constexpr RecordField kLabelFields[] = {
    {"font_name", 0, 32, FieldKind::Text},
    {"font_size", 32, 4, FieldKind::Number},
    {"font_style", 36, 1, FieldKind::Number},
    {"reserved (bytes 37..39)", 37, 3, FieldKind::Text},
    {"text_color", 40, 4, FieldKind::Colour},
    {"transparent", 44, 1, FieldKind::Number},
    {"reserved (bytes 45..47)", 45, 3, FieldKind::Text},
    {"back_color", 48, 4, FieldKind::Colour},
    {"center_x", 52, 4, FieldKind::Number},
    {"center_y", 56, 4, FieldKind::Number},
};

constexpr RecordField kTrackFields[] = {
    {"extension", 0, MusicItem::kFieldSize, FieldKind::Text},
    {"resource_name", MusicItem::kFieldSize, MusicItem::kFieldSize, FieldKind::Text},
};

std::string FieldValue(const uint8_t* field, const RecordField& f) {
    if (f.size == 1) return std::to_string(field[0]);
    const int32_t value = ReadLE32(field);
    if (f.kind == FieldKind::Number) return std::to_string(value);
    char text[12];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(value));
    return text;
}

template <typename Record>
std::vector<uint8_t> StoredBytes(const Record& record) {
    std::vector<uint8_t> bytes(Record::kSize);
    record.Serialize(bytes.data());
    return bytes;
}

class DifferenceList {
public:
    void add(const std::string& what) { out_.push_back(what); }
    void add(bool different, const std::string& what) {
        if (different) out_.push_back(what);
    }
    // "items: 3 -> 2"
    void count(const std::string& what, std::size_t a, std::size_t b) {
        add(a != b, what + ": " + std::to_string(a) + " -> " + std::to_string(b));
    }
    void records(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                 std::span<const RecordField> fields, const std::string& prefix) {
        for (const RecordField& f : fields) {
            const uint8_t* x = a.data() + f.offset;
            const uint8_t* y = b.data() + f.offset;
            if (std::equal(x, x + f.size, y)) continue;
            const std::string name = prefix + f.key;
            add(f.kind == FieldKind::Text ? name
                                          : name + ": " + FieldValue(x, f) + " -> " + FieldValue(y, f));
        }
    }
    std::vector<std::string> take() { return std::move(out_); }

private:
    std::vector<std::string> out_;
};

std::string Indexed(const std::string& list, std::size_t index) {
    return list + "[" + std::to_string(index) + "]";
}

void CompareLabels(const LabelGroup& a, const LabelGroup& b, const std::string& item, DifferenceList& out) {
    const std::string labels = item + ".labels";
    out.count(labels, a.size(), b.size());
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const std::string label = Indexed(labels, i);
        out.records(StoredBytes(a[i].record()), StoredBytes(b[i].record()), kLabelFields, label + ".");
        out.add(a[i].text() != b[i].text(), label + ".text");
    }
}

void CompareItems(const PackageDescription& a, const PackageDescription& b, DifferenceList& out) {
    out.count("items", a.items.size(), b.items.size());
    LabelGroupList labelsA = a.labels, labelsB = b.labels;
    labelsA.MatchGroupCount(static_cast<int>(a.items.size()));
    labelsB.MatchGroupCount(static_cast<int>(b.items.size()));
    for (std::size_t i = 0; i < std::min(a.items.size(), b.items.size()); ++i) {
        const std::string item = Indexed("items", i);
        out.records(StoredBytes(a.items[i].record), StoredBytes(b.items[i].record), kItemFields, item + ".");
        out.add(a.items[i].data != b.items[i].data, item + ": its data");
        CompareLabels(*labelsA.Group(static_cast<int>(i)), *labelsB.Group(static_cast<int>(i)), item, out);
    }
}

void CompareTracks(const PackageDescription& a, const PackageDescription& b, DifferenceList& out) {
    out.count("tracks", a.tracks.size(), b.tracks.size());
    for (std::size_t i = 0; i < std::min(a.tracks.size(), b.tracks.size()); ++i) {
        const std::string track = Indexed("tracks", i);
        const auto& recordA = a.tracks[i].record.bytes();
        const auto& recordB = b.tracks[i].record.bytes();
        out.records({recordA.begin(), recordA.end()}, {recordB.begin(), recordB.end()}, kTrackFields,
                    track + ".");
        out.add(a.tracks[i].data != b.tracks[i].data, track + ": its data");
    }
    if (a.musicNames.size() != b.musicNames.size() || a.tracks.size() != b.tracks.size()) {
        out.add(a.musicNames != b.musicNames, "the track names");
        return;
    }
    for (std::size_t i = 0; i < a.musicNames.size(); ++i)
        out.add(a.musicNames[i] != b.musicNames[i], Indexed("tracks", i) + ".name");
}

} // namespace

std::vector<std::string> DescriptionDifferences(const PackageDescription& a, const PackageDescription& b) {
    DifferenceList out;
    out.add(a.name != b.name, "name");
    const auto& infoA = a.info.bytes();
    const auto& infoB = b.info.bytes();
    out.records({infoA.begin(), infoA.end()}, {infoB.begin(), infoB.end()}, kInfoFields, "");
    out.add(a.info.hasAuthorInfo() && b.info.hasAuthorInfo() && a.author != b.author, "author");

    CompareItems(a, b, out);
    CompareTracks(a, b, out);

    const RecordField extension[] = {{"design_height", 0, 4, FieldKind::Number},
                                     {"opacity_percent", 8, 4, FieldKind::Number},
                                     {"keep_cursor", 12, 4, FieldKind::Number}};
    out.records(StoredBytes(a.extension), StoredBytes(b.extension), extension, "");
    out.add(a.background != b.background, "background");
    out.add(a.licenseText != b.licenseText, "license");
    out.add(a.dynamicTexts != b.dynamicTexts, "dynamic_texts");
    out.add(a.staticCaptions != b.staticCaptions, "static_captions");
    return out.take();
}

} // namespace scr
