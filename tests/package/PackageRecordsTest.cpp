#include "package/PackageRecords.h"

#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace scr {
namespace {

// Bytes 0, 1, 2, ... so that every field and reserved byte has a distinct value.
std::vector<uint8_t> Pattern(std::size_t size) {
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{7});
    return bytes;
}

template <typename Record>
std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& in) {
    std::vector<uint8_t> out(Record::kSize, 0xEE);
    Record::Parse(in.data()).Serialize(out.data());
    return out;
}

TEST(PackageRecords, EveryRecordRoundTripsByteExactIncludingReservedBytes) {
    EXPECT_EQ(RoundTrip<ScreenSaverInfo>(Pattern(380)), Pattern(380));
    EXPECT_EQ(RoundTrip<ShowItem>(Pattern(56)), Pattern(56));
    EXPECT_EQ(RoundTrip<MusicItem>(Pattern(16)), Pattern(16));
    EXPECT_EQ(RoundTrip<AuthorInfo>(Pattern(128)), Pattern(128));
    EXPECT_EQ(RoundTrip<ItemLocation>(Pattern(8)), Pattern(8));
    EXPECT_EQ(RoundTrip<PackageExtension>(Pattern(20)), Pattern(20));
}

TEST(PackageRecords, InfoFieldsSitAtTheirOffsets) {
    ScreenSaverInfo info;
    info.setItemCount(0x01020304);
    info.setFormatLevel(5);
    info.setPlacementMode(3);
    info.setPackageKind('E');
    info.setBackgroundColor(0x00FF8040);
    ASSERT_TRUE(info.setDescription("Hello"));
    const auto& b = info.bytes();
    EXPECT_EQ(b[36], 0x04);
    EXPECT_EQ(b[39], 0x01);
    EXPECT_EQ(b[84], 5);
    EXPECT_EQ(b[105], 3);
    EXPECT_EQ(b[117], 'E');
    EXPECT_EQ(b[60], 0x40);
    EXPECT_EQ(b[122], 'H');
    EXPECT_EQ(info.description(), "Hello");
    EXPECT_FALSE(info.setDescription(std::string(258, 'x')));
    EXPECT_TRUE(info.setDescription(std::string(257, 'x')));
}

TEST(PackageRecords, ShowItemFieldOffsets) {
    ShowItem item;
    item.displaySeconds = 1;
    item.fixedPosition = 9;
    item.left = 0x11;
    item.kind = 1;
    item.pinned = 0x22;
    std::vector<uint8_t> out(56);
    item.Serialize(out.data());
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[28], 9);
    EXPECT_EQ(out[32], 0x11);
    EXPECT_EQ(out[48], 1);
    EXPECT_EQ(out[52], 0x22);
}

TEST(PackageRecords, FixedTextStopsAtNulOrFieldEnd) {
    const uint8_t full[4] = {'a', 'b', 'c', 'd'};
    const uint8_t cut[4] = {'a', 0, 'c', 'd'};
    EXPECT_EQ(FixedText(full, 4), "abcd");
    EXPECT_EQ(FixedText(cut, 4), "a");
}

TEST(PackageRecords, LocatorWritesMarkerAndParsesIt) {
    LabelBlockLocator locator{false, 123, 456};
    std::vector<uint8_t> out(24);
    locator.Serialize(out.data());
    const auto back = LabelBlockLocator::Parse(out.data());
    EXPECT_TRUE(back.markerMatches);
    EXPECT_EQ(back.labelOffset, 123);
    EXPECT_EQ(back.labelSize, 456);
    out[3] = 'X';
    EXPECT_FALSE(LabelBlockLocator::Parse(out.data()).markerMatches);
}

TEST(PackageRecords, TruncationClampsInsteadOfOverflowing) {
    EXPECT_EQ(TruncToInt32(-1.9), -1);
    EXPECT_EQ(TruncToInt32(1e300), INT32_MAX);
    EXPECT_EQ(TruncToInt32(-1e300), INT32_MIN);
    EXPECT_EQ(OffsetTrunc(32, -0.5), 32);
    EXPECT_EQ(OffsetTrunc(INT32_MAX, 10.0), INT32_MAX);
}

} // namespace
} // namespace scr
