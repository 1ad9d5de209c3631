#include "show/FlashNoticeLabel.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointer>

namespace scr {

FlashNoticeLabel::FlashNoticeLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void FlashNoticeLabel::mouseMoveEvent(QMouseEvent* event) {
    if (events_.onMouseMove) {
        QPoint p = event->position().toPoint();
        events_.onMouseMove(this, MouseShiftState(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void FlashNoticeLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && events_.onClick && rect().contains(event->position().toPoint()))
        events_.onClick(this);
}

void FlashNoticeLabel::contextMenuEvent(QContextMenuEvent* event) {
    if (events_.popupMenu) events_.popupMenu->popup(event->globalPos());
}

} // namespace scr
