#include "package/BitmapFiles.h"
#include "package/JpegCodec.h"
#include "package/StretchBitmap.h"
#include "platform/ReadOnlyFile.h"
#include "tests/package/PackageFixture.h"
#include "tests/support/LargeJpeg.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace scr::test {
namespace {

// Decoding limits that bound the size of the picture that comes out.
DecodeLimits SizeLimit(int width, int height) {
    DecodeLimits limits;
    limits.maxWidth = width;
    limits.maxHeight = height;
    return limits;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(
            worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

TEST(JpegCodec, EncodeDecodeKeepsThePicture) {
    const Bitmap24 original = MakeGradient(64, 48);
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(EncodeJpeg(original, 95, jpeg));
    Bitmap24 decoded;
    ASSERT_TRUE(DecodeJpeg(jpeg, JpegFull, decoded));
    ASSERT_EQ(decoded.width(), 64);
    ASSERT_EQ(decoded.height(), 48);
    for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {32, 24}, {63, 47}})
        EXPECT_LE(ChannelDistance(decoded.pixel(x, y), original.pixel(x, y)), 12) << x << "," << y;
    int width = 0, height = 0;
    ASSERT_TRUE(ReadJpegSize(jpeg, width, height));
    EXPECT_EQ(width, 64);
}

TEST(JpegCodec, QualityChangesTheSize) {
    std::vector<uint8_t> low, high;
    ASSERT_TRUE(EncodeJpeg(MakeGradient(200, 200), 20, low));
    ASSERT_TRUE(EncodeJpeg(MakeGradient(200, 200), 95, high));
    EXPECT_LT(low.size(), high.size());
    EXPECT_FALSE(EncodeJpeg(Bitmap24(), 90, low));
}

TEST(JpegCodec, BadInputFailsAndLeavesTheBitmapAlone) {
    const auto jpeg = MakeJpeg(40, 30);
    Bitmap24 target(2, 2);
    target.fill(0x123456);
    const std::vector<std::vector<uint8_t>> bad = {{},
                                                   {0xFF, 0xD8},
                                                   std::vector<uint8_t>(100, 0x55),
                                                   std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20)};
    for (const auto& data : bad) {
        EXPECT_FALSE(DecodeJpeg(data, JpegFull, target));
        EXPECT_EQ(target.width(), 2);
        EXPECT_EQ(target.pixel(1, 1), 0x123456u);
    }
    EXPECT_FALSE(DecodeJpeg(jpeg, 4, target));
    EXPECT_FALSE(DecodeJpeg(jpeg, -1, target));
    // A picture cut short after its header still decodes, as the library allows.
    EXPECT_TRUE(DecodeJpeg(std::vector<uint8_t>(jpeg.begin(), jpeg.end() - 200), JpegFull, target));
}

TEST(JpegCodec, PixelLimitRefusesGiantHeaders) {
    const auto jpeg = MakeJpeg(100, 100);
    Bitmap24 target;
    DecodeLimits limits;
    limits.maxPixels = 9999;
    EXPECT_FALSE(DecodeJpeg(jpeg, JpegEighth, target, limits));
    limits.maxPixels = 10000;
    EXPECT_TRUE(DecodeJpeg(jpeg, JpegEighth, target, limits));
    EXPECT_EQ(target.width(), 13); // one eighth, rounded up
}

// Pictures larger than the size limit come out reduced by the library's DCT
// scaling to the largest eighth that fits; the aspect ratio stays.
TEST(JpegCodec, SizeLimitPicksTheLargestEighthThatFits) {
    const auto jpeg = test::MakeUniformJpeg(4000, 3000, 0x204080);
    const DecodeLimits limit = SizeLimit(3840, 2160);
    Bitmap24 target;
    ASSERT_TRUE(DecodeJpeg(jpeg, JpegFull, target, limit));
    EXPECT_EQ(target.width(), 2500); // 5/8: 6/8 would be 2250 rows high
    EXPECT_EQ(target.height(), 1875);
    // A smaller scale asked for is kept.
    ASSERT_TRUE(DecodeJpeg(jpeg, JpegQuarter, target, limit));
    EXPECT_EQ(target.width(), 1000);
    EXPECT_EQ(target.height(), 750);
}

TEST(JpegCodec, PictureThatFitsIsDecodedAtTheScaleAskedFor) {
    const auto jpeg = test::MakeUniformJpeg(3840, 2160, 0x204080);
    const DecodeLimits limit = SizeLimit(3840, 2160);
    Bitmap24 target;
    ASSERT_TRUE(DecodeJpeg(jpeg, JpegFull, target, limit));
    EXPECT_EQ(target.width(), 3840);
    EXPECT_EQ(target.height(), 2160);
}

// Beyond eight times the limit the one-eighth rows are averaged down while
// they are read: a 20000 x 20000 picture never exists at more than a row of
// blocks, and the result still fits.
TEST(JpegCodec, HugePictureIsReducedBeyondOneEighth) {
    const auto jpeg = test::MakeUniformJpeg(20000, 20000, 0x2080C0);
    ASSERT_FALSE(jpeg.empty());
    const DecodeLimits limit = SizeLimit(3840, 2160);
    Bitmap24 target;
    ASSERT_TRUE(DecodeJpeg(jpeg, JpegFull, target, limit));
    EXPECT_LE(target.width(), 3840);
    EXPECT_LE(target.height(), 2160);
    EXPECT_GE(target.height(), 2160 / 2);
    EXPECT_EQ(target.width(), target.height());
    const uint32_t c = target.pixel(target.width() / 2, target.height() / 2);
    EXPECT_NEAR(static_cast<int>(c & 0xFF), 0xC0, 3);
    EXPECT_NEAR(static_cast<int>((c >> 8) & 0xFF), 0x80, 3);
    EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 0x20, 3);
}

TEST(BitmapFiles, BmpIsBottomUpWithPaddedRows) {
    Bitmap24 bitmap(3, 2);
    bitmap.setPixel(0, 0, 0x0000FF); // top-left red
    bitmap.setPixel(2, 1, 0xFF0000); // bottom-right blue
    const auto bmp = EncodeBmp(bitmap);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(ReadLE32(&bmp[2]), static_cast<int32_t>(bmp.size()));
    EXPECT_EQ(ReadLE32(&bmp[10]), 54);
    EXPECT_EQ(ReadLE32(&bmp[18]), 3);
    EXPECT_EQ(ReadLE32(&bmp[22]), 2);
    EXPECT_EQ(bmp[28], 24);
    // First stored row is the bottom one: its last pixel is blue (B, G, R order).
    EXPECT_EQ(bmp[54 + 6], 0xFF);
    EXPECT_EQ(bmp[54 + 8], 0x00);
    // Second stored row (the top one) starts with red.
    EXPECT_EQ(bmp[54 + 12 + 2], 0xFF);
}

TEST(BitmapFiles, SaveChoosesTheFormatByExtension) {
    TempDir dir;
    const Bitmap24 bitmap = MakeGradient(8, 8);
    const std::pair<const char*, char> cases[] = {{"a.bmp", 'B'},     {"b.BMP", 'B'},    {"c.jpg", '\xFF'},
                                                  {"d.JPEG", '\xFF'}, {"e.jpe", '\xFF'}, {"f.png", 0},
                                                  {"g", 0},           {"h.jpg.txt", 0}};
    for (const auto& [name, first] : cases) {
        const bool saved = SaveBitmapByExtension(bitmap, dir.file(name), 75);
        EXPECT_EQ(saved, first != 0) << name;
        const auto bytes = ReadFile(dir.file(name));
        if (first) {
            ASSERT_FALSE(bytes.empty()) << name;
            EXPECT_EQ(static_cast<char>(bytes[0]), first) << name;
        } else {
            EXPECT_TRUE(bytes.empty()) << name;
        }
    }
    EXPECT_FALSE(SaveBitmapByExtension(Bitmap24(), dir.file("empty.bmp"), 75));
    EXPECT_FALSE(SaveBitmapByExtension(bitmap, dir.file("no/such/dir.bmp"), 75));
}

TEST(StretchBitmap, ResamplesToExactlyTheTargetSize) {
    const std::pair<int, int> targets[] = {{1, 1}, {7, 3}, {50, 50}, {200, 13}, {33, 120}};
    for (auto [w, h] : targets) {
        Bitmap24 bitmap = MakeGradient(40, 30);
        StretchBitmap(bitmap, w, h);
        EXPECT_EQ(bitmap.width(), w);
        EXPECT_EQ(bitmap.height(), h);
    }
}

TEST(StretchBitmap, ShrinkingAveragesAreas) {
    Bitmap24 checker(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0x000000);
    StretchBitmap(checker, 2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_LE(ChannelDistance(checker.pixel(x, y), 0x808080), 1);
    // A non-integer ratio (3 -> 2): each target pixel is 2/3 of one source pixel and 1/3 of the next.
    Bitmap24 row(3, 1);
    row.setPixel(0, 0, 0x000000);
    row.setPixel(1, 0, 0x0000FF);
    row.setPixel(2, 0, 0x000000);
    StretchBitmap(row, 2, 1);
    EXPECT_LE(ChannelDistance(row.pixel(0, 0), 0x000055), 1);
    EXPECT_LE(ChannelDistance(row.pixel(1, 0), 0x000055), 1);
}

TEST(StretchBitmap, EnlargingInterpolatesSmoothly) {
    Bitmap24 two(2, 1);
    two.setPixel(0, 0, 0x000000);
    two.setPixel(1, 0, 0x0000FF);
    StretchBitmap(two, 8, 1);
    int previous = -1;
    for (int x = 0; x < 8; ++x) {
        const int red = static_cast<int>(two.pixel(x, 0) & 0xFF);
        EXPECT_GE(red, previous);
        previous = red;
    }
    EXPECT_EQ(two.pixel(0, 0) & 0xFF, 0u);
    EXPECT_EQ(two.pixel(7, 0) & 0xFF, 255u);
    EXPECT_GT(two.pixel(3, 0) & 0xFF, 60u);
    EXPECT_LT(two.pixel(3, 0) & 0xFF, 200u);
    Bitmap24 flat(3, 3);
    flat.fill(0x336699);
    StretchBitmap(flat, 10, 2);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(flat.pixel(x, 1), 0x336699u);
}

TEST(StretchBitmap, NothingToDo) {
    Bitmap24 bitmap = MakeGradient(5, 4);
    const Bitmap24 original = bitmap;
    for (auto [w, h] : {std::pair{0, 3}, {3, -1}, {5, 4}}) {
        StretchBitmap(bitmap, w, h);
        EXPECT_EQ(bitmap, original);
    }
}

} // namespace
} // namespace scr::test
