#include "platform/idle/WaylandIdleSource.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <wayland-client.h>

namespace scr {
namespace {

WaylandIdleSource* SourceOf(void* data) {
    return static_cast<WaylandIdleSource*>(data);
}

void OnGlobal(void* data, wl_registry*, uint32_t id, const char* interface, uint32_t version) {
    SourceOf(data)->Registered(id, interface, version);
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t id) {
    SourceOf(data)->Unregistered(id);
}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnIdled(void* data, ext_idle_notification_v1*) {
    SourceOf(data)->Notice(true);
}

void OnResumed(void* data, ext_idle_notification_v1*) {
    SourceOf(data)->Notice(false);
}

const ext_idle_notification_v1_listener kNotificationListener = {OnIdled, OnResumed};

void OnKdeIdle(void* data, org_kde_kwin_idle_timeout*) {
    SourceOf(data)->Notice(true);
}

void OnKdeResumed(void* data, org_kde_kwin_idle_timeout*) {
    SourceOf(data)->Notice(false);
}

const org_kde_kwin_idle_timeout_listener kKdeTimeoutListener = {OnKdeIdle, OnKdeResumed};

uint32_t Milliseconds(int seconds) {
    return static_cast<uint32_t>(seconds < 1 ? 1 : seconds) * 1000u;
}

} // namespace

std::unique_ptr<WaylandIdleSource> WaylandIdleSource::Connect(QString* why) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (why) *why = QStringLiteral("no Wayland display (WAYLAND_DISPLAY is not set)");
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        if (why)
            *why = QStringLiteral("cannot connect to the Wayland display ") +
                   qEnvironmentVariable("WAYLAND_DISPLAY");
        return nullptr;
    }
    std::unique_ptr<WaylandIdleSource> source(new WaylandIdleSource(display));
    // Two round trips: the globals, then the seat's first events.
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0) {
        if (why) *why = QStringLiteral("the Wayland compositor closed the connection");
        return nullptr;
    }
    if (!source->notifier_ && !source->kdeIdle_) {
        if (why)
            *why = QStringLiteral("the Wayland compositor offers no idle protocol "
                                  "(neither ext-idle-notify-v1 nor org_kde_kwin_idle)");
        return nullptr;
    }
    if (!source->seat_) {
        if (why) *why = QStringLiteral("the Wayland compositor offers no seat");
        return nullptr;
    }
    // Where both are offered the standard protocol is used: the other is let go.
    if (source->notifier_ && source->kdeIdle_) {
        org_kde_kwin_idle_destroy(source->kdeIdle_);
        source->kdeIdle_ = nullptr;
    }
    source->readable_ = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, source.get());
    connect(source->readable_, &QSocketNotifier::activated, source.get(), &WaylandIdleSource::Read);
    source->Flush();
    return source;
}

WaylandIdleSource::WaylandIdleSource(wl_display* display) : display_(display) {
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
}

WaylandIdleSource::~WaylandIdleSource() {
    Disarm();
    if (notifier_) ext_idle_notifier_v1_destroy(notifier_);
    if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
    if (seat_) wl_seat_destroy(seat_);
    if (registry_) wl_registry_destroy(registry_);
    if (!lost_) wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void WaylandIdleSource::Registered(uint32_t id, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat_) {
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry_, id, &wl_seat_interface, 1));
        seatId_ = id;
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 && !notifier_) {
        notifier_ = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry_, id, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && !kdeIdle_) {
        kdeIdle_ =
            static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry_, id, &org_kde_kwin_idle_interface, 1));
    }
}

void WaylandIdleSource::Unregistered(uint32_t id) {
    if (id != seatId_ || lost_) return;
    lost_ = true;
    emit lost(QStringLiteral("the Wayland compositor removed its seat"));
}

QString WaylandIdleSource::name() const {
    return notifier_ ? QStringLiteral("ext-idle-notify-v1") : QStringLiteral("org_kde_kwin_idle");
}

void WaylandIdleSource::Disarm() {
    if (notification_) ext_idle_notification_v1_destroy(notification_);
    if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
    notification_ = nullptr;
    kdeTimeout_ = nullptr;
}

void WaylandIdleSource::Arm(int seconds) {
    if (lost_) return;
    Disarm();
    if (notifier_) {
        notification_ = ext_idle_notifier_v1_get_idle_notification(notifier_, Milliseconds(seconds), seat_);
        ext_idle_notification_v1_add_listener(notification_, &kNotificationListener, this);
    } else {
        kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, seat_, Milliseconds(seconds));
        org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeTimeoutListener, this);
    }
    Flush();
}

void WaylandIdleSource::Notice(bool idle) {
    if (idle)
        emit this->idle();
    else
        emit resumed();
}

void WaylandIdleSource::Flush() {
    if (!lost_ && wl_display_flush(display_) < 0 && errno != EAGAIN) {
        lost_ = true;
        readable_->setEnabled(false);
        emit lost(QStringLiteral("the Wayland compositor closed the connection"));
    }
}

void WaylandIdleSource::Read() {
    if (lost_) return;
    // The socket has data (or was closed): read it and run the listeners.
    if (wl_display_dispatch(display_) < 0) {
        lost_ = true;
        readable_->setEnabled(false);
        emit lost(QStringLiteral("the Wayland compositor went away"));
        return;
    }
    Flush();
}

} // namespace scr
