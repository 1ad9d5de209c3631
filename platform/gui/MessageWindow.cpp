#include "platform/gui/MessageWindow.h"

#include "platform/gui/VirtualKeys.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

namespace scr {
namespace {

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    explicit MessageEvent(const WindowMessage& message) : QEvent(kMessageEventType), message_(message) {}
    const WindowMessage& message() const { return message_; }

private:
    WindowMessage message_;
};

Msg ButtonMessage(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return Msg::RButtonDown;
    case Qt::MiddleButton:
        return Msg::MButtonDown;
    default:
        return Msg::LButtonDown;
    }
}

} // namespace

MessageWindow::MessageWindow(QWidget* parent, ShowClock& clock) : QWidget(parent), clock_(clock) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            Deliver({Msg::ActivateApp, state == Qt::ApplicationActive ? 1u : 0u, 0});
        });
    }
}

MessageWindow::~MessageWindow() {
    // The base destructor destroys the native window and may end the
    // application's active state; by then this object is no longer a
    // MessageWindow, so nothing may reach the handlers connected above.
    if (watchedWindow_) {
        watchedWindow_->removeEventFilter(this);
        disconnect(watchedWindow_, nullptr, this, nullptr);
    }
    if (QCoreApplication* app = QCoreApplication::instance()) disconnect(app, nullptr, this, nullptr);
}

void MessageWindow::PostMessage(Msg id, uintptr_t wParam, intptr_t lParam) {
    QCoreApplication::postEvent(this, new MessageEvent({id, wParam, lParam}));
}

intptr_t MessageWindow::SendMessage(Msg id, uintptr_t wParam, intptr_t lParam) {
    WindowMessage message{id, wParam, lParam};
    WindowProc(message);
    return message.result;
}

unsigned MessageWindow::SetTimer(unsigned id, int intervalMs) {
    if (id == 0) return 0;
    WindowTimer& entry = timers_[id];
    if (!entry.timer)
        entry.timer = clock_.MakeTimer(TimerKind::Repeating, [this, id] { Deliver({Msg::Timer, id, 0}); });
    entry.intervalMs = intervalMs;
    entry.timer->Start(intervalMs < 0 ? 0 : intervalMs);
    return id;
}

bool MessageWindow::KillTimer(unsigned id) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second.timer->Active()) return false;
    it->second.timer->Stop();
    return true;
}

bool MessageWindow::HasTimer(unsigned id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second.timer->Active();
}

int MessageWindow::TimerInterval(unsigned id) const {
    return HasTimer(id) ? timers_.at(id).intervalMs : -1;
}

void MessageWindow::RunModal() {
    isClosed_ = false;
    QEventLoop loop;
    connect(this, &MessageWindow::closed, &loop, &QEventLoop::quit);
    if (!isVisible()) show();
    WatchNativeWindow();
    if (!isClosed_) loop.exec();
}

void MessageWindow::WindowProc(WindowMessage& message) {
    DefaultWindowProc(message);
}

void MessageWindow::DefaultWindowProc(WindowMessage& message) {
    switch (message.id) {
    case Msg::Activate:
        if ((message.wParam & 0xFFFF) == WA_INACTIVE)
            OnDeactivate();
        else
            OnActivate();
        break;
    case Msg::SysKeyDown:
        if (message.wParam == static_cast<uintptr_t>(vk::F4)) PostMessage(Msg::SysCommand, SC_CLOSE);
        break;
    case Msg::SysCommand:
        if ((message.wParam & 0xFFF0) == SC_CLOSE) close();
        break;
    case Msg::Close:
        close();
        break;
    default:
        break;
    }
}

void MessageWindow::Deliver(WindowMessage message) {
    WindowProc(message);
}

void MessageWindow::WatchNativeWindow() {
    // Input events reach the native window first, exactly once, before Qt
    // hands them to whichever child widget is under the cursor or has focus.
    QWindow* window = windowHandle();
    if (!window || window == watchedWindow_) return;
    if (watchedWindow_) watchedWindow_->removeEventFilter(this);
    watchedWindow_ = window;
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this, window] {
        if (watchedWindow_ == window) watchedWindow_ = nullptr;
    });
}

bool MessageWindow::event(QEvent* event) {
    if (event->type() == kMessageEventType) {
        Deliver(static_cast<MessageEvent*>(event)->message());
        return true;
    }
    switch (event->type()) {
    case QEvent::WindowActivate:
        Deliver({Msg::NcActivate, 1, 0});
        Deliver({Msg::Activate, WA_ACTIVE, 0});
        break;
    case QEvent::WindowDeactivate:
        Deliver({Msg::NcActivate, 0, 0});
        Deliver({Msg::Activate, WA_INACTIVE, 0});
        break;
    case QEvent::Show:
    case QEvent::WinIdChange:
        WatchNativeWindow();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool MessageWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != watchedWindow_) return QWidget::eventFilter(watched, event);
    // What a message sets off may replace the native window (a web view
    // added to the show makes Qt create the window anew): then the event
    // ends here, so that Qt does not go on delivering it to a deleted window.
    const QPointer<QObject> target(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = VirtualKeyFromQtKey(key->key());
        const bool alt = key->modifiers().testFlag(Qt::AltModifier) && code != vk::Menu;
        Deliver({alt ? Msg::SysKeyDown : Msg::KeyDown, static_cast<uintptr_t>(code), 0});
        break;
    }
    case QEvent::MouseMove: {
        const QPoint p = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        Deliver({Msg::MouseMove, 0, MakePointParam(p.x(), p.y())});
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mapFromGlobal(mouse->globalPosition().toPoint());
        Deliver({ButtonMessage(mouse->button()), 0, MakePointParam(p.x(), p.y())});
        break;
    }
    default:
        break;
    }
    if (!target) return true;
    return QWidget::eventFilter(watched, event);
}

void MessageWindow::closeEvent(QCloseEvent* event) {
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    isClosed_ = true;
    emit closed();
}

} // namespace scr
