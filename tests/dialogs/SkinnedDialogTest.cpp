#include "dialogs/SkinnedDialog.h"

#include "dialogs/JpegResource.h"
#include "dialogs/ModalResult.h"
#include "tests/dialogs/Screenshot.h"
#include "tests/support/FormControls.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace scr {
namespace {

using test::FindControl;

// A frame whose request to the window system is recorded; the window system
// refuses it, so the frame follows the mouse itself.
class RecordingFrame : public SkinnedDialog {
public:
    int systemMoveRequests = 0;
    bool systemMoveWorks = false;

protected:
    bool RequestSystemMove() override {
        ++systemMoveRequests;
        return systemMoveWorks;
    }
};

// A frame around a 585 x 393 content panel, as the configuration dialog has it.
struct EmbeddedFrame {
    RecordingFrame frame;
    QWidget* panel = new QWidget(&frame);
    EmbeddedFrame() {
        panel->resize(585, 393);
        frame.EmbedPanel(panel);
    }
};

bool Shows(const ImageControl* image, const QPixmap& picture) {
    return !picture.isNull() && image->picture().cacheKey() == picture.cacheKey();
}

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint global) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, target->mapFromGlobal(QPointF(global)), QPointF(global), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(SkinnedDialog, SkinPicturesHaveTheirSizes) {
    SkinnedDialog frame;
    const QSize sizes[] = {{81, 49}, {94, 49}, {81, 49}, {94, 49}, {1, 49}, {1, 49}, {17, 19}, {17, 19}};
    for (int slot = 0; slot < SkinnedDialog::kSkinSlotCount; ++slot)
        EXPECT_EQ(frame.SkinBitmap(slot).size(), sizes[slot]) << "slot " << slot;
    EXPECT_NE(frame.SkinBitmap(SkinnedDialog::kTitleLeftActive).toImage(),
              frame.SkinBitmap(SkinnedDialog::kTitleLeftInactive).toImage());
    EXPECT_NE(frame.SkinBitmap(SkinnedDialog::kCloseNormal).toImage(),
              frame.SkinBitmap(SkinnedDialog::kCloseHot).toImage());
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageLeft")->picture().size(), QSize(10, 1));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageRight")->picture().size(), QSize(13, 1));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomLeft")->picture().size(), QSize(10, 12));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomCenter")->picture().size(), QSize(1, 12));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomRight")->picture().size(), QSize(13, 12));
    EXPECT_FALSE(FindControl<ImageControl>(frame, "ImageSysMenu")->picture().isNull()) << "the program icon";
}

TEST(SkinnedDialog, EmbedPanelWrapsTheFrameAroundThePanel) {
    EmbeddedFrame f;
    SkinnedDialog& frame = f.frame;
    EXPECT_EQ(frame.size(), QSize(608, 454));
    EXPECT_EQ(f.panel->geometry(), QRect(10, 49, 585, 393));
    EXPECT_EQ(FindControl<QWidget>(frame, "PanelTop")->geometry(), QRect(0, 0, 608, 49));
    EXPECT_EQ(FindControl<QWidget>(frame, "PanelBottom")->geometry(), QRect(0, 442, 608, 12));
    EXPECT_EQ(FindControl<QWidget>(frame, "PanelLeft")->geometry(), QRect(0, 49, 10, 393));
    EXPECT_EQ(FindControl<QWidget>(frame, "PanelRight")->geometry(), QRect(595, 49, 13, 393));

    EXPECT_EQ(FindControl<QLabel>(frame, "Label_XNeo_Caption")->geometry().topLeft(), QPoint(85, 11));
    EXPECT_EQ(FindControl<QLabel>(frame, "Label_XNeo_Caption")->width(), 433);
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageTopLeft")->geometry(), QRect(0, 0, 81, 49));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageTopCenter")->geometry(), QRect(81, 0, 433, 49));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageTopRight")->geometry(), QRect(514, 0, 94, 49));
    EXPECT_EQ(FindControl<HoverImage>(frame, "ImageClose")->geometry(), QRect(570, 5, 17, 19));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageSysMenu")->geometry(), QRect(9, 5, 32, 32));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomLeft")->geometry(), QRect(0, 0, 10, 12));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomCenter")->geometry(), QRect(10, 0, 585, 12));
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomRight")->geometry(), QRect(595, 0, 13, 12));

    // The caption lies behind the right title part and in front of the stretched middle.
    const QObjectList& order = FindControl<QWidget>(frame, "PanelTop")->children();
    EXPECT_EQ(order.indexOf(FindControl<ImageControl>(frame, "ImageTopCenter")), 0);
    EXPECT_EQ(order.indexOf(FindControl<QLabel>(frame, "Label_XNeo_Caption")), 1);
}

TEST(SkinnedDialog, LayoutFollowsAResize) {
    SkinnedDialog frame;
    frame.show();
    frame.resize(300, 120);
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageTopRight")->x(), 206);
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageTopCenter")->width(), 125);
    EXPECT_EQ(FindControl<HoverImage>(frame, "ImageClose")->x(), 262);
    EXPECT_EQ(FindControl<QLabel>(frame, "Label_XNeo_Caption")->width(), 125);
    EXPECT_EQ(FindControl<ImageControl>(frame, "ImageBottomRight")->x(), 287);
    EXPECT_EQ(FindControl<QWidget>(frame, "PanelRight")->geometry(), QRect(287, 49, 13, 59));
}

TEST(SkinnedDialog, CaptionIsTheLabelAndTheWindowTitle) {
    SkinnedDialog frame;
    const int lineHeight = FindControl<QLabel>(frame, "Label_XNeo_Caption")->fontMetrics().height();
    EXPECT_GE(FindControl<QLabel>(frame, "Label_XNeo_Caption")->height(), lineHeight)
        << "an empty caption can still be dragged";
    frame.SetFrameCaption(QStringLiteral("Two\nlines"));
    EXPECT_GE(FindControl<QLabel>(frame, "Label_XNeo_Caption")->height(), 2 * lineHeight);
    frame.SetFrameCaption(QStringLiteral("Aurora Settings"));
    EXPECT_EQ(frame.GetFrameCaption(), QStringLiteral("Aurora Settings"));
    EXPECT_EQ(FindControl<QLabel>(frame, "Label_XNeo_Caption")->text(), QStringLiteral("Aurora Settings"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Aurora Settings"));
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
}

TEST(SkinnedDialog, TitlePicturesFollowActivation) {
    EmbeddedFrame f;
    SkinnedDialog& frame = f.frame;
    auto showsSet = [&](int left, int right, int middle) {
        return Shows(FindControl<ImageControl>(frame, "ImageTopLeft"), frame.SkinBitmap(left)) &&
               Shows(FindControl<ImageControl>(frame, "ImageTopRight"), frame.SkinBitmap(right)) &&
               Shows(FindControl<ImageControl>(frame, "ImageTopCenter"), frame.SkinBitmap(middle));
    };
    const auto inactive =
        std::make_tuple(SkinnedDialog::kTitleLeftInactive, SkinnedDialog::kTitleRightInactive,
                        SkinnedDialog::kTitleMiddleInactive);
    EXPECT_TRUE(std::apply(showsSet, inactive)) << "before the first activation";

    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_TRUE(showsSet(SkinnedDialog::kTitleLeftActive, SkinnedDialog::kTitleRightActive,
                         SkinnedDialog::kTitleMiddleActive));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(std::apply(showsSet, inactive)) << "after another window took the activation";

    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_TRUE(showsSet(SkinnedDialog::kTitleLeftActive, SkinnedDialog::kTitleRightActive,
                         SkinnedDialog::kTitleMiddleActive));
}

TEST(SkinnedDialog, OnlyTheLeftButtonOnTheCaptionMovesTheWindow) {
    EmbeddedFrame f;
    RecordingFrame& frame = f.frame;
    frame.move(100, 100);
    frame.show();
    QLabel* caption = FindControl<QLabel>(frame, "Label_XNeo_Caption");
    const QPoint start = caption->mapToGlobal(QPoint(5, 5));

    SendMouse(caption, QEvent::MouseButtonPress, Qt::RightButton, start);
    SendMouse(caption, QEvent::MouseMove, Qt::RightButton, start + QPoint(40, 30));
    SendMouse(caption, QEvent::MouseButtonRelease, Qt::RightButton, start + QPoint(40, 30));
    EXPECT_EQ(frame.systemMoveRequests, 0);
    EXPECT_EQ(frame.pos(), QPoint(100, 100));

    SendMouse(caption, QEvent::MouseButtonPress, Qt::LeftButton, start);
    SendMouse(caption, QEvent::MouseMove, Qt::LeftButton, start + QPoint(40, 30));
    SendMouse(caption, QEvent::MouseButtonRelease, Qt::LeftButton, start + QPoint(40, 30));
    EXPECT_EQ(frame.systemMoveRequests, 1);
    EXPECT_EQ(frame.pos(), QPoint(140, 130)) << "the frame follows the mouse when the window system cannot";

    SendMouse(caption, QEvent::MouseMove, Qt::NoButton, start + QPoint(90, 90));
    EXPECT_EQ(frame.pos(), QPoint(140, 130)) << "the drag ends with the release";

    frame.systemMoveWorks = true;
    SendMouse(caption, QEvent::MouseButtonPress, Qt::LeftButton, start);
    SendMouse(caption, QEvent::MouseMove, Qt::LeftButton, start + QPoint(10, 10));
    EXPECT_EQ(frame.systemMoveRequests, 2);
    EXPECT_EQ(frame.pos(), QPoint(140, 130)) << "the window system moves the window itself";
}

TEST(SkinnedDialog, CloseButtonLightsUpAndCloses) {
    EmbeddedFrame f;
    SkinnedDialog& frame = f.frame;
    frame.show();
    EXPECT_TRUE(
        Shows(FindControl<HoverImage>(frame, "ImageClose"), frame.SkinBitmap(SkinnedDialog::kCloseNormal)));
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(FindControl<HoverImage>(frame, "ImageClose"), &enter);
    EXPECT_TRUE(
        Shows(FindControl<HoverImage>(frame, "ImageClose"), frame.SkinBitmap(SkinnedDialog::kCloseHot)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(FindControl<HoverImage>(frame, "ImageClose"), &leave);
    EXPECT_TRUE(
        Shows(FindControl<HoverImage>(frame, "ImageClose"), frame.SkinBitmap(SkinnedDialog::kCloseNormal)));

    QSignalSpy finished(&frame, &QDialog::finished);
    QTest::mouseClick(FindControl<HoverImage>(frame, "ImageClose"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), mrCancel);
    EXPECT_FALSE(frame.isVisible());
}

TEST(SkinnedDialog, DoubleClickOnTheIconCloses) {
    EmbeddedFrame f;
    SkinnedDialog& frame = f.frame;
    frame.show();
    QTest::mouseClick(FindControl<ImageControl>(frame, "ImageSysMenu"), Qt::LeftButton);
    EXPECT_TRUE(frame.isVisible()) << "a single click does nothing";
    QTest::mouseDClick(FindControl<ImageControl>(frame, "ImageSysMenu"), Qt::LeftButton);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.result(), mrCancel);
}

TEST(SkinnedDialog, DrawsItsPicturesAtTheirPlaces) {
    EmbeddedFrame f;
    SkinnedDialog& frame = f.frame;
    frame.SetFrameCaption(QStringLiteral("Aurora Screen Saver Settings"));
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const QImage shot = frame.grab().toImage();
    test::SaveScreenshot(shot, QStringLiteral("skinned-frame.png"));

    struct Probe {
        QPoint at;       // in the window
        QPixmap picture; // expected source
        QPoint inPicture;
    };
    const Probe probes[] = {
        {{20, 44}, frame.SkinBitmap(SkinnedDialog::kTitleLeftActive), {20, 44}},
        {{600, 30}, frame.SkinBitmap(SkinnedDialog::kTitleRightActive), {86, 30}},
        {{300, 40}, frame.SkinBitmap(SkinnedDialog::kTitleMiddleActive), {0, 40}},
        {{578, 14}, frame.SkinBitmap(SkinnedDialog::kCloseNormal), {8, 9}},
        {{4, 200}, FindControl<ImageControl>(frame, "ImageLeft")->picture(), {4, 0}},
        {{604, 200}, FindControl<ImageControl>(frame, "ImageRight")->picture(), {9, 0}},
        {{300, 450}, FindControl<ImageControl>(frame, "ImageBottomCenter")->picture(), {0, 8}},
        {{605, 450}, FindControl<ImageControl>(frame, "ImageBottomRight")->picture(), {10, 8}},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(shot.pixelColor(p.at), p.picture.toImage().pixelColor(p.inPicture))
            << p.at.x() << "," << p.at.y();
}

// The title bar active, active with the mouse over the close button, and
// inactive, stacked into one picture.
TEST(SkinnedDialog, TitleBarStates) {
    SkinnedDialog frame;
    frame.resize(420, 120);
    frame.SetFrameCaption(QStringLiteral("Aurora Screen Saver Settings"));
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const QRect bar(0, 0, 420, 49);
    const QImage active = frame.grab(bar).toImage();
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(FindControl<HoverImage>(frame, "ImageClose"), &enter);
    const QImage hot = frame.grab(bar).toImage();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(FindControl<HoverImage>(frame, "ImageClose"), &leave);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    const QImage inactive = frame.grab(bar).toImage();

    const QRect close = FindControl<HoverImage>(frame, "ImageClose")->geometry();
    EXPECT_NE(active.copy(close), hot.copy(close));
    EXPECT_EQ(active.copy(0, 0, close.left(), 49), hot.copy(0, 0, close.left(), 49));
    EXPECT_NE(active.copy(0, 0, close.left(), 49), inactive.copy(0, 0, close.left(), 49));

    QImage states(420, 3 * 49 + 2 * 6, QImage::Format_RGB32);
    states.fill(Qt::white);
    QPainter painter(&states);
    for (int i = 0; const QImage* strip : {&active, &hot, &inactive})
        painter.drawImage(0, (i++) * 55, *strip);
    painter.end();
    test::SaveScreenshot(states, QStringLiteral("skinned-frame-states.png"));
}

TEST(LoadJpegResource, DecodesAtScaleAndLeavesTheBitmapAloneOnFailure) {
    Bitmap24 bitmap;
    ASSERT_TRUE(LoadJpegResource(QStringLiteral("XTOP_1"), bitmap));
    EXPECT_EQ(bitmap.width(), 94);
    EXPECT_EQ(bitmap.height(), 49);
    ASSERT_TRUE(LoadJpegResource(QStringLiteral("XTOP_1"), bitmap, false, 1));
    EXPECT_EQ(bitmap.width(), 47);
    EXPECT_EQ(bitmap.height(), 25);
    ASSERT_TRUE(LoadJpegResource(QStringLiteral("XTOP_1"), bitmap, false, 3));
    EXPECT_EQ(bitmap.width(), 12);
    EXPECT_EQ(bitmap.height(), 7);
    Bitmap24 placeholder;
    ASSERT_TRUE(LoadJpegResource(QStringLiteral("XJPEGXFLASH"), placeholder));
    EXPECT_EQ(placeholder.width(), 100);
    EXPECT_EQ(placeholder.height(), 80);

    const Bitmap24 before = bitmap;
    EXPECT_FALSE(LoadJpegResource(QStringLiteral("NO_SUCH_PICTURE"), bitmap));
    EXPECT_EQ(bitmap, before);
    // The skin pictures are stored plain: unscrambling their start breaks them.
    EXPECT_FALSE(LoadJpegResource(QStringLiteral("XTOP_1"), bitmap, true));
    EXPECT_EQ(bitmap, before);
    EXPECT_FALSE(LoadJpegResource(QStringLiteral("XVTIMG_4"), bitmap)) << "a bitmap is no JPEG";
    EXPECT_EQ(bitmap, before);
}

} // namespace
} // namespace scr
