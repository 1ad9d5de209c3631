#pragma once
// An image control: a windowless-style child widget that shows one picture,
// at its top-left corner, centred, or stretched over the whole control, and
// reports clicks and double-clicks like the class library's image control.

#include <QPixmap>
#include <QWidget>

namespace scr {

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QPixmap& picture() const { return picture_; }
    // Shows a new picture and repaints; with auto-size on, the control takes the picture's size.
    void setPicture(const QPixmap& picture);

    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    bool center() const { return center_; }
    void setCenter(bool on);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    // Transparent: the parent shows through where the picture is transparent
    // or absent. Otherwise the control first fills itself with its window colour.
    bool transparent() const { return transparent_; }
    void setTransparent(bool on);

    // Where the picture is drawn inside the control.
    QRect pictureRect() const;

signals:
    // A left-button press and release both inside the control.
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
    bool transparent_ = true;
    bool leftPressed_ = false;
};

} // namespace scr
