#include "dialogs/ComponentRole.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>

namespace scr {
namespace {

// A page of a QTabWidget sits in the tab widget's internal stack.
QTabWidget* TabWidgetOfPage(QWidget* page) {
    QWidget* stack = page->parentWidget();
    if (!qobject_cast<QStackedWidget*>(stack)) return nullptr;
    return qobject_cast<QTabWidget*>(stack->parentWidget());
}

} // namespace

void DeclareComponent(QObject* component, ComponentRole role, int tag) {
    if (!component) return;
    component->setProperty(kRoleProperty, static_cast<int>(role));
    component->setProperty(kTagProperty, tag);
}

void SetComponentTag(QObject* component, int tag) {
    if (component) component->setProperty(kTagProperty, tag);
}

ComponentRole RoleOfComponent(const QObject* component) {
    if (!component) return ComponentRole::None;
    const QVariant role = component->property(kRoleProperty);
    const int value = role.isValid() ? role.toInt() : 0;
    if (value < 0 || value > static_cast<int>(ComponentRole::MenuItem)) return ComponentRole::None;
    return static_cast<ComponentRole>(value);
}

int TagOfComponent(const QObject* component) {
    if (!component) return 0;
    const QVariant tag = component->property(kTagProperty);
    return tag.isValid() ? tag.toInt() : 0;
}

QString StripAccelerators(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                text += u'&';
                ++i;
            }
            continue;
        }
        text += caption[i];
    }
    return text;
}

bool SetComponentCaption(QObject* component, const QString& caption) {
    switch (RoleOfComponent(component)) {
    case ComponentRole::None:
        return false;
    case ComponentRole::Label:
        if (auto* label = qobject_cast<QLabel*>(component)) {
            label->setText(label->buddy() ? caption : StripAccelerators(caption));
            return true;
        }
        return false;
    case ComponentRole::Button:
    case ComponentRole::CheckBox:
    case ComponentRole::SpeedButton:
        if (auto* button = qobject_cast<QAbstractButton*>(component)) {
            button->setText(caption);
            return true;
        }
        return false;
    case ComponentRole::GroupBox:
        if (auto* box = qobject_cast<QGroupBox*>(component)) {
            box->setTitle(caption);
            return true;
        }
        return false;
    case ComponentRole::TabSheet:
        if (auto* page = qobject_cast<QWidget*>(component)) {
            page->setWindowTitle(caption);
            if (QTabWidget* tabs = TabWidgetOfPage(page)) tabs->setTabText(tabs->indexOf(page), caption);
            return true;
        }
        return false;
    case ComponentRole::MenuItem:
        if (auto* action = qobject_cast<QAction*>(component)) {
            action->setText(caption);
            return true;
        }
        if (auto* menu = qobject_cast<QMenu*>(component)) {
            menu->setTitle(caption);
            return true;
        }
        return false;
    }
    return false;
}

QString ComponentCaption(const QObject* component) {
    switch (RoleOfComponent(component)) {
    case ComponentRole::None:
        return {};
    case ComponentRole::Label:
        if (auto* label = qobject_cast<const QLabel*>(component)) return label->text();
        return {};
    case ComponentRole::Button:
    case ComponentRole::CheckBox:
    case ComponentRole::SpeedButton:
        if (auto* button = qobject_cast<const QAbstractButton*>(component)) return button->text();
        return {};
    case ComponentRole::GroupBox:
        if (auto* box = qobject_cast<const QGroupBox*>(component)) return box->title();
        return {};
    case ComponentRole::TabSheet:
        if (auto* page = qobject_cast<const QWidget*>(component)) return page->windowTitle();
        return {};
    case ComponentRole::MenuItem:
        if (auto* action = qobject_cast<const QAction*>(component)) return action->text();
        if (auto* menu = qobject_cast<const QMenu*>(component)) return menu->title();
        return {};
    }
    return {};
}

} // namespace scr
