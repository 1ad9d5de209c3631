#pragma once
// Text labels of a package: the 64-byte label record with its text, groups of
// labels (one group per show item) and the stored label stream.
//
// Label stream (unscrambled):
//   "PLENVLABELSTART\0" (16 bytes), GroupCount N, GroupCheck N + 888,
//   then per group: LabelCount M, LabelCheck M + 999,
//   then per label: the 64-byte record and TextLength bytes of text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scr {

inline constexpr int32_t kGroupCheckOffset = 888;
inline constexpr int32_t kLabelCheckOffset = 999;

// Bits of LabelRecord::fontStyle.
enum LabelFontStyle : uint8_t { LabelBold = 1, LabelItalic = 2, LabelUnderline = 4, LabelStrikeOut = 8 };

// The 64-byte stored label record. Reserved bytes are carried unchanged.
struct LabelRecord {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kFontNameSize = 32;

    std::array<uint8_t, kFontNameSize> fontName{}; // NUL-terminated code-page text
    int32_t fontSize = 0;                          // points
    uint8_t fontStyle = 0;                         // LabelFontStyle bits
    std::array<uint8_t, 3> reserved1{};
    uint32_t textColor = 0; // COLORREF
    uint8_t transparent = 0;
    std::array<uint8_t, 3> reserved2{};
    uint32_t backColor = 0; // COLORREF, used when not transparent
    int32_t centerX = 0;    // design-screen pixels
    int32_t centerY = 0;
    int32_t textLength = 0; // text bytes that follow in the stream

    static LabelRecord Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const;

    std::string fontNameText() const;
    std::string fontNameUtf8() const;
    // False (unchanged) when the name does not fit 31 bytes.
    bool setFontName(std::string_view name);

    bool operator==(const LabelRecord&) const = default;
};

// One label: its record and its own text (code-page bytes).
class LabelItem {
public:
    LabelItem() = default;
    explicit LabelItem(const LabelRecord& record, std::string_view text = {});

    const LabelRecord& record() const { return record_; }
    LabelRecord& record() { return record_; }
    // The text up to its first NUL; empty when the label has none.
    const std::string& text() const { return text_; }
    std::string textUtf8() const;
    // Replaces the text (cut at a NUL) and sets the record's TextLength to its length.
    void setText(std::string_view text);

    bool operator==(const LabelItem&) const = default;

private:
    LabelRecord record_;
    std::string text_;
};

// The labels of one show item, in order.
using LabelGroup = std::vector<LabelItem>;

// The label groups of a package, one per item in item order. Copies are deep.
class LabelGroupList {
public:
    // Replaces the whole list with the groups read from an unscrambled label
    // stream. A missing marker or wrong GroupCheck gives an empty list; a wrong
    // LabelCheck, a TextLength beyond the remaining data or the end of the data
    // stops reading and keeps the groups that were complete.
    void LoadLabelStream(std::span<const uint8_t> stream);

    // Makes the list hold exactly n groups (empty ones added at the end, or
    // the last ones removed).
    void MatchGroupCount(int n);
    // Removes one group; an index out of range does nothing.
    void DeleteGroup(int index);
    // FontSize = trunc(size * f), CenterX = dx + trunc(f * x), CenterY = dy + trunc(f * y).
    void ScaleLabels(int dx, int dy, double f);
    void Clear() { groups_.clear(); }

    int GroupCount() const { return static_cast<int>(groups_.size()); }
    // nullptr when out of range.
    const LabelGroup* Group(int index) const;
    LabelGroup* Group(int index);
    void AppendGroupCopy(const LabelGroup& group) { groups_.push_back(group); }

    const std::vector<LabelGroup>& groups() const { return groups_; }
    bool operator==(const LabelGroupList&) const = default;

private:
    std::vector<LabelGroup> groups_;
};

// Accessors in the style of the rest of the program: a null group counts 0 labels,
// an index out of range gives nullptr, a null label has an empty text.
int LabelCount(const LabelGroup* group);
const LabelItem* Label(const LabelGroup* group, int index);
std::string LabelText(const LabelItem* label);
void AppendLabelCopy(LabelGroup& group, const LabelItem& label);

// The unscrambled label stream of a list; LoadLabelStream reads it back unchanged.
std::vector<uint8_t> WriteLabelStream(const LabelGroupList& list);

} // namespace scr
