#pragma once
// Which idle source this session offers, found at run time from what the
// compositor and the session bus answer, never from the desktop's name:
// a Wayland idle protocol on the compositor of $WAYLAND_DISPLAY first
// (ext-idle-notify-v1 before org_kde_kwin_idle), then GNOME's idle monitor
// on the session bus.

#include "platform/idle/IdleSource.h"

#include <QDBusConnection>
#include <memory>

namespace scr {

// The session's idle source; nullptr, with every reason in `why`, when it has none.
std::unique_ptr<IdleSource> OpenIdleSource(const QDBusConnection& bus, QString* why);

// The idle time the desktop itself uses, less 30 s and at least 60 s, where it
// can be read (GNOME's idle-delay, Plasma's screen-locker timeout, chosen by
// $XDG_CURRENT_DESKTOP since they are settings of those desktops); 300 s
// otherwise.
int DefaultIdleSeconds();

// The figure DefaultIdleSeconds makes of a desktop's own idle time in
// seconds (0 or less: the desktop sets none).
int IdleSecondsFromDesktop(int desktopSeconds);

} // namespace scr
