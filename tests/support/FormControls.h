#pragma once
// Tests reach a form's controls the way its language tables do, by object
// name, and its handlers through the meta-object system. A missing name fails
// the test.

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <gtest/gtest.h>

namespace scr::test {

template <typename Control>
Control* FindControl(const QObject& form, const char* objectName) {
    auto* control = form.findChild<Control*>(QString::fromLatin1(objectName));
    if (!control) ADD_FAILURE() << "no control named " << objectName;
    return control;
}

// Runs one of a form's event handlers (private slots) as its control would.
inline void InvokeHandler(QObject& form, const char* handler) {
    if (!QMetaObject::invokeMethod(&form, handler, Qt::DirectConnection))
        ADD_FAILURE() << "no handler named " << handler;
}

// Runs a handler that is told which component sent the event.
inline void InvokeHandler(QObject& form, const char* handler, QObject* sender) {
    if (!QMetaObject::invokeMethod(&form, handler, Qt::DirectConnection, Q_ARG(QObject*, sender)))
        ADD_FAILURE() << "no handler named " << handler << " taking a sender";
}

} // namespace scr::test
