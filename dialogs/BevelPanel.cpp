#include "dialogs/BevelPanel.h"

#include <QPainter>
#include <algorithm>

namespace scr {
namespace {

// Draws `width` nested one-pixel frames: top and left edges in `topLeft`,
// bottom and right edges in `bottomRight`, and shrinks the rectangle.
void DrawBevel(QPainter& painter, QRect& rect, BevelPanel::Bevel bevel, int width) {
    if (bevel == BevelPanel::Bevel::None) return;
    const bool raised = bevel == BevelPanel::Bevel::Raised;
    const QColor topLeft = raised ? BevelPanel::HighlightColor() : BevelPanel::ShadowColor();
    const QColor bottomRight = raised ? BevelPanel::ShadowColor() : BevelPanel::HighlightColor();
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

} // namespace

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Window)) {}

QColor BevelPanel::HighlightColor() {
    return QColor(0xFF, 0xFF, 0xFF);
}
QColor BevelPanel::ShadowColor() {
    return QColor(0x8F, 0x95, 0x9D);
}

void BevelPanel::setColor(const QColor& color) {
    color_ = color;
    update();
}

void BevelPanel::setBevelOuter(Bevel bevel) {
    outer_ = bevel;
    update();
}

void BevelPanel::setBevelInner(Bevel bevel) {
    inner_ = bevel;
    update();
}

void BevelPanel::setBevelWidth(int width) {
    bevelWidth_ = std::max(width, 0);
    update();
}

void BevelPanel::setBorderWidth(int width) {
    borderWidth_ = std::max(width, 0);
    update();
}

void BevelPanel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void BevelPanel::setCaptionAlignment(Qt::Alignment alignment) {
    captionAlignment_ = alignment;
    update();
}

QRect BevelPanel::innerRect() const {
    int inset = borderWidth_;
    if (outer_ != Bevel::None) inset += bevelWidth_;
    if (inner_ != Bevel::None) inset += bevelWidth_;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    QRect area = rect();
    DrawBevel(painter, area, outer_, bevelWidth_);
    area.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    DrawBevel(painter, area, inner_, bevelWidth_);
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, static_cast<int>(captionAlignment_ | Qt::TextWordWrap), caption_);
    }
}

} // namespace scr
