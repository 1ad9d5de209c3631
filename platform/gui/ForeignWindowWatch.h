#pragma once
// Notices at once when a window of another program is destroyed: the preview
// box of a screen-saver host that closed, say. The X server reports it
// (DestroyNotify, asked for on that window); the callback runs once, from
// the event loop. X11 only; elsewhere nothing is ever reported.

#include "platform/ShowMode.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>

namespace scr {

class ForeignWindowWatch : public QObject, public QAbstractNativeEventFilter {
public:
    // `gone` is not called once the watch (or its parent) is deleted.
    ForeignWindowWatch(WindowHandle window, std::function<void()> gone, QObject* parent);
    ~ForeignWindowWatch() override;

    // Whether the X server reports on the window (false without X11, or
    // when the window was already gone).
    bool watching() const { return watching_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    WindowHandle window_;
    std::function<void()> gone_;
    bool watching_ = false;
    bool reported_ = false;
};

} // namespace scr
