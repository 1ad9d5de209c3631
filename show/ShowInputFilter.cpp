#include "show/ShowInputFilter.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace scr {
namespace {

Point CursorNow() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

Point EventCursor(const QMouseEvent* event) {
    const QPoint p = event->globalPosition().toPoint();
    return {p.x(), p.y()};
}

} // namespace

ShowInputFilter::ShowInputFilter(QWidget* window, InputHandler onInput)
    : window_(window), onInput_(std::move(onInput)) {
    window_->setMouseTracking(true);
    window_->setFocusPolicy(Qt::StrongFocus);
    window_->installEventFilter(this);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive) onInput_({ShowInput::Kind::Deactivated, CursorNow()});
        });
    }
    WatchNativeWindow();
}

ShowInputFilter::~ShowInputFilter() {
    window_->removeEventFilter(this);
    if (nativeWindow_) nativeWindow_->removeEventFilter(this);
}

void ShowInputFilter::WatchNativeWindow() {
    QWindow* native = window_->windowHandle();
    if (!native || native == nativeWindow_) return;
    if (nativeWindow_) nativeWindow_->removeEventFilter(this);
    nativeWindow_ = native;
    native->installEventFilter(this);
    connect(native, &QObject::destroyed, this, [this, native] {
        if (nativeWindow_ == native) nativeWindow_ = nullptr;
    });
}

bool ShowInputFilter::Deliver(ShowInput::Kind kind, Point cursor, QObject* watched) {
    // What an input sets off may replace the native window (a web view added
    // to the show makes Qt create the window anew): then Qt must not go on
    // delivering the event to the deleted window.
    const QPointer<QObject> target(watched);
    onInput_({kind, cursor});
    return !target.isNull();
}

bool ShowInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::WindowActivate:
            onInput_({ShowInput::Kind::Activated, CursorNow()});
            break;
        case QEvent::WindowDeactivate:
            onInput_({ShowInput::Kind::Deactivated, CursorNow()});
            break;
        case QEvent::Show:
        case QEvent::WinIdChange:
            WatchNativeWindow();
            break;
        default:
            break;
        }
        return false;
    }
    if (watched != nativeWindow_) return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers().testFlag(Qt::AltModifier);
        return !Deliver(KeyInputKind(key->key(), alt), CursorNow(), watched);
    }
    case QEvent::MouseMove:
        return !Deliver(ShowInput::Kind::MouseMove, EventCursor(static_cast<QMouseEvent*>(event)), watched);
    case QEvent::MouseButtonPress:
        return !Deliver(ShowInput::Kind::MouseButton, EventCursor(static_cast<QMouseEvent*>(event)), watched);
    default:
        return false;
    }
}

} // namespace scr
