#pragma once
// Idleness from the Wayland compositor, on a connection of its own (no Qt
// GUI is involved): ext-idle-notify-v1 where the compositor offers it (KWin
// 5.27 and later, wlroots 0.16 and later), else KDE's org_kde_kwin_idle
// (older wlroots such as sway 1.7, KWin). Both honour the compositor's idle
// inhibitors (a video player's, say). The connection's events are read when
// its socket has data; nothing runs in between.

#include "platform/idle/IdleSource.h"

#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

namespace scr {

class WaylandIdleSource : public IdleSource {
public:
    // Connects to the compositor of $WAYLAND_DISPLAY; nullptr, with the
    // reason in `why`, when there is none or it offers no idle protocol.
    static std::unique_ptr<WaylandIdleSource> Connect(QString* why);
    ~WaylandIdleSource() override;

    void Arm(int seconds) override;
    QString name() const override;

    // Called by the protocol listeners.
    void Registered(uint32_t id, const char* interface, uint32_t version);
    void Unregistered(uint32_t id);
    void Notice(bool idle);

private:
    explicit WaylandIdleSource(wl_display* display);
    void Disarm();
    void Read();
    void Flush();

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    uint32_t seatId_ = 0;
    ext_idle_notifier_v1* notifier_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    ext_idle_notification_v1* notification_ = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
    QSocketNotifier* readable_ = nullptr;
    bool lost_ = false;
};

} // namespace scr
