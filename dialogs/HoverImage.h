#pragma once
// HoverImage: an image control that tells its owner when the mouse pointer
// enters and leaves it, and repaints itself on both occasions. The skinned
// frame's close button uses it to light up under the mouse.

#include "platform/gui/ImageControl.h"

namespace scr {

class HoverImage : public ImageControl {
    Q_OBJECT
public:
    explicit HoverImage(QWidget* parent = nullptr);
    ~HoverImage() override;

    // Fire the notifications; descendants may override them to react
    // without connecting to the signals.
    virtual void MouseIn();
    virtual void MouseOut();

signals:
    // OnMouseIn / OnMouseOut: the sender is the control itself.
    void mouseIn(scr::HoverImage* sender);
    void mouseOut(scr::HoverImage* sender);

protected:
    // Every event first gets the image control's own handling (clicks and
    // painting stay as they are); then entering calls MouseIn and leaving
    // calls MouseOut, each followed by an immediate repaint, so a picture
    // changed by a handler is what that repaint shows.
    bool event(QEvent* event) override;
};

} // namespace scr
