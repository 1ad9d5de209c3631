#include "dialogs/PageControl.h"

#include "dialogs/BevelPanel.h"

#include <QPainter>
#include <QStackedWidget>
#include <QVariant>

namespace scr {
namespace {
constexpr char kTabVisibleProperty[] = "scrTabVisible";
} // namespace

PageControl::PageControl(QWidget* parent) : QWidget(parent), stack_(new QStackedWidget(this)) {
    stack_->setObjectName(QStringLiteral("PageStack"));
}

void PageControl::SetTabHeight(int height) {
    tabHeight_ = height;
    stack_->setGeometry(PageRect());
    update();
}

void PageControl::AddPage(QWidget* page) {
    page->setProperty(kTabVisibleProperty, true);
    stack_->addWidget(page);
}

int PageControl::PageCount() const {
    return stack_->count();
}

QWidget* PageControl::Page(int index) const {
    return stack_->widget(index);
}

bool PageControl::TabVisible(const QWidget* page) const {
    return page && page->property(kTabVisibleProperty).toBool();
}

void PageControl::SetTabVisible(QWidget* page, bool visible) {
    if (!page || stack_->indexOf(page) < 0) return;
    page->setProperty(kTabVisibleProperty, visible);
    if (visible || stack_->currentWidget() != page) return;
    // The active page lost its tab: the first page with a visible tab takes over.
    for (int i = 0; i < stack_->count(); ++i) {
        if (TabVisible(stack_->widget(i))) {
            stack_->setCurrentIndex(i);
            return;
        }
    }
}

QWidget* PageControl::ActivePage() const {
    return stack_->currentWidget();
}

void PageControl::SetActivePage(QWidget* page) {
    if (TabVisible(page) && stack_->indexOf(page) >= 0) stack_->setCurrentWidget(page);
}

QRect PageControl::PageRect() const {
    return QRect(1, tabHeight_ + 1, std::max(width() - 2, 0), std::max(height() - tabHeight_ - 2, 0));
}

void PageControl::resizeEvent(QResizeEvent*) {
    stack_->setGeometry(PageRect());
}

void PageControl::paintEvent(QPaintEvent*) {
    // A thin frame around the pages, the tabs' colour above them.
    QPainter painter(this);
    const QRect frame = PageRect().adjusted(-1, -1, 0, 0);
    painter.setPen(BevelPanel::ShadowColor());
    painter.drawRect(frame);
}

} // namespace scr
