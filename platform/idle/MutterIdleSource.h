#pragma once
// Idleness from GNOME's compositor: org.gnome.Mutter.IdleMonitor on the
// session bus, which any client may use. An idle watch says when the user has
// been idle for the spell's length; a user-active watch, set once idle, says
// when the user is back.

#include "platform/idle/IdleSource.h"

#include <QDBusConnection>
#include <memory>

class QDBusServiceWatcher;

namespace scr {

class MutterIdleSource : public IdleSource {
    Q_OBJECT

public:
    // The monitor on `bus`; nullptr, with the reason in `why`, when nobody
    // serves it there.
    static std::unique_ptr<MutterIdleSource> Connect(const QDBusConnection& bus, QString* why);
    ~MutterIdleSource() override;

    void Arm(int seconds) override;
    QString name() const override;

private slots:
    void WatchFired(uint id);
    void BusDisconnected();

private:
    explicit MutterIdleSource(const QDBusConnection& bus);
    // Calls a method of the monitor; its one unsigned answer, or 0 when it failed.
    uint Call(const QString& method, const QVariantList& arguments);
    void Remove(uint& watch);
    void Lose(const QString& reason);

    QDBusConnection bus_;
    QDBusServiceWatcher* owner_ = nullptr;
    uint idleWatch_ = 0;
    uint activeWatch_ = 0;
    bool lost_ = false;
};

} // namespace scr
