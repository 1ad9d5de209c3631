#include "dialogs/OwnerDrawComboBox.h"

#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace scr {
namespace {

class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(OwnerDrawComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setClipRect(option.rect);
        combo_->DrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), combo_->itemHeight());
    }

private:
    OwnerDrawComboBox* combo_;
};

} // namespace

OwnerDrawComboBox::OwnerDrawComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new OwnerDrawDelegate(this));
}

void OwnerDrawComboBox::setItemHeight(int height) {
    itemHeight_ = height;
    updateGeometry();
    update();
}

void OwnerDrawComboBox::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const {
    painter.fillRect(rect, selected ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base));
    if (onDrawItem_) onDrawItem_(painter, index, rect, selected);
}

QSize OwnerDrawComboBox::sizeHint() const {
    return QSize(QComboBox::sizeHint().width(), itemHeight_ + 6);
}

QSize OwnerDrawComboBox::minimumSizeHint() const {
    return QSize(QComboBox::minimumSizeHint().width(), itemHeight_ + 6);
}

void OwnerDrawComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(field);
    DrawItem(painter, currentIndex(), field, hasFocus());
    painter.restore();
}

} // namespace scr
