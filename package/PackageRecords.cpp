#include "package/PackageRecords.h"

#include "package/PackageTrailer.h"
#include "platform/CodePage.h"
#include "platform/ReadOnlyFile.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace scr {

std::string FixedText(const uint8_t* field, std::size_t width) {
    const auto* begin = reinterpret_cast<const char*>(field);
    const void* nul = std::memchr(begin, 0, width);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : width;
    return std::string(begin, length);
}

bool SetFixedText(uint8_t* field, std::size_t width, std::string_view text) {
    if (text.size() + 1 > width) return false;
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), text.size());
    return true;
}

int32_t TruncToInt32(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), double(INT32_MIN), double(INT32_MAX)));
}

int32_t OffsetTrunc(int32_t offset, double value) {
    return TruncToInt32(static_cast<double>(offset) + static_cast<double>(TruncToInt32(value)));
}

ScreenSaverInfo ScreenSaverInfo::Parse(const uint8_t* data) {
    ScreenSaverInfo info;
    std::memcpy(info.bytes_.data(), data, kSize);
    return info;
}

bool ScreenSaverInfo::signatureMatches() const {
    return SignatureMatches(bytes_.data());
}

void ScreenSaverInfo::setSignature() {
    SetFixedText(bytes_.data(), kSignatureFieldSize, kPackageSignature);
}

std::string ScreenSaverInfo::descriptionUtf8() const {
    return DecodeCodePage(description());
}

int32_t ScreenSaverInfo::i32(std::size_t offset) const {
    return ReadLE32(&bytes_[offset]);
}

void ScreenSaverInfo::setI32(std::size_t offset, int32_t value) {
    WriteLE32(&bytes_[offset], value);
}

namespace {

// The 32-bit fields of ShowItem in stored order, with their offsets. The byte
// fields (FixedPosition and its reserved bytes) are handled separately.
struct ShowItemField {
    std::size_t offset;
    int32_t ShowItem::*member;
};
constexpr ShowItemField kShowItemFields[] = {
    {0, &ShowItem::displaySeconds}, {4, &ShowItem::transitionEffect},
    {8, &ShowItem::transitionStep}, {12, &ShowItem::transitionDelay},
    {16, &ShowItem::exitEffect},    {20, &ShowItem::exitStep},
    {24, &ShowItem::exitDelay},     {32, &ShowItem::left},
    {36, &ShowItem::top},           {40, &ShowItem::width},
    {44, &ShowItem::height},        {48, &ShowItem::kind},
    {52, &ShowItem::pinned},
};

struct ExtensionField {
    std::size_t offset;
    int32_t PackageExtension::*member;
};
constexpr ExtensionField kExtensionFields[] = {
    {0, &PackageExtension::designHeight},    {4, &PackageExtension::musicNamesSize},
    {8, &PackageExtension::opacityPercent},  {12, &PackageExtension::keepCursor},
    {16, &PackageExtension::backgroundSize},
};

} // namespace

ShowItem ShowItem::Parse(const uint8_t* data) {
    ShowItem item;
    for (const auto& field : kShowItemFields)
        item.*field.member = ReadLE32(data + field.offset);
    item.fixedPosition = data[28];
    std::memcpy(item.reserved.data(), data + 29, item.reserved.size());
    return item;
}

void ShowItem::Serialize(uint8_t* out) const {
    for (const auto& field : kShowItemFields)
        WriteLE32(out + field.offset, this->*field.member);
    out[28] = fixedPosition;
    std::memcpy(out + 29, reserved.data(), reserved.size());
}

ShowItem NoPackageItem() {
    ShowItem item;
    item.displaySeconds = 10;
    item.transitionEffect = -1;
    item.transitionStep = 10;
    item.exitEffect = -1;
    item.exitStep = 10;
    return item;
}

MusicItem MusicItem::Parse(const uint8_t* data) {
    MusicItem item;
    std::memcpy(item.bytes_.data(), data, kSize);
    return item;
}

AuthorInfo AuthorInfo::Parse(const uint8_t* data) {
    AuthorInfo info;
    std::memcpy(info.bytes_.data(), data, kSize);
    return info;
}

std::string AuthorInfo::nameUtf8() const {
    return DecodeCodePage(name());
}
std::string AuthorInfo::emailUtf8() const {
    return DecodeCodePage(email());
}
std::string AuthorInfo::homepageUtf8() const {
    return DecodeCodePage(homepage());
}

ItemLocation ItemLocation::Parse(const uint8_t* data) {
    return {ReadLE32(data), ReadLE32(data + 4)};
}

void ItemLocation::Serialize(uint8_t* out) const {
    WriteLE32(out, offset);
    WriteLE32(out + 4, size);
}

PackageExtension PackageExtension::Parse(const uint8_t* data) {
    PackageExtension extension;
    for (const auto& field : kExtensionFields)
        extension.*field.member = ReadLE32(data + field.offset);
    return extension;
}

void PackageExtension::Serialize(uint8_t* out) const {
    for (const auto& field : kExtensionFields)
        WriteLE32(out + field.offset, this->*field.member);
}

bool LabelMarkerMatches(const uint8_t* field) {
    return std::strncmp(reinterpret_cast<const char*>(field), kLabelMarker, kLabelMarkerSize) == 0;
}

LabelBlockLocator LabelBlockLocator::Parse(const uint8_t* data) {
    return {LabelMarkerMatches(data), ReadLE32(data + 16), ReadLE32(data + 20)};
}

void LabelBlockLocator::Serialize(uint8_t* out) const {
    SetFixedText(out, kLabelMarkerSize, kLabelMarker);
    WriteLE32(out + 16, labelOffset);
    WriteLE32(out + 20, labelSize);
}

} // namespace scr
