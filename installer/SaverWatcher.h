#pragma once
// The idle watcher: starts the show of one screen saver once the user has
// been idle for the idle time, ends it when the user is back, and waits for
// the next idle spell, for as long as the session lasts.
//
//   waiting --idle--> showing --resumed (or the show ends by itself)--> waiting
//
// Nothing starts while something inhibits idleness; when the inhibition ends
// during an idle spell, a new spell is counted from then. A file that cannot
// be shown (removed, damaged) is reported at the idle spell that wanted it,
// and the watcher goes on waiting; so does a show that crashes.

#include <QObject>
#include <QString>
#include <functional>

namespace scr {

class IdleSource;
class ShowLauncher;

class SaverWatcher : public QObject {
    Q_OBJECT

public:
    // Why `file` cannot be shown now; empty when it can.
    using FileCheck = std::function<QString(const QString& file)>;

    SaverWatcher(IdleSource& source, ShowLauncher& launcher, QString file, int idleSeconds, FileCheck check,
                 QObject* parent = nullptr);

    // Starts counting the first idle spell.
    void Start();

    const QString& file() const { return file_; }
    int idleSeconds() const { return idleSeconds_; }
    bool showing() const;

public slots:
    void SetInhibited(bool inhibited);

signals:
    // A line for standard error: what happened that the user should know.
    void report(const QString& line);
    // The idle source is gone: the watcher can do nothing more.
    void lost(const QString& reason);

private:
    void Idle();
    void Resumed();
    void ShowFinished(int status, bool crashed);

    IdleSource& source_;
    ShowLauncher& launcher_;
    QString file_;
    int idleSeconds_;
    FileCheck check_;
    bool inhibited_ = false;
    bool idleWhileInhibited_ = false;
};

} // namespace scr
