#pragma once
// org.freedesktop.ScreenSaver's Inhibit and UnInhibit, served where no one
// else on the session bus does (sway, for one), so that video players and
// browsers that ask to keep the screen on are heard. The name is claimed only
// while it has no owner and released when the service goes; the methods are
// served on both paths clients use (/org/freedesktop/ScreenSaver and
// /ScreenSaver). A caller that leaves the bus loses its cookies.

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <map>

class QDBusServiceWatcher;

namespace scr {

class ScreenSaverInhibitService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    static constexpr const char* kService = "org.freedesktop.ScreenSaver";

    // Claims the name on `bus` when it has no owner; serving() says whether it did.
    explicit ScreenSaverInhibitService(const QDBusConnection& bus, QObject* parent = nullptr);
    ~ScreenSaverInhibitService() override;

    bool serving() const { return serving_; }
    bool inhibited() const { return !cookies_.empty(); }

public slots:
    uint Inhibit(const QString& application, const QString& reason);
    void UnInhibit(uint cookie);

signals:
    void inhibitedChanged(bool inhibited);

private:
    void CallerLeft(const QString& caller);
    void Drop(std::map<uint, QString>::iterator cookie);

    QDBusConnection bus_;
    QDBusServiceWatcher* callers_ = nullptr;
    std::map<uint, QString> cookies_; // cookie -> the caller's unique bus name
    uint nextCookie_ = 1;
    bool serving_ = false;
};

} // namespace scr
