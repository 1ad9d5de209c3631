#pragma once
// The idle watcher on the session bus: a name of its own (one watcher per
// user: a second one finds the name taken) and an object that says what it
// watches and can be asked to end.
//
//   service org.scrplayer.Saver, object /org/scrplayer/Saver,
//   interface org.scrplayer.Saver:
//     Status() -> (s file, s idle_source, u idle_seconds, b showing)
//     Quit()

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace scr {

class SaverWatcher;

class SaverWatcherService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.scrplayer.Saver")

public:
    static constexpr const char* kService = "org.scrplayer.Saver";
    static constexpr const char* kPath = "/org/scrplayer/Saver";

    SaverWatcherService(const QDBusConnection& bus, const SaverWatcher& watcher, QString sourceName,
                        QObject* parent = nullptr);
    ~SaverWatcherService() override;

    // Claims the name; false when another watcher holds it (or the bus refused).
    bool Claim();

public slots:
    QString Status(QString& idleSource, uint& idleSeconds, bool& showing);
    void Quit();

signals:
    void quitRequested();

private:
    QDBusConnection bus_;
    const SaverWatcher& watcher_;
    QString sourceName_;
    bool claimed_ = false;
};

} // namespace scr
