#include "dialogs/HoverImage.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scr {
namespace {

// Records, in order, the notifications and the paints with the picture each paint showed.
class RecordingImage : public HoverImage {
public:
    std::vector<std::string> log;

protected:
    void paintEvent(QPaintEvent* event) override {
        log.push_back("paint " + std::to_string(picture().cacheKey() == hot.cacheKey() ? 1 : 0));
        HoverImage::paintEvent(event);
    }

public:
    QPixmap hot;
};

QPixmap Filled(QColor colour) {
    QPixmap pixmap(17, 19);
    pixmap.fill(colour);
    return pixmap;
}

void Enter(QWidget* widget) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

TEST(HoverImage, RepaintsOnEnterAndLeaveWithoutHandlers) {
    RecordingImage image;
    image.setPicture(Filled(Qt::gray));
    image.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&image));
    image.log.clear();
    Enter(&image);
    EXPECT_EQ(image.log, (std::vector<std::string>{"paint 0"}));
    Leave(&image);
    EXPECT_EQ(image.log, (std::vector<std::string>{"paint 0", "paint 0"}));
}

TEST(HoverImage, HandlerRunsBeforeTheRepaint) {
    RecordingImage image;
    const QPixmap normal = Filled(Qt::gray);
    image.hot = Filled(Qt::red);
    image.setPicture(normal);
    image.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&image));
    QObject::connect(&image, &HoverImage::mouseIn, [&](HoverImage* sender) {
        EXPECT_EQ(sender, &image);
        image.log.push_back("in");
        sender->setPicture(image.hot);
    });
    QObject::connect(&image, &HoverImage::mouseOut, [&](HoverImage* sender) {
        image.log.push_back("out");
        sender->setPicture(normal);
    });
    image.log.clear();
    Enter(&image);
    Leave(&image);
    EXPECT_EQ(image.log, (std::vector<std::string>{"in", "paint 1", "out", "paint 0"}));
}

TEST(HoverImage, ClicksStillReachTheImage) {
    HoverImage image;
    image.setPicture(Filled(Qt::gray));
    image.setAutoSize(true);
    image.show();
    EXPECT_EQ(image.size(), QSize(17, 19));
    QSignalSpy clicked(&image, &ImageControl::clicked);
    QSignalSpy entered(&image, &HoverImage::mouseIn);
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(entered.count(), 0);
}

} // namespace
} // namespace scr
