#include "platform/idle/IdleInhibitions.h"

#include "platform/idle/ScreenSaverInhibitService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace scr {
namespace {

const QString kSessionService = QStringLiteral("org.gnome.SessionManager");
const QString kSessionPath = QStringLiteral("/org/gnome/SessionManager");
constexpr uint kInhibitIdle = 8;

const QString kPolicyService = QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent");
const QString kPolicyPath = QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent");
constexpr uint kChangeScreenSettings = 4;

bool AskFlag(const QDBusConnection& bus, const QString& service, const QString& path, const QString& method,
             uint flag) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, method);
    call << flag;
    const QDBusReply<bool> reply = bus.call(call, QDBus::Block, 2000);
    return reply.isValid() && reply.value();
}

} // namespace

IdleInhibitions::IdleInhibitions(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus) {
    if (!bus_.isConnected()) return;
    QDBusConnectionInterface* daemon = bus_.interface();
    if (daemon->isServiceRegistered(kSessionService)) {
        session_ = true;
        for (const char* signal : {"InhibitorAdded", "InhibitorRemoved"})
            bus_.connect(kSessionService, kSessionPath, kSessionService, QString::fromLatin1(signal), this,
                         SLOT(SessionInhibitorsChanged()));
    }
    if (daemon->isServiceRegistered(kPolicyService)) {
        policy_ = true;
        bus_.connect(kPolicyService, kPolicyPath, kPolicyService, QStringLiteral("InhibitionsChanged"), this,
                     SLOT(PolicyInhibitionsChanged()));
    }
    if (!daemon->isServiceRegistered(QString::fromLatin1(ScreenSaverInhibitService::kService))) {
        own_ = new ScreenSaverInhibitService(bus_, this);
        connect(own_, &ScreenSaverInhibitService::inhibitedChanged, this, &IdleInhibitions::Update);
    }
    SessionInhibitorsChanged();
    PolicyInhibitionsChanged();
}

bool IdleInhibitions::inhibited() const {
    return sessionInhibited_ || policyInhibited_ || (own_ && own_->inhibited());
}

QStringList IdleInhibitions::sources() const {
    QStringList names;
    if (session_) names << kSessionService;
    if (policy_) names << kPolicyService;
    if (own_ && own_->serving())
        names << QStringLiteral("org.freedesktop.ScreenSaver (served by the watcher)");
    return names;
}

void IdleInhibitions::SessionInhibitorsChanged() {
    if (session_)
        sessionInhibited_ =
            AskFlag(bus_, kSessionService, kSessionPath, QStringLiteral("IsInhibited"), kInhibitIdle);
    Update();
}

void IdleInhibitions::PolicyInhibitionsChanged() {
    if (policy_)
        policyInhibited_ = AskFlag(bus_, kPolicyService, kPolicyPath, QStringLiteral("HasInhibition"),
                                   kChangeScreenSettings);
    Update();
}

void IdleInhibitions::Update() {
    const bool now = inhibited();
    if (now == last_) return;
    last_ = now;
    emit changed(now);
}

} // namespace scr
