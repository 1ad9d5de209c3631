#include "installer/SaverWatcherService.h"

#include "installer/SaverWatcher.h"

#include <QDBusConnectionInterface>

namespace scr {

SaverWatcherService::SaverWatcherService(const QDBusConnection& bus, const SaverWatcher& watcher,
                                         QString sourceName, QObject* parent)
    : QObject(parent), bus_(bus), watcher_(watcher), sourceName_(std::move(sourceName)) {}

SaverWatcherService::~SaverWatcherService() {
    if (!claimed_) return;
    bus_.unregisterObject(QString::fromLatin1(kPath));
    bus_.interface()->unregisterService(QString::fromLatin1(kService));
}

bool SaverWatcherService::Claim() {
    if (!bus_.isConnected()) return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(QString::fromLatin1(kService),
                                          QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) return false;
    claimed_ = true;
    bus_.registerObject(QString::fromLatin1(kPath), this, QDBusConnection::ExportAllSlots);
    return true;
}

QString SaverWatcherService::Status(QString& idleSource, uint& idleSeconds, bool& showing) {
    idleSource = sourceName_;
    idleSeconds = static_cast<uint>(watcher_.idleSeconds());
    showing = watcher_.showing();
    return watcher_.file();
}

void SaverWatcherService::Quit() {
    emit quitRequested();
}

} // namespace scr
