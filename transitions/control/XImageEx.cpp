#include "transitions/control/XImageEx.h"

#include <QEvent>

namespace scr {

XImageEx::XImageEx(QWidget* parent) : ImageControl(parent) {}

XImageEx::~XImageEx() = default;

void XImageEx::MouseIn() {
    emit mouseIn(this);
}

void XImageEx::MouseOut() {
    emit mouseOut(this);
}

bool XImageEx::event(QEvent* event) {
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
