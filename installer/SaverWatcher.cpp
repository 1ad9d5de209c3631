#include "installer/SaverWatcher.h"

#include "installer/ShowLauncher.h"
#include "platform/idle/IdleSource.h"

namespace scr {

SaverWatcher::SaverWatcher(IdleSource& source, ShowLauncher& launcher, QString file, int idleSeconds,
                           FileCheck check, QObject* parent)
    : QObject(parent), source_(source), launcher_(launcher), file_(std::move(file)),
      idleSeconds_(idleSeconds), check_(std::move(check)) {
    connect(&source_, &IdleSource::idle, this, &SaverWatcher::Idle);
    connect(&source_, &IdleSource::resumed, this, &SaverWatcher::Resumed);
    connect(&source_, &IdleSource::lost, this, [this](const QString& reason) {
        launcher_.Stop();
        emit lost(reason);
    });
    connect(&launcher_, &ShowLauncher::finished, this, &SaverWatcher::ShowFinished);
}

void SaverWatcher::Start() {
    source_.Arm(idleSeconds_);
}

bool SaverWatcher::showing() const {
    return launcher_.running();
}

void SaverWatcher::SetInhibited(bool inhibited) {
    if (inhibited == inhibited_) return;
    inhibited_ = inhibited;
    // The user stayed idle past the inhibition: the idle time counts from its end.
    if (!inhibited_ && idleWhileInhibited_) {
        idleWhileInhibited_ = false;
        source_.Arm(idleSeconds_);
    }
}

void SaverWatcher::Idle() {
    if (launcher_.running()) return;
    if (inhibited_) {
        idleWhileInhibited_ = true;
        return;
    }
    if (const QString problem = check_ ? check_(file_) : QString(); !problem.isEmpty()) {
        emit report(QStringLiteral("not shown: %1").arg(problem));
        return;
    }
    QString why;
    if (!launcher_.Start(file_, &why))
        emit report(QStringLiteral("the show of %1 did not start: %2").arg(file_, why));
}

void SaverWatcher::Resumed() {
    idleWhileInhibited_ = false;
    // The user is back: the show ends even if its window never had the focus.
    launcher_.Stop();
}

void SaverWatcher::ShowFinished(int status, bool crashed) {
    if (crashed)
        emit report(QStringLiteral("the show of %1 crashed").arg(file_));
    else if (status != 0)
        emit report(QStringLiteral("the show of %1 ended with status %2").arg(file_).arg(status));
    // The next idle spell is counted from the show's end.
    source_.Arm(idleSeconds_);
}

} // namespace scr
