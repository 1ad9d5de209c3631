#include "platform/idle/ScreenSaverInhibitService.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

namespace scr {

ScreenSaverInhibitService::ScreenSaverInhibitService(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    if (!bus_.isConnected()) return;
    QDBusConnectionInterface* daemon = bus_.interface();
    if (daemon->isServiceRegistered(QString::fromLatin1(kService))) return;
    const auto options = QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllSlots;
    if (!bus_.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), this, options) ||
        !bus_.registerObject(QStringLiteral("/ScreenSaver"), this, options)) {
        bus_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        return;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        daemon->registerService(QString::fromLatin1(kService), QDBusConnectionInterface::DontQueueService,
                                QDBusConnectionInterface::DontAllowReplacement);
    serving_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!serving_) {
        bus_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        bus_.unregisterObject(QStringLiteral("/ScreenSaver"));
        return;
    }
    callers_ = new QDBusServiceWatcher(this);
    callers_->setConnection(bus_);
    callers_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(callers_, &QDBusServiceWatcher::serviceUnregistered, this,
            &ScreenSaverInhibitService::CallerLeft);
}

ScreenSaverInhibitService::~ScreenSaverInhibitService() {
    if (!serving_) return;
    bus_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    bus_.unregisterObject(QStringLiteral("/ScreenSaver"));
    bus_.interface()->unregisterService(QString::fromLatin1(kService));
}

uint ScreenSaverInhibitService::Inhibit(const QString&, const QString&) {
    const QString caller = calledFromDBus() ? message().service() : QString();
    const bool was = inhibited();
    const uint cookie = nextCookie_++;
    cookies_[cookie] = caller;
    if (!caller.isEmpty()) callers_->addWatchedService(caller);
    if (!was) emit inhibitedChanged(true);
    return cookie;
}

void ScreenSaverInhibitService::UnInhibit(uint cookie) {
    const auto found = cookies_.find(cookie);
    if (found != cookies_.end()) Drop(found);
}

void ScreenSaverInhibitService::CallerLeft(const QString& caller) {
    callers_->removeWatchedService(caller);
    for (auto it = cookies_.begin(); it != cookies_.end();) {
        auto next = std::next(it);
        if (it->second == caller) Drop(it);
        it = next;
    }
}

void ScreenSaverInhibitService::Drop(std::map<uint, QString>::iterator cookie) {
    cookies_.erase(cookie);
    if (cookies_.empty()) emit inhibitedChanged(false);
}

} // namespace scr
