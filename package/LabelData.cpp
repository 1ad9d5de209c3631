#include "package/LabelData.h"

#include "package/PackageRecords.h"
#include "platform/CodePage.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <cstring>

namespace scr {

LabelRecord LabelRecord::Parse(const uint8_t* data) {
    LabelRecord r;
    std::memcpy(r.fontName.data(), data, kFontNameSize);
    r.fontSize = ReadLE32(data + 32);
    r.fontStyle = data[36];
    std::memcpy(r.reserved1.data(), data + 37, 3);
    r.textColor = static_cast<uint32_t>(ReadLE32(data + 40));
    r.transparent = data[44];
    std::memcpy(r.reserved2.data(), data + 45, 3);
    r.backColor = static_cast<uint32_t>(ReadLE32(data + 48));
    r.centerX = ReadLE32(data + 52);
    r.centerY = ReadLE32(data + 56);
    r.textLength = ReadLE32(data + 60);
    return r;
}

void LabelRecord::Serialize(uint8_t* out) const {
    std::memcpy(out, fontName.data(), kFontNameSize);
    WriteLE32(out + 32, fontSize);
    out[36] = fontStyle;
    std::memcpy(out + 37, reserved1.data(), 3);
    WriteLE32(out + 40, static_cast<int32_t>(textColor));
    out[44] = transparent;
    std::memcpy(out + 45, reserved2.data(), 3);
    WriteLE32(out + 48, static_cast<int32_t>(backColor));
    WriteLE32(out + 52, centerX);
    WriteLE32(out + 56, centerY);
    WriteLE32(out + 60, textLength);
}

std::string LabelRecord::fontNameText() const {
    return FixedText(fontName.data(), kFontNameSize);
}

std::string LabelRecord::fontNameUtf8() const {
    return DecodeCodePage(fontNameText());
}

bool LabelRecord::setFontName(std::string_view name) {
    return SetFixedText(fontName.data(), kFontNameSize, name);
}

LabelItem::LabelItem(const LabelRecord& record, std::string_view text) : record_(record) {
    setText(text);
}

std::string LabelItem::textUtf8() const {
    return DecodeCodePage(text_);
}

void LabelItem::setText(std::string_view text) {
    const auto nul = text.find('\0');
    text_.assign(text.substr(0, nul));
    record_.textLength = static_cast<int32_t>(text_.size());
}

namespace {

// Sequential bounded reads over the unscrambled stream.
class StreamReader {
public:
    explicit StreamReader(std::span<const uint8_t> data) : data_(data) {}
    std::size_t remaining() const { return data_.size() - pos_; }
    const uint8_t* take(std::size_t count) {
        if (count > remaining()) return nullptr;
        const uint8_t* p = data_.data() + pos_;
        pos_ += count;
        return p;
    }
    bool int32(int32_t& value) {
        const uint8_t* p = take(4);
        if (!p) return false;
        value = ReadLE32(p);
        return true;
    }

private:
    std::span<const uint8_t> data_;
    std::size_t pos_ = 0;
};

// Reads one group; false when the check word is wrong or the data ends first.
bool ReadGroup(StreamReader& in, LabelGroup& group) {
    int32_t count = 0, check = 0;
    if (!in.int32(count) || !in.int32(check)) return false;
    if (static_cast<int64_t>(check) != static_cast<int64_t>(count) + kLabelCheckOffset) return false;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* record = in.take(LabelRecord::kSize);
        if (!record) return false;
        LabelRecord parsed = LabelRecord::Parse(record);
        const int32_t length = parsed.textLength;
        parsed.textLength = 0;
        LabelItem label(parsed);
        if (length > 0) {
            const uint8_t* text = in.take(static_cast<std::size_t>(length));
            if (!text) return false;
            label.setText(
                std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)));
        }
        group.push_back(std::move(label));
    }
    return true;
}

} // namespace

void LabelGroupList::LoadLabelStream(std::span<const uint8_t> stream) {
    groups_.clear();
    StreamReader in(stream);
    const uint8_t* marker = in.take(kLabelMarkerSize);
    if (!marker || !LabelMarkerMatches(marker)) return;
    int32_t count = 0, check = 0;
    if (!in.int32(count) || !in.int32(check)) return;
    if (static_cast<int64_t>(check) != static_cast<int64_t>(count) + kGroupCheckOffset) return;
    for (int32_t g = 0; g < count; ++g) {
        LabelGroup group;
        if (!ReadGroup(in, group)) return;
        groups_.push_back(std::move(group));
    }
}

void LabelGroupList::MatchGroupCount(int n) {
    groups_.resize(static_cast<std::size_t>(std::max(n, 0)));
}

void LabelGroupList::DeleteGroup(int index) {
    if (index < 0 || index >= GroupCount()) return;
    groups_.erase(groups_.begin() + index);
}

void LabelGroupList::ScaleLabels(int dx, int dy, double f) {
    for (auto& group : groups_) {
        for (auto& label : group) {
            LabelRecord& r = label.record();
            r.fontSize = TruncToInt32(r.fontSize * f);
            r.centerX = OffsetTrunc(dx, f * r.centerX);
            r.centerY = OffsetTrunc(dy, f * r.centerY);
        }
    }
}

const LabelGroup* LabelGroupList::Group(int index) const {
    return index >= 0 && index < GroupCount() ? &groups_[static_cast<std::size_t>(index)] : nullptr;
}

LabelGroup* LabelGroupList::Group(int index) {
    return index >= 0 && index < GroupCount() ? &groups_[static_cast<std::size_t>(index)] : nullptr;
}

int LabelCount(const LabelGroup* group) {
    return group ? static_cast<int>(group->size()) : 0;
}

const LabelItem* Label(const LabelGroup* group, int index) {
    if (!group || index < 0 || index >= LabelCount(group)) return nullptr;
    return &(*group)[static_cast<std::size_t>(index)];
}

std::string LabelText(const LabelItem* label) {
    return label ? label->text() : std::string();
}

void AppendLabelCopy(LabelGroup& group, const LabelItem& label) {
    group.push_back(label);
}

std::vector<uint8_t> WriteLabelStream(const LabelGroupList& list) {
    std::vector<uint8_t> out(kLabelMarkerSize + 8);
    SetFixedText(out.data(), kLabelMarkerSize, kLabelMarker);
    WriteLE32(out.data() + 16, list.GroupCount());
    WriteLE32(out.data() + 20, list.GroupCount() + kGroupCheckOffset);
    for (const auto& group : list.groups()) {
        const std::size_t at = out.size();
        out.resize(at + 8);
        const auto count = static_cast<int32_t>(group.size());
        WriteLE32(out.data() + at, count);
        WriteLE32(out.data() + at + 4, count + kLabelCheckOffset);
        for (const auto& label : group) {
            LabelRecord record = label.record();
            record.textLength = static_cast<int32_t>(label.text().size());
            const std::size_t r = out.size();
            out.resize(r + LabelRecord::kSize);
            record.Serialize(out.data() + r);
            out.insert(out.end(), label.text().begin(), label.text().end());
        }
    }
    return out;
}

} // namespace scr
