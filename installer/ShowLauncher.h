#pragma once
// Starts and stops the show of a screen saver for the idle watcher, as a
// process of its own: whatever the show does, the watcher goes on.

#include <QObject>
#include <QString>

namespace scr {

class ShowLauncher : public QObject {
    Q_OBJECT

public:
    // Starts the show of `file`; false, with a reason in `why`, when it could not start.
    virtual bool Start(const QString& file, QString* why) = 0;
    // Asks the running show to end (as a screen-saver host does, with SIGTERM).
    virtual void Stop() = 0;
    virtual bool running() const = 0;

signals:
    // The show ended: with an exit status, or by a signal (`crashed`).
    void finished(int status, bool crashed);
};

} // namespace scr
