#pragma once
// A page control: a stack of pages of which one is active, below a row of
// tabs TabHeight pixels high. Its own tab row stays empty: the dialog lays a
// bar of tab buttons over it. Each page's tab can be hidden, which takes the
// page out of reach. Setting the active page in code raises no event, as with
// the class library's page control; the owner runs its change handler itself.

#include <QWidget>

class QStackedWidget;

namespace scr {

class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height);

    // Adds a page (the control takes it as a child); its tab starts visible.
    void AddPage(QWidget* page);
    int PageCount() const;
    QWidget* Page(int index) const;

    bool TabVisible(const QWidget* page) const;
    void SetTabVisible(QWidget* page, bool visible);

    QWidget* ActivePage() const;
    // Makes a page with a visible tab the active page; others are refused.
    void SetActivePage(QWidget* page);

    // The area the pages fill.
    QRect PageRect() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStackedWidget* stack_;
    int tabHeight_ = 25;
};

} // namespace scr
