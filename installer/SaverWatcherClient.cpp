#include "installer/SaverWatcherClient.h"

#include "installer/SaverWatcherService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

namespace scr {
namespace {

QDBusMessage Call(const char* method) {
    return QDBusMessage::createMethodCall(
        QString::fromLatin1(SaverWatcherService::kService), QString::fromLatin1(SaverWatcherService::kPath),
        QString::fromLatin1(SaverWatcherService::kService), QString::fromLatin1(method));
}

bool Running(const QDBusConnection& bus) {
    return bus.isConnected() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(SaverWatcherService::kService));
}

} // namespace

std::optional<SaverWatcherStatus> AskSaverWatcher(const QDBusConnection& bus) {
    if (!Running(bus)) return std::nullopt;
    const QDBusMessage reply = bus.call(Call("Status"), QDBus::Block, 5000);
    const QList<QVariant> values = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 4) return std::nullopt;
    return SaverWatcherStatus{values[0].toString(), values[1].toString(), values[2].toUInt(),
                              values[3].toBool()};
}

bool EndSaverWatcher(const QDBusConnection& bus) {
    if (!Running(bus)) return true;
    bus.call(Call("Quit"), QDBus::Block, 5000);
    const QDeadlineTimer deadline(5000);
    while (Running(bus) && !deadline.hasExpired())
        QThread::msleep(50);
    return !Running(bus);
}

} // namespace scr
