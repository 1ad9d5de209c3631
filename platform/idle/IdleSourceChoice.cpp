#include "platform/idle/IdleSourceChoice.h"

#include "platform/StandardDirectories.h"
#include "platform/idle/GnomeIdleDelay.h"
#include "platform/idle/MutterIdleSource.h"
#include "platform/idle/WaylandIdleSource.h"

#include <QSettings>
#include <QString>
#include <algorithm>

namespace scr {
namespace {

constexpr int kFallbackSeconds = 300;
constexpr int kAheadOfDesktopSeconds = 30;
constexpr int kLeastSeconds = 60;

bool DesktopIs(const char* name) {
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    return desktops.contains(QLatin1String(name), Qt::CaseInsensitive);
}

// Plasma's screen-locker timeout (kscreenlockerrc, [Daemon] Timeout in
// minutes, 5 when not set), in seconds.
int PlasmaLockTimeout() {
    QSettings config(QString::fromStdString(XdgConfigHome()) + QStringLiteral("/kscreenlockerrc"),
                     QSettings::IniFormat);
    bool ok = false;
    const int minutes = config.value(QStringLiteral("Daemon/Timeout"), 5).toInt(&ok);
    return ok ? std::clamp(minutes, 0, 1440) * 60 : 0;
}

} // namespace

std::unique_ptr<IdleSource> OpenIdleSource(const QDBusConnection& bus, QString* why) {
    QString waylandWhy, busWhy;
    if (auto wayland = WaylandIdleSource::Connect(&waylandWhy)) return wayland;
    if (auto mutter = MutterIdleSource::Connect(bus, &busWhy)) return mutter;
    if (why) *why = waylandWhy + QStringLiteral("; ") + busWhy;
    return nullptr;
}

int IdleSecondsFromDesktop(int desktopSeconds) {
    if (desktopSeconds <= 0) return kFallbackSeconds;
    return std::max(desktopSeconds - kAheadOfDesktopSeconds, kLeastSeconds);
}

int DefaultIdleSeconds() {
    if (DesktopIs("GNOME")) return IdleSecondsFromDesktop(GnomeIdleDelay());
    if (DesktopIs("KDE")) return IdleSecondsFromDesktop(PlasmaLockTimeout());
    return kFallbackSeconds;
}

} // namespace scr
