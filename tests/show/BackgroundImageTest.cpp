// The show background: tiled picture cut at the edges, copies clipped to both bitmaps.
#include "show/BackgroundImage.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

Bitmap24 Numbered(int w, int h) {
    Bitmap24 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, static_cast<uint32_t>(y * 16 + x + 1));
    return b;
}

TEST(BackgroundImageTest, TilesFromTheCornerAndCutsTheLastRowAndColumn) {
    Bitmap24 target(7, 5);
    target.fill(0xABCDEF);
    const Bitmap24 tile = Numbered(3, 2);
    TileBitmap(target, {0, 0, 7, 5}, tile);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(target.pixel(x, y), tile.pixel(x % 3, y % 2)) << x << "," << y;

    Bitmap24 inner(6, 6);
    inner.fill(0);
    TileBitmap(inner, {1, 1, 5, 4}, tile); // nothing outside the rectangle
    EXPECT_EQ(inner.pixel(0, 0), 0u);
    EXPECT_EQ(inner.pixel(1, 1), tile.pixel(0, 0));
    EXPECT_EQ(inner.pixel(4, 3), tile.pixel(0, 0));
    EXPECT_EQ(inner.pixel(5, 3), 0u);
    EXPECT_EQ(inner.pixel(4, 4), 0u);
    TileBitmap(inner, {0, 0, 6, 6}, Bitmap24()); // empty tile: nothing
    EXPECT_EQ(inner.pixel(0, 0), 0u);
}

TEST(BackgroundImageTest, CopiesAreClippedToBothBitmaps) {
    const Bitmap24 source = Numbered(4, 4);
    Bitmap24 target(3, 3);
    target.fill(0);
    CopyBitmapRect(source, {-1, -1, 3, 3}, target, {0, 0}); // source partly outside
    EXPECT_EQ(target.pixel(0, 0), 0u);
    EXPECT_EQ(target.pixel(1, 1), source.pixel(0, 0));
    EXPECT_EQ(target.pixel(2, 2), source.pixel(1, 1));
    target.fill(0);
    CopyBitmapRect(source, {0, 0, 4, 4}, target, {2, -1}); // target partly outside
    EXPECT_EQ(target.pixel(2, 0), source.pixel(0, 1));
    EXPECT_EQ(target.pixel(1, 0), 0u);
    CopyBitmapRect(source, {0, 0, 4, 4}, target, {50, 50}); // nowhere: nothing, no crash
}

TEST(BackgroundImageTest, PaintCopyAndDrawForTheCollage) {
    BackgroundImage image(nullptr);
    const Bitmap24 tile = Numbered(2, 2);
    image.Paint(10, 8, 0x000000FF, &tile);
    EXPECT_EQ(image.canvas().pixel(9, 7), tile.pixel(1, 1));
    Bitmap24 picture(3, 2);
    picture.fill(0x00FF00);
    image.Draw(picture, {8, 7}); // partly outside
    EXPECT_EQ(image.canvas().pixel(9, 7), 0x00FF00u);
    const Bitmap24 part = image.Copy({7, 6, 11, 9});
    EXPECT_EQ(part.width(), 4);
    EXPECT_EQ(part.pixel(2, 1), 0x00FF00u);
    EXPECT_EQ(part.pixel(3, 2), 0u); // outside the canvas
    image.Paint(4, 4, 0x112233, nullptr);
    EXPECT_EQ(image.canvas().pixel(3, 3), 0x112233u);
}

} // namespace
} // namespace scr
