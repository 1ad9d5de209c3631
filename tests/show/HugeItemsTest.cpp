// Items far larger than the screen: a declared 40000 x 40000 rectangle and a
// 30000 x 30000 picture. No rectangle made for them exceeds the window, no
// picture twice the screen, and the show goes on to the next item.
#include "package/JpegCodec.h"
#include "platform/Bitmap24.h"
#include "show/PlacementLimit.h"
#include "show/ShowWindow.h"
#include "tests/support/JpegShowPackage.h"
#include "tests/support/LargeJpeg.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestShowEnvironment.h"
#include "transitions/control/TransitionView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace scr {
namespace {

using test::FixedPictureItem;
using test::JpegShowPackage;

void Pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class HugeItemsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
    test::TempDir dir_;
    test::TestShowEnvironment environment_;
};

TEST(PlacementLimitTest, ClampKeepsWhatFitsTheWindowAndCutsTheRest) {
    const PlacementLimit limit(Size{800, 600});
    const struct {
        Rect in, out;
    } cases[] = {
        {{10, 20, 110, 70}, {10, 20, 110, 70}},             // inside: unchanged
        {{-300, 500, 500, 1100}, {-300, 500, 500, 1100}},   // partly outside, window-sized: unchanged
        {{0, 0, 40000, 40000}, {0, 0, 800, 600}},           // larger: its part on the window
        {{-50000, 100, 40000, 200}, {0, 100, 800, 200}},    // too wide only
        {{5000, 5000, 45000, 45000}, {800, 600, 800, 600}}, // larger and off the window: empty
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 800, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(limit.Clamp(c.in), c.out) << c.in.left << "," << c.in.top << "," << c.in.right;
}

// The visible part of a clamped picture shows what the whole stretch would
// show there: a picture red on its left half and blue on its right, stretched
// over 2000 x 600 from x = -400, shows red up to x = 600 and then blue.
TEST(PlacementLimitTest, FitPictureKeepsTheVisiblePartOfTheStretch) {
    const PlacementLimit limit(Size{800, 600});
    Bitmap24 picture(100, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixel(x, y, x < 50 ? 0x0000FFu : 0xFF0000u);
    const Rect placed{-400, 0, 1600, 600};
    limit.FitPicture(picture, placed);
    ASSERT_EQ(picture.width(), 800); // 0 .. 800 of the window
    ASSERT_EQ(picture.height(), 600);
    EXPECT_EQ(picture.pixel(0, 300), 0x0000FFu);   // x = 0, a fifth into the red half
    EXPECT_EQ(picture.pixel(570, 300), 0x0000FFu); // x = 570, still red
    EXPECT_EQ(picture.pixel(630, 300), 0xFF0000u); // x = 630, blue
    // Inside the window nothing changes from an unclamped stretch.
    Bitmap24 small(4, 4);
    small.fill(0x00FF00u);
    limit.FitPicture(small, {10, 10, 210, 110});
    EXPECT_EQ(small.width(), 200);
    EXPECT_EQ(small.height(), 100);
    // Wholly outside: nothing is made.
    limit.FitPicture(small, {5000, 5000, 45000, 45000});
    EXPECT_TRUE(small.isEmpty());
}

TEST_F(HugeItemsTest, DeclaredHugeRectangleIsClampedAndTheShowGoesOn) {
    auto package = std::make_unique<JpegShowPackage>();
    package->items = {FixedPictureItem(0, 0, 40000, 40000), FixedPictureItem(10, 10, 100, 100)};
    package->jpegs[0] = test::MakeUniformJpeg(400, 300, 0x0000FF);
    package->jpegs[1] = test::MakeUniformJpeg(40, 30, 0x00FF00);
    ShowWindow window(std::move(package), environment_, ShowMode::Show, 0);
    const QSize screen = window.size();
    window.HandleInput({ShowInput::Kind::ItemTick});
    Pump();
    TransitionView* picture = window.transitionView();
    EXPECT_EQ(picture->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_TRUE(picture->isVisibleTo(&window));
    EXPECT_EQ(picture->Player().Frame().width(), screen.width());
    EXPECT_EQ(picture->Player().Frame().height(), screen.height());
    // The stretched picture covers the window: its red fills the middle.
    const uint32_t middle = picture->Player().Frame().pixel(screen.width() / 2, screen.height() / 2);
    EXPECT_NEAR(static_cast<int>(middle & 0xFF), 0xFF, 4);

    window.HandleInput({ShowInput::Kind::ForwardKey});
    Pump();
    const double scale = window.showScale();
    EXPECT_EQ(picture->geometry(),
              QRect(int(10 * scale), int(10 * scale), int(100 * scale), int(100 * scale)));
    EXPECT_TRUE(picture->isVisibleTo(&window));
}

TEST_F(HugeItemsTest, HugePictureIsDecodedWithinTwiceTheScreen) {
    auto package = std::make_unique<JpegShowPackage>();
    package->items = {FixedPictureItem(0, 0, 0, 0), FixedPictureItem(10, 10, 100, 100)};
    package->jpegs[0] = test::MakeUniformJpeg(30000, 30000, 0x0000FF);
    package->jpegs[1] = test::MakeUniformJpeg(40, 30, 0x00FF00);
    ASSERT_FALSE(package->jpegs[0].empty());
    const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    EXPECT_EQ(package->decode.maxWidth, 2 * desktop.width());
    EXPECT_EQ(package->decode.maxHeight, 2 * desktop.height());
    EXPECT_EQ(environment_.get().reading.decode.maxWidth, 2 * desktop.width());
    ShowWindow window(std::move(package), environment_, ShowMode::Show, 0);
    window.HandleInput({ShowInput::Kind::ItemTick});
    Pump();
    TransitionView* picture = window.transitionView();
    EXPECT_TRUE(picture->isVisibleTo(&window));
    EXPECT_GT(picture->width(), 0);
    EXPECT_LE(picture->width(), window.width());
    EXPECT_LE(picture->height(), window.height());
    window.HandleInput({ShowInput::Kind::ForwardKey});
    Pump();
    EXPECT_EQ(picture->width(), int(100 * window.showScale()));
}

TEST_F(HugeItemsTest, PinnedHugeRectangleIsClamped) {
    auto package = std::make_unique<JpegShowPackage>();
    ShowItem pinned = FixedPictureItem(-20000, -20000, 40000, 40000);
    pinned.pinned = 1;
    package->items = {pinned, FixedPictureItem(10, 10, 100, 100)};
    package->jpegs[0] = test::MakeUniformJpeg(64, 64, 0xFF0000);
    package->jpegs[1] = test::MakeUniformJpeg(40, 30, 0x00FF00);
    ShowWindow window(std::move(package), environment_, ShowMode::Show, 0);
    window.HandleInput({ShowInput::Kind::ItemTick});
    Pump();
    QLabel* label = nullptr;
    for (QLabel* l : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (!l->pixmap().isNull()) label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(0, 0, window.width(), window.height()));
    EXPECT_EQ(label->pixmap().size(), label->size());
}

// A package whose first picture cannot get its memory.
class OutOfMemoryPackage : public JpegShowPackage {
public:
    bool LoadPicture(Bitmap24& bitmap, int index, int scale) override {
        if (index == 0) throw std::bad_alloc();
        return JpegShowPackage::LoadPicture(bitmap, index, scale);
    }
};

TEST_F(HugeItemsTest, FailedAllocationSkipsTheItemWithAStatisticsLine) {
    const std::string stats = dir_.file("stats.txt");
    setenv("SCRPLAYER_STATS", stats.c_str(), 1);
    auto package = std::make_unique<OutOfMemoryPackage>();
    ShowItem pinned = FixedPictureItem(0, 0, 64, 64);
    pinned.pinned = 1;
    package->items = {pinned, FixedPictureItem(10, 10, 100, 100)};
    package->jpegs[1] = test::MakeUniformJpeg(40, 30, 0x00FF00);
    {
        ShowWindow window(std::move(package), environment_, ShowMode::Show, 0);
        window.HandleInput({ShowInput::Kind::ItemTick});
        Pump();
        // The pinned item is left out; the show goes on with the next item.
        for (QLabel* l : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(l->pixmap().isNull());
        EXPECT_TRUE(window.transitionView()->isVisibleTo(&window));
        EXPECT_EQ(window.transitionView()->width(), int(100 * window.showScale()));
    }
    unsetenv("SCRPLAYER_STATS");
    std::string lines;
    test::RunCommand("cat '" + stats + "'", &lines);
    EXPECT_NE(lines.find("item-skipped reason=out-of-memory step=pinned"), std::string::npos) << lines;
}

} // namespace
} // namespace scr
