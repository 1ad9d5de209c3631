#include "dialogs/HoverImage.h"

#include <QEvent>

namespace scr {

HoverImage::HoverImage(QWidget* parent) : ImageControl(parent) {}

HoverImage::~HoverImage() = default;

void HoverImage::MouseIn() {
    emit mouseIn(this);
}

void HoverImage::MouseOut() {
    emit mouseOut(this);
}

bool HoverImage::event(QEvent* event) {
    const bool handled = ImageControl::event(event);
    switch (event->type()) {
    case QEvent::Enter:
        MouseIn();
        repaint();
        break;
    case QEvent::Leave:
        MouseOut();
        repaint();
        break;
    default:
        break;
    }
    return handled;
}

} // namespace scr
