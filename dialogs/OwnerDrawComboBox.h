#pragma once
// A combo box whose items are drawn by its owner, all of one fixed height:
// the owner's draw handler paints each item of the drop-down list and the
// selected item in the closed box.

#include <QComboBox>
#include <functional>

namespace scr {

class OwnerDrawComboBox : public QComboBox {
    Q_OBJECT
public:
    // Paints item `index` into `rect`; `selected` when it is highlighted.
    using DrawItemHandler =
        std::function<void(QPainter& painter, int index, const QRect& rect, bool selected)>;

    explicit OwnerDrawComboBox(QWidget* parent = nullptr);

    void setItemHeight(int height);
    int itemHeight() const { return itemHeight_; }
    void setDrawItemHandler(DrawItemHandler handler) { onDrawItem_ = std::move(handler); }
    // Runs the draw handler (the list's delegate and the closed box call this).
    void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int itemHeight_ = 16;
    DrawItemHandler onDrawItem_;
};

} // namespace scr
