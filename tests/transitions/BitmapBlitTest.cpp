#include "transitions/BitmapBlit.h"

#include "TestPictures.h"
#include "transitions/RegionShapes.h"

#include <gtest/gtest.h>
#include <vector>

namespace scr {
namespace {

constexpr PixelOptions kPixels{};

using test::CoordinateColour;
using test::CoordinatePicture;
using test::Uniform;

constexpr uint32_t kBlank = 0x123456;

TEST(StretchDraw, SameSizeCopiesAndClipsToTheDestination) {
    const Bitmap24 src = CoordinatePicture(8, 6, true);
    Bitmap24 dst = Uniform(10, 10, kBlank);
    StretchDraw(kPixels, dst, {5, 7, 13, 13}, src, {0, 0, 8, 6});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(dst.pixel(x, y), x >= 5 && y >= 7 ? CoordinateColour(x - 5, y - 7, true) : kBlank);
}

TEST(StretchDraw, NearestPixelUnderEachCentre) {
    const Bitmap24 src = CoordinatePicture(4, 2, true);
    Bitmap24 dst = Uniform(8, 4, kBlank);
    StretchDraw(kPixels, dst, {0, 0, 8, 4}, src, {0, 0, 4, 2});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(dst.pixel(x, y), CoordinateColour(x / 2, y / 2, true));
    // Shrinking 6 -> 3 takes source pixels 1, 3, 5.
    const Bitmap24 wide = CoordinatePicture(6, 1, true);
    Bitmap24 small = Uniform(3, 1, kBlank);
    StretchDraw(kPixels, small, {0, 0, 3, 1}, wide, {0, 0, 6, 1});
    EXPECT_EQ(small.pixel(0, 0), CoordinateColour(1, 0, true));
    EXPECT_EQ(small.pixel(2, 0), CoordinateColour(5, 0, true));
}

TEST(StretchDraw, NegativeExtentMirrorsAndEndsAtItsOrigin) {
    const Bitmap24 src = CoordinatePicture(12, 5, true);
    Bitmap24 dst = Uniform(30, 5, kBlank);
    // Width -12 at x = 21 covers 10 .. 21; pixel 21 gets the first column.
    StretchDraw(kPixels, dst, {21, 0, 9, 5}, src, {0, 0, 12, 5});
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(dst.pixel(x, 2), x >= 10 && x <= 21 ? CoordinateColour(21 - x, 2, true) : kBlank) << x;
}

TEST(StretchDraw, SourceOutsideThePictureLeavesTheDestination) {
    const Bitmap24 src = CoordinatePicture(4, 4, true);
    Bitmap24 dst = Uniform(6, 4, kBlank);
    StretchDraw(kPixels, dst, {0, 0, 6, 4}, src, {-1, 0, 5, 4});
    EXPECT_EQ(dst.pixel(0, 0), kBlank);
    EXPECT_EQ(dst.pixel(1, 0), CoordinateColour(0, 0, true));
    EXPECT_EQ(dst.pixel(4, 3), CoordinateColour(3, 3, true));
    EXPECT_EQ(dst.pixel(5, 3), kBlank);
}

// A clipped copy writes exactly the pixels of the whole copy that lie in the
// clip, for plain, scaled, mirrored and partly outside copies alike.
TEST(StretchDraw, ClippedCopyIsTheWholeCopyInsideTheClip) {
    const Bitmap24 src = CoordinatePicture(13, 9, true);
    const struct {
        Rect d, s;
    } copies[] = {{{2, 3, 15, 12}, {0, 0, 13, 9}},  {{-4, -2, 27, 19}, {0, 0, 13, 9}},
                  {{25, 1, 3, 17}, {1, 1, 11, 8}},  {{0, 18, 20, 2}, {0, 0, 13, 9}},
                  {{5, 5, 9, 8}, {-2, -1, 15, 10}}, {{-6, 0, 31, 20}, {12, 0, -1, 9}}};
    const Rect clips[] = {{3, 4, 11, 9}, {0, 0, 1, 1}, {17, 10, 30, 20}, {-5, -5, 40, 40}, {8, 8, 8, 12}};
    for (const auto& copy : copies) {
        Bitmap24 whole = Uniform(30, 20, kBlank);
        StretchDraw(kPixels, whole, copy.d, src, copy.s);
        for (const Rect& clip : clips) {
            Bitmap24 part = Uniform(30, 20, kBlank);
            StretchDraw(kPixels, part, copy.d, src, copy.s, clip);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 30; ++x)
                    ASSERT_EQ(part.pixel(x, y), clip.contains(x, y) ? whole.pixel(x, y) : kBlank)
                        << x << "," << y << " clip " << clip.left << "," << clip.top;
        }
    }
}

// Rows wide enough for the processor's eight-pixel path, in every direction
// and with tails of every length: each pixel is the one under its centre,
// the source's last row and column included, and nothing beside the
// destination changes.
TEST(StretchDraw, WideRowsPickThePixelUnderEachCentre) {
    const Bitmap24 src = CoordinatePicture(61, 7, true);
    const int widths[] = {11, 12, 19, 40, 61, 83, 130, -47, -61, -129};
    for (const bool vector : {true, false}) {
        const PixelOptions pixels{vector};
        for (const int w : widths) {
            for (const int sh : {7, 3}) {
                Bitmap24 dst = Uniform(140, 16, kBlank);
                const int left = w < 0 ? 136 : 3;
                StretchDraw(pixels, dst, {left, 1, left + w, 15}, src, {0, 7 - sh, 61, 7});
                const int first = w < 0 ? left + w + 1 : left;
                const int count = w < 0 ? -w : w;
                for (int y = 0; y < 16; ++y) {
                    for (int x = 0; x < 140; ++x) {
                        uint32_t expected = kBlank;
                        if (y >= 1 && y < 15 && x >= first && x < first + count) {
                            const int i = w < 0 ? first + count - 1 - x : x - first;
                            const int sx = (2 * i + 1) * 61 / (2 * count);
                            const int sy = 7 - sh + (2 * (y - 1) + 1) * sh / 28;
                            expected = CoordinateColour(sx, sy, true);
                        }
                        ASSERT_EQ(dst.pixel(x, y), expected)
                            << "width " << w << " at " << x << "," << y << (vector ? "" : " plain");
                    }
                }
            }
        }
    }
}

// Widening into a screen image: every pixel of the area, the eight-pixel
// path's tails of every length included, and not a byte beside it.
TEST(CopyToXrgb32, WidensEveryPixelOfTheAreaAndNothingElse) {
    const Bitmap24 src = CoordinatePicture(40, 5, true);
    for (const bool vector : {true, false}) {
        const PixelOptions pixels{vector};
        for (const Rect area : {Rect{0, 0, 40, 5}, Rect{3, 1, 12, 4}, Rect{0, 0, 9, 1}, Rect{31, 0, 40, 5},
                                Rect{-2, -1, 17, 3}}) {
            constexpr std::size_t kStride = 50 * 4;
            std::vector<uint32_t> image(kStride / 4 * 8, 0x5A5A5A5A);
            CopyToXrgb32(pixels, src, area, reinterpret_cast<uint8_t*>(image.data()), kStride);
            const Rect inside = area.intersected({0, 0, 40, 5});
            for (int row = 0; row < 8; ++row)
                for (int col = 0; col < 50; ++col) {
                    const int x = area.left + col, y = area.top + row;
                    uint32_t expected = 0x5A5A5A5A;
                    if (inside.contains(x, y)) {
                        const uint8_t* in = src.row(y) + static_cast<std::size_t>(x) * 3;
                        expected = 0xFF000000u | in[0] | (static_cast<uint32_t>(in[1]) << 8) |
                                   (static_cast<uint32_t>(in[2]) << 16);
                    }
                    ASSERT_EQ(image[static_cast<std::size_t>(row) * 50 + col], expected)
                        << col << "," << row << (vector ? "" : " plain");
                }
        }
    }
}

TEST(BitmapBlit, FillAndDrawThroughRegion) {
    Bitmap24 dst = Uniform(10, 10, kBlank);
    FillRect(dst, {-3, 8, 4, 20}, 0x0000FF);
    EXPECT_EQ(dst.pixel(3, 9), 0x0000FFu);
    EXPECT_EQ(dst.pixel(4, 9), kBlank);
    EXPECT_EQ(dst.pixel(3, 7), kBlank);

    const Bitmap24 src = CoordinatePicture(10, 10, true);
    const Rect parts[] = {{-5, -5, 2, 2}, {6, 6, 20, 20}};
    DrawThroughRegion(kPixels, dst, src, Region::FromRects(parts));
    EXPECT_EQ(dst.pixel(1, 1), CoordinateColour(1, 1, true));
    EXPECT_EQ(dst.pixel(2, 1), kBlank);
    EXPECT_EQ(dst.pixel(9, 9), CoordinateColour(9, 9, true));
    EXPECT_EQ(dst.pixel(5, 6), kBlank);
}

TEST(BitmapBlit, DrawBitmapClipsAtEveryEdge) {
    const Bitmap24 src = CoordinatePicture(4, 4, true);
    Bitmap24 dst = Uniform(5, 5, kBlank);
    DrawBitmap(kPixels, dst, -2, 3, src);
    EXPECT_EQ(dst.pixel(0, 3), CoordinateColour(2, 0, true));
    EXPECT_EQ(dst.pixel(1, 4), CoordinateColour(3, 1, true));
    EXPECT_EQ(dst.pixel(2, 4), kBlank);
    EXPECT_EQ(dst.pixel(0, 2), kBlank);
}

} // namespace
} // namespace scr
