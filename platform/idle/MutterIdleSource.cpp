#include "platform/idle/MutterIdleSource.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

namespace scr {
namespace {

const QString kService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kInterface = QStringLiteral("org.gnome.Mutter.IdleMonitor");

} // namespace

std::unique_ptr<MutterIdleSource> MutterIdleSource::Connect(const QDBusConnection& bus, QString* why) {
    if (!bus.isConnected()) {
        if (why) *why = QStringLiteral("no session bus");
        return nullptr;
    }
    if (!bus.interface()->isServiceRegistered(kService)) {
        if (why) *why = QStringLiteral("nobody serves %1 on the session bus").arg(kService);
        return nullptr;
    }
    return std::unique_ptr<MutterIdleSource>(new MutterIdleSource(bus));
}

MutterIdleSource::MutterIdleSource(const QDBusConnection& bus) : bus_(bus) {
    bus_.connect(kService, kPath, kInterface, QStringLiteral("WatchFired"), this, SLOT(WatchFired(uint)));
    bus_.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(BusDisconnected()));
    owner_ = new QDBusServiceWatcher(kService, bus_, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(owner_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { Lose(QStringLiteral("GNOME's idle monitor left the session bus")); });
}

MutterIdleSource::~MutterIdleSource() {
    if (lost_) return;
    Remove(idleWatch_);
    Remove(activeWatch_);
}

QString MutterIdleSource::name() const {
    return kService;
}

uint MutterIdleSource::Call(const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    const QDBusReply<uint> reply = bus_.call(call);
    return reply.isValid() ? reply.value() : 0;
}

void MutterIdleSource::Remove(uint& watch) {
    if (watch == 0) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("RemoveWatch"));
    call << watch;
    bus_.call(call, QDBus::NoBlock);
    watch = 0;
}

void MutterIdleSource::Arm(int seconds) {
    if (lost_) return;
    Remove(idleWatch_);
    Remove(activeWatch_);
    // The monitor counts idleness from the user's last input, which is what a
    // new spell after a show means too: the show ended on input, or the
    // user was active when it ended.
    idleWatch_ = Call(QStringLiteral("AddIdleWatch"),
                      {QVariant::fromValue(qulonglong(seconds < 1 ? 1 : seconds) * 1000)});
    if (idleWatch_ == 0) Lose(QStringLiteral("GNOME's idle monitor refused an idle watch"));
}

void MutterIdleSource::WatchFired(uint id) {
    if (lost_ || id == 0) return;
    if (id == idleWatch_) {
        // A user-active watch fires once, at the next input.
        Remove(activeWatch_);
        activeWatch_ = Call(QStringLiteral("AddUserActiveWatch"), {});
        emit idle();
    } else if (id == activeWatch_) {
        activeWatch_ = 0;
        emit resumed();
    }
}

void MutterIdleSource::BusDisconnected() {
    Lose(QStringLiteral("the session bus went away"));
}

void MutterIdleSource::Lose(const QString& reason) {
    if (lost_) return;
    lost_ = true;
    emit lost(reason);
}

} // namespace scr
