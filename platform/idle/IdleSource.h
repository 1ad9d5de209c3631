#pragma once
// Where the user's idleness is learnt from: a Wayland compositor's idle
// protocol or GNOME's idle monitor on the session bus. A source never polls:
// it waits for the desktop's own notices.

#include <QObject>
#include <QString>

namespace scr {

class IdleSource : public QObject {
    Q_OBJECT

public:
    // Counts a new idle spell of `seconds`, from now: idle() comes once the
    // user has done nothing for that long, resumed() when the user is active
    // again after it. Arming anew forgets the spell before.
    virtual void Arm(int seconds) = 0;
    // What the source is, as `scrtool saver status` prints it
    // ("ext-idle-notify-v1", "org_kde_kwin_idle", "org.gnome.Mutter.IdleMonitor").
    virtual QString name() const = 0;

signals:
    void idle();
    void resumed();
    // The compositor or the bus went away: nothing more will come.
    void lost(const QString& reason);
};

} // namespace scr
