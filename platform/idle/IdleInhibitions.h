#pragma once
// Whether something keeps the screen saver off: a video player or a browser
// that asked the desktop not to blank the screen. Wayland idle inhibitors are
// honoured by the compositor's idle protocol itself; this class hears the
// requests made on the session bus, from where the desktop keeps them:
//   - GNOME: org.gnome.SessionManager, whose idle inhibit flag (8) is set
//     while any application inhibits idleness (Mutter's idle time does not
//     heed inhibitors);
//   - Plasma: PowerDevil's policy agent, to which the desktop's
//     org.freedesktop.ScreenSaver hands every Inhibit as a "change screen
//     settings" inhibition;
//   - elsewhere (sway): org.freedesktop.ScreenSaver served here when no one
//     else serves it.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace scr {

class ScreenSaverInhibitService;

class IdleInhibitions : public QObject {
    Q_OBJECT

public:
    explicit IdleInhibitions(const QDBusConnection& bus, QObject* parent = nullptr);

    bool inhibited() const;
    // Where inhibitions are heard, for `scrtool saver status`.
    QStringList sources() const;

signals:
    void changed(bool inhibited);

private slots:
    void SessionInhibitorsChanged();
    void PolicyInhibitionsChanged();

private:
    void Update();

    QDBusConnection bus_;
    bool session_ = false; // GNOME's session manager answers
    bool policy_ = false;  // PowerDevil's policy agent answers
    bool sessionInhibited_ = false;
    bool policyInhibited_ = false;
    ScreenSaverInhibitService* own_ = nullptr;
    bool last_ = false;
};

} // namespace scr
