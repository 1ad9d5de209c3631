#pragma once
// A top-level widget whose behaviour is written as one handler over window
// messages (platform/gui/WindowMessage.h). Qt's events are translated:
//
//   window activated / deactivated  -> NcActivate(1/0), then Activate(WA_ACTIVE / WA_INACTIVE)
//   application active / inactive   -> ActivateApp(1/0)
//   key press                       -> KeyDown(vk), or SysKeyDown(vk) while Alt is held
//   mouse move, button presses      -> MouseMove, L/R/MButtonDown (client coordinates in lParam)
//   window timer expired            -> Timer(id)
//   close request (window manager)  -> CloseQuery() decides
//
// Messages can also be posted (queued behind pending events, like a real
// message queue) or sent (handled at once), which is how a window posts
// itself a first timer tick or a close, and how tests drive a window.
//
// Window timers carry the caller's ids (SetTimer(555, ms) gives Timer(555)
// messages); setting an id that runs already restarts it with the new interval.
// They run on the show clock the window is given (the wall clock unless told
// otherwise), so a show rendered to a video paces itself on virtual time.

#include "platform/ShowClock.h"
#include "platform/gui/WallClock.h"
#include "platform/gui/WindowMessage.h"

#include <QWidget>
#include <map>
#include <memory>

namespace scr {

class MessageWindow : public QWidget {
    Q_OBJECT

public:
    explicit MessageWindow(QWidget* parent = nullptr, ShowClock& clock = WallClock::Instance());
    ~MessageWindow() override;

    void PostMessage(Msg id, uintptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t SendMessage(Msg id, uintptr_t wParam = 0, intptr_t lParam = 0);

    // Starts (or restarts) the timer with this id; returns the id, 0 on failure.
    unsigned SetTimer(unsigned id, int intervalMs);
    // Stops the timer; false when no timer with this id runs.
    bool KillTimer(unsigned id);
    bool HasTimer(unsigned id) const;
    int TimerInterval(unsigned id) const;

    // Shows the window and runs a local event loop until the window has
    // closed (a close that CloseQuery() accepted). Returns at once when the
    // window is closed already inside its first events.
    void RunModal();

signals:
    // The window has accepted a close and is hidden.
    void closed();

protected:
    // Handles one message. The default hands it to DefaultWindowProc;
    // subclasses call DefaultWindowProc where the default handling belongs.
    virtual void WindowProc(WindowMessage& message);
    // The standard handling: Activate -> OnActivate / OnDeactivate;
    // SysKeyDown(F4) -> SysCommand(SC_CLOSE); SysCommand(SC_CLOSE) and
    // Close -> close(), which asks CloseQuery().
    void DefaultWindowProc(WindowMessage& message);

    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    // Whether a close may go through; true unless a subclass says otherwise.
    virtual bool CloseQuery() { return true; }

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Deliver(WindowMessage message);
    void WatchNativeWindow();

    // A stopped timer is kept for its id's next start: a tick may kill its
    // own timer, which then must not be destroyed under it.
    struct WindowTimer {
        std::unique_ptr<ClockTimer> timer;
        int intervalMs = 0;
    };
    ShowClock& clock_;
    std::map<unsigned, WindowTimer> timers_;
    QObject* watchedWindow_ = nullptr;
    bool isClosed_ = false;
};

} // namespace scr
