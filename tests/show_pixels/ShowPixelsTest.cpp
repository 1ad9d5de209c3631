// The show measures everything in device pixels: on a 3840 x 2160 screen a
// picture, a label and a pinned item land on the same device pixels whatever
// device pixel ratio the desktop asks for. CTest runs this program once per
// ratio (1, 1.25, 1.5 and 2 by QT_SCALE_FACTOR); SCR_EXPECTED_RATIO names the
// ratio the run was started with.
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
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace scr {
namespace {

constexpr int kScreenWidth = 3840;
constexpr int kScreenHeight = 2160;

// Where a widget's pixels land on the screen, in device pixels.
QRect DeviceRect(const QWidget* widget) {
    const qreal ratio = widget->devicePixelRatioF();
    const QRect r(widget->mapTo(widget->window(), QPoint(0, 0)) + widget->window()->geometry().topLeft(),
                  widget->size());
    return {qRound(r.x() * ratio), qRound(r.y() * ratio), qRound(r.width() * ratio),
            qRound(r.height() * ratio)};
}

void Pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class ShowPixelsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
    test::TempDir dir_;
};

TEST_F(ShowPixelsTest, ScreenIsMeasuredInDevicePixelsAndTheEnvironmentKept) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->devicePixelRatio(), 1.0);
    EXPECT_EQ(screen->size(), QSize(kScreenWidth, kScreenHeight));
    // The scale factor asked for is back in the environment once the
    // application object exists, for the programs the show starts.
    const char* expected = std::getenv("SCR_EXPECTED_RATIO");
    ASSERT_NE(expected, nullptr);
    if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
        EXPECT_EQ(std::atof(factor), std::atof(expected));
    }
}

// The table: where the picture, the label and the pinned item of a show
// designed for 3840 x 2160 land, in device pixels.
TEST_F(ShowPixelsTest, PictureLabelAndPinnedItemLandOnTheirDevicePixels) {
    auto package = std::make_unique<test::JpegShowPackage>();
    package->designWidth = kScreenWidth;
    test::JpegShowPackage& content = *package;
    ShowItem pinned = test::FixedPictureItem(3000, 1800, 400, 200);
    pinned.pinned = 1;
    content.items = {test::FixedPictureItem(100, 200, 1000, 500), pinned};
    content.jpegs[0] = test::MakeUniformJpeg(1000, 500, 0x0000FF);
    content.jpegs[1] = test::MakeUniformJpeg(400, 200, 0xFF0000);
    LabelRecord record;
    record.setFontName("DejaVu Sans");
    record.fontSize = 20; // points at 96 pixels per inch: 27 pixels
    record.centerX = 1920;
    record.centerY = 1000;
    content.labels = {{LabelItem(record, "Label")}};

    const test::TestShowEnvironment environment;
    ShowWindow window(std::move(package), environment, ShowMode::Show, 0);
    window.show();
    window.HandleInput({ShowInput::Kind::ItemTick});
    Pump();

    EXPECT_EQ(window.showSize(), (Size{kScreenWidth, kScreenHeight}));
    EXPECT_EQ(window.showScale(), 1.0);
    EXPECT_EQ(DeviceRect(&window), QRect(0, 0, kScreenWidth, kScreenHeight));

    // The picture: its place and size, and its frame pixel for pixel.
    const TransitionView* picture = window.transitionView();
    EXPECT_EQ(DeviceRect(picture), QRect(100, 200, 1000, 500));
    EXPECT_EQ(picture->Player().Frame().width(), 1000);
    EXPECT_EQ(picture->Player().Frame().height(), 500);

    // The label: centred on its point, its font 27 device pixels high.
    const auto* label = window.findChild<QLabel*>("xlabel_0");
    ASSERT_NE(label, nullptr);
    const QRect labelRect = DeviceRect(label);
    EXPECT_NEAR(labelRect.center().x(), 1920, 1);
    EXPECT_NEAR(labelRect.center().y(), 1000, 1);
    EXPECT_EQ(std::lround(label->font().pixelSize() * label->devicePixelRatioF()), 27);
    EXPECT_LT(labelRect.height(), 2 * 27);

    // The pinned item: its stored rectangle, unscaled.
    const QLabel* pinnedControl = nullptr;
    for (const QLabel* control : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (!control->pixmap().isNull()) pinnedControl = control;
    ASSERT_NE(pinnedControl, nullptr);
    EXPECT_EQ(DeviceRect(pinnedControl), QRect(3000, 1800, 400, 200));
    EXPECT_EQ(pinnedControl->pixmap().size(), QSize(400, 200));
}

} // namespace
} // namespace scr
