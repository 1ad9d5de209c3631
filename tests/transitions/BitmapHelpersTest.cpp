#include "transitions/BitmapHelpers.h"

#include "TestPictures.h"
#include "transitions/BitmapBlit.h"
#include "transitions/RegionShapes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <tuple>

namespace scr {
namespace {

constexpr PixelOptions kPixels{};

using test::CoordinateColour;
using test::CoordinatePicture;
using test::Uniform;

constexpr uint32_t kBlank = 0x123456;

TEST(MergeTransparent, EachProductIsTruncatedSeparately) {
    Bitmap24 dest = Uniform(7, 3, 0xC8C8C8);
    const Bitmap24 source = Uniform(7, 3, 0x646464);
    MergeTransparent(kPixels, dest, source, 30);
    EXPECT_EQ(dest, Uniform(7, 3, 0xAAAAAA)); // 200 * 70 / 100 + 100 * 30 / 100 = 140 + 30 = 170
    // 255 at 33 %: 255 * 67 / 100 = 170 (170.85) and 255 * 33 / 100 = 84 (84.15): 254, never past 255.
    Bitmap24 white = Uniform(5, 1, 0xFFFFFF);
    MergeTransparent(kPixels, white, Uniform(5, 1, 0xFFFFFF), 33);
    EXPECT_EQ(white.pixel(4, 0), 0xFEFEFEu);

    const Bitmap24 picture = CoordinatePicture(9, 4, true);
    Bitmap24 copy = Uniform(9, 4, kBlank);
    MergeTransparent(kPixels, copy, picture, 100);
    EXPECT_EQ(copy, picture);
    MergeTransparent(kPixels, copy, Uniform(9, 4, kBlank), 0);
    EXPECT_EQ(copy, picture);
}

TEST(ScaleImageToRect, FitsTheAspectRatioAndCentres) {
    EXPECT_EQ(ScaleImageToRect({0, 0, 400, 300}, {0, 0, 1000, 500}), (Rect{166, 0, 833, 500}));
    EXPECT_EQ(ScaleImageToRect({0, 0, 100, 100}, {10, 20, 210, 120}), (Rect{60, 20, 160, 120}));
    // Width-limited, enlarging.
    EXPECT_EQ(ScaleImageToRect({0, 0, 40, 10}, {0, 0, 100, 100}), (Rect{0, 37, 100, 62}));
}

TEST(DrawTiledImage, TilesRunOnePastExactMultiples) {
    Bitmap24 tile = Uniform(64, 64, 0x00FF00);
    tile.setPixel(0, 0, 0x0000FF);
    Bitmap24 canvas = Uniform(260, 200, kBlank);
    DrawTiledImage(kPixels, canvas, {0, 0, 128, 100}, &tile);
    // Two rows (y = 0, 64) of three columns (x = 0, 64, 128).
    for (int x : {0, 64, 128})
        for (int y : {0, 64})
            EXPECT_EQ(canvas.pixel(x, y), 0x0000FFu) << x << "," << y;
    EXPECT_EQ(canvas.pixel(191, 127), 0x00FF00u);
    EXPECT_EQ(canvas.pixel(192, 0), kBlank);
    EXPECT_EQ(canvas.pixel(0, 128), kBlank);

    Bitmap24 untouched = Uniform(10, 10, kBlank);
    DrawTiledImage(kPixels, untouched, {0, 0, 10, 10}, nullptr);
    const Bitmap24 empty;
    DrawTiledImage(kPixels, untouched, {0, 0, 10, 10}, &empty);
    EXPECT_EQ(untouched, Uniform(10, 10, kBlank));
}

TEST(DrawTiledImage, ClippedTilingIsTheWholeTilingInsideTheClip) {
    const Bitmap24 tile = CoordinatePicture(7, 5, true);
    const Rect areas[] = {{0, 0, 40, 30}, {3, 2, 20, 17}, {-9, -4, 44, 26}};
    const Rect clips[] = {{10, 6, 25, 19}, {0, 0, 2, 2}, {33, 21, 50, 50}, {-3, -3, 60, 60}};
    for (const Rect& area : areas) {
        Bitmap24 whole = Uniform(45, 32, kBlank);
        DrawTiledImage(kPixels, whole, area, &tile);
        for (const Rect& clip : clips) {
            Bitmap24 part = Uniform(45, 32, kBlank);
            DrawTiledImage(kPixels, part, area, &tile, clip);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 45; ++x)
                    ASSERT_EQ(part.pixel(x, y), clip.contains(x, y) ? whole.pixel(x, y) : kBlank)
                        << x << "," << y;
        }
    }
}

TEST(MirrorCopyRect, FlagsReverseTheDestination) {
    const Bitmap24 source = CoordinatePicture(10, 5, true);
    Bitmap24 plain = Uniform(30, 5, kBlank);
    MirrorCopyRect(kPixels, plain, {10, 0, 20, 5}, source, {0, 0, 10, 5}, false, false);
    EXPECT_EQ(plain.pixel(10, 0), CoordinateColour(0, 0, true));
    EXPECT_EQ(plain.pixel(19, 4), CoordinateColour(9, 4, true));
    EXPECT_EQ(plain.pixel(20, 0), kBlank);

    // Horizontal: drawn to x = 21 with width -12, so over 10 .. 21, mirrored and stretched.
    Bitmap24 mirrored = Uniform(30, 5, kBlank);
    MirrorCopyRect(kPixels, mirrored, {10, 0, 20, 5}, source, {0, 0, 10, 5}, true, false);
    EXPECT_EQ(mirrored.pixel(21, 2), CoordinateColour(0, 2, true));
    EXPECT_EQ(mirrored.pixel(10, 2), CoordinateColour(9, 2, true));
    EXPECT_EQ(mirrored.pixel(9, 2), kBlank);
    EXPECT_EQ(mirrored.pixel(22, 2), kBlank);

    // Vertical, with the source cut to the bitmap first.
    Bitmap24 flipped = Uniform(10, 12, kBlank);
    MirrorCopyRect(kPixels, flipped, {0, 2, 10, 7}, source, {0, 0, 10, 50}, false, true);
    EXPECT_EQ(flipped.pixel(3, 8), CoordinateColour(3, 0, true));
    EXPECT_EQ(flipped.pixel(3, 2), CoordinateColour(3, 4, true)); // height -7 from y = 8 covers 2 .. 8
    EXPECT_EQ(flipped.pixel(3, 1), kBlank);
    EXPECT_EQ(flipped.pixel(3, 9), kBlank);

    Bitmap24 missed = Uniform(10, 5, kBlank);
    MirrorCopyRect(kPixels, missed, {0, 0, 10, 5}, source, {20, 0, 30, 5}, true, false);
    EXPECT_EQ(missed, Uniform(10, 5, kBlank));
}

TEST(MergeRotate, QuarterTurnsAndNone) {
    const Bitmap24 source = CoordinatePicture(6, 4, true);
    Bitmap24 same = Uniform(6, 4, kBlank);
    MergeRotate(kPixels, same, source, 3, 2, 0.0);
    EXPECT_EQ(same, source);

    Bitmap24 nothing = Uniform(6, 4, kBlank);
    MergeRotate(kPixels, nothing, source, -1, -1, std::numbers::pi / 2);
    EXPECT_EQ(nothing, Uniform(6, 4, kBlank));

    // A quarter turn about (2, 2): destination (x, y) takes source (2 - dy, 2 + dx).
    Bitmap24 turned = Uniform(6, 4, kBlank);
    MergeRotate(kPixels, turned, source, 2, 2, std::numbers::pi / 2);
    EXPECT_EQ(turned.pixel(2, 2), CoordinateColour(2, 2, true));
    EXPECT_EQ(turned.pixel(3, 2), CoordinateColour(2, 3, true));
    EXPECT_EQ(turned.pixel(2, 1), CoordinateColour(3, 2, true));
    EXPECT_EQ(turned.pixel(5, 2), kBlank); // source (2, 5) is below the picture
}

// Frames this large are drawn by two threads, each over part of the rows, and
// with `under` in one pass; every pixel must still follow the one-pixel rule:
// checked against the rule itself, computed pixel by pixel here.
TEST(MergeRotate, LargeFramesOnTwoThreadsAndOverAnotherPictureFollowTheRule) {
    constexpr int W = 1100, H = 700;
    const Bitmap24 source = CoordinatePicture(W, H, true);
    const Bitmap24 under = CoordinatePicture(W, H, false);
    for (const auto& [cx, cy, angle] :
         {std::tuple{-1, -1, 0.4}, std::tuple{W, -1, 1.2}, std::tuple{-1, H, 0.05}, std::tuple{W, H, 0.9},
          std::tuple{W / 2, H / 3, 2.0}}) {
        SCOPED_TRACE(testing::Message() << "about " << cx << ", " << cy << " by " << angle);
        const long double extended = angle;
        const double sinA = static_cast<double>(std::sin(extended));
        const double cosA = static_cast<double>(std::cos(extended));
        Bitmap24 expected(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const double dx = x - cx, dy = y - cy;
                const int u = static_cast<int>(std::nearbyint(dx * cosA - dy * sinA)) + cx;
                const int v = static_cast<int>(std::nearbyint(dx * sinA + dy * cosA)) + cy;
                const bool inside = u >= 0 && u < W && v >= 0 && v < H;
                expected.setPixel(x, y, inside ? source.pixel(u, v) : under.pixel(x, y));
            }
        for (const bool vector : {true, false}) {
            const PixelOptions pixels{vector};
            Bitmap24 inPlace = under;
            MergeRotate(pixels, inPlace, source, cx, cy, angle);
            EXPECT_EQ(inPlace, expected) << (vector ? "" : "plain");
            Bitmap24 onePass = Uniform(W, H, kBlank);
            MergeRotate(pixels, onePass, source, cx, cy, angle, &under);
            EXPECT_EQ(onePass, expected) << (vector ? "" : "plain");
        }
    }
}

TEST(MergeTransparent, LargeFramesOnTwoThreadsAndOverAnotherPictureFollowTheRule) {
    constexpr int W = 1000, H = 600;
    const Bitmap24 source = CoordinatePicture(W, H, true);
    const Bitmap24 under = CoordinatePicture(W, H, false);
    for (int percent : {0, 37, 100}) {
        SCOPED_TRACE(percent);
        Bitmap24 expected(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint32_t pixel = 0;
                for (int shift : {0, 8, 16}) {
                    const uint32_t a = (under.pixel(x, y) >> shift) & 0xFF;
                    const uint32_t b = (source.pixel(x, y) >> shift) & 0xFF;
                    pixel |= (a * (100 - percent) / 100 + b * percent / 100) << shift;
                }
                expected.setPixel(x, y, pixel);
            }
        Bitmap24 inPlace = under;
        MergeTransparent(kPixels, inPlace, source, percent);
        EXPECT_EQ(inPlace, expected);
        Bitmap24 onePass = Uniform(W, H, kBlank);
        MergeTransparent(kPixels, onePass, source, percent, &under);
        EXPECT_EQ(onePass, expected);
    }
}

TEST(CreateTriangleRgn, IsTheWindingPolygon) {
    const Point corners[] = {{0, 0}, {20, 0}, {0, 10}};
    EXPECT_EQ(CreateTriangleRgn(0, 0, 20, 0, 0, 10), CreatePolygonRgn(corners, PolygonFillMode::Winding));
    EXPECT_TRUE(CreateTriangleRgn(0, 0, 20, 0, 0, 10).contains(0, 9));
    EXPECT_FALSE(CreateTriangleRgn(0, 0, 20, 0, 0, 10).contains(3, 9));
}

} // namespace
} // namespace scr
