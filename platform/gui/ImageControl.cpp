#include "platform/gui/ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

namespace scr {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QPixmap& picture) {
    picture_ = picture;
    if (autoSize_ && !picture_.isNull()) resize(picture_.deviceIndependentSize().toSize());
    update();
}

void ImageControl::setStretch(bool on) {
    stretch_ = on;
    update();
}

void ImageControl::setCenter(bool on) {
    center_ = on;
    update();
}

void ImageControl::setAutoSize(bool on) {
    autoSize_ = on;
    if (autoSize_ && !picture_.isNull()) resize(picture_.deviceIndependentSize().toSize());
}

void ImageControl::setTransparent(bool on) {
    transparent_ = on;
    update();
}

QRect ImageControl::pictureRect() const {
    if (picture_.isNull()) return {};
    if (stretch_) return rect();
    const QSize size = picture_.deviceIndependentSize().toSize();
    if (!center_) return QRect(QPoint(0, 0), size);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void ImageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_) painter.fillRect(rect(), palette().window());
    if (!picture_.isNull()) painter.drawPixmap(pictureRect(), picture_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    QWidget::mousePressEvent(event);
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    // The release that follows a double-click is not a click of its own.
    leftPressed_ = false;
    emit doubleClicked();
}

} // namespace scr
