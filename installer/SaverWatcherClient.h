#pragma once
// Talks to the running idle watcher of this user over the session bus (see
// SaverWatcherService.h).

#include <QDBusConnection>
#include <QString>
#include <optional>

namespace scr {

struct SaverWatcherStatus {
    QString file;
    QString idleSource;
    uint idleSeconds = 0;
    bool showing = false;
};

// What the running watcher says of itself; none when no watcher runs (or no bus).
std::optional<SaverWatcherStatus> AskSaverWatcher(const QDBusConnection& bus);

// Asks the running watcher to end and waits (up to 5 s) until its name is
// gone; true when none runs any more.
bool EndSaverWatcher(const QDBusConnection& bus);

} // namespace scr
