#include "installer/IdleWatcherRun.h"

#include "installer/IdleWatcherRegistration.h"
#include "installer/SaverWatcher.h"
#include "installer/SaverWatcherClient.h"
#include "installer/SaverWatcherService.h"
#include "installer/ShowProcess.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/gui/TerminationSignals.h"
#include "platform/idle/IdleInhibitions.h"
#include "platform/idle/IdleSourceChoice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace scr {
namespace {

void Say(const QString& line) {
    std::fprintf(stderr, "scrtool saver: %s\n", qPrintable(line));
}

// Ends the loop when the bus goes: without it there is no status, no single
// watcher per user and no inhibitions.
class BusLossWatch : public QObject {
    Q_OBJECT
public:
    explicit BusLossWatch(QDBusConnection bus) {
        bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                    QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                    SLOT(Disconnected()));
    }
signals:
    void lost();
private slots:
    void Disconnected() { emit lost(); }
};

} // namespace

std::string ScreenSaverFileProblem(const std::string& file) {
    const QFileInfo info(QString::fromStdString(file));
    if (!info.exists()) return file + " is gone";
    // A Mac projector is a folder; everything else a readable file.
    if (!info.isReadable() || (!info.isFile() && !IsMacAppFolder(file))) return "cannot read " + file;
    const RecognisedFile recognised = RecogniseScreenSaverFile(file);
    if (recognised.kind == ScreenSaverFileKind::None)
        return file +
               " holds no screen saver (damaged, or neither a packed screen saver nor a Flash movie: " +
               recognised.reason + ")";
    return {};
}

int RunIdleWatcher(const std::string& file, std::optional<int> idleSeconds) {
    const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
    if (const std::string problem = ScreenSaverFileProblem(path.toStdString()); !problem.empty()) {
        Say(QString::fromStdString(problem));
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        Say(QStringLiteral("this is an X11 session: its screen-saver hosts (xscreensaver, mate-screensaver, "
                           "xfce4-screensaver) start the show there; `scrtool install FILE` registers it "
                           "with them"));
        return kExitNoIdleSource;
    }
    int argc = 1;
    char name[] = "scrtool";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        Say(QStringLiteral("no session bus: no status, no check for a second watcher, and inhibitions "
                           "only from the compositor"));
    if (const auto running = AskSaverWatcher(bus)) {
        Say(QStringLiteral("a watcher runs already for this user, for %1").arg(running->file));
        return kExitWatcherRunning;
    }
    QString why;
    std::unique_ptr<IdleSource> source = OpenIdleSource(bus, &why);
    if (!source) {
        Say(QStringLiteral("this session reports no idleness, so nothing would start the show (%1)")
                .arg(why));
        return kExitNoIdleSource;
    }
    const int seconds = idleSeconds.value_or(DefaultIdleSeconds());
    ShowProcess show(QString::fromStdString(ScrtoolProgram()));
    SaverWatcher watcher(*source, show, path, seconds, [](const QString& f) {
        return QString::fromStdString(ScreenSaverFileProblem(f.toStdString()));
    });
    SaverWatcherService service(bus, watcher, source->name());
    if (bus.isConnected() && !service.Claim()) {
        Say(QStringLiteral("a watcher runs already for this user"));
        return kExitWatcherRunning;
    }
    std::unique_ptr<IdleInhibitions> inhibitions;
    std::unique_ptr<BusLossWatch> busLoss;
    if (bus.isConnected()) {
        inhibitions = std::make_unique<IdleInhibitions>(bus);
        QObject::connect(inhibitions.get(), &IdleInhibitions::changed, &watcher, &SaverWatcher::SetInhibited);
        watcher.SetInhibited(inhibitions->inhibited());
        busLoss = std::make_unique<BusLossWatch>(bus);
        QObject::connect(busLoss.get(), &BusLossWatch::lost, &application, [] {
            Say(QStringLiteral("the session bus went away"));
            QCoreApplication::exit(1);
        });
    }
    QObject::connect(&watcher, &SaverWatcher::report, &watcher, [](const QString& line) { Say(line); });
    QObject::connect(&watcher, &SaverWatcher::lost, &application, [](const QString& reason) {
        Say(reason);
        QCoreApplication::exit(1);
    });
    QObject::connect(&service, &SaverWatcherService::quitRequested, &application, &QCoreApplication::quit);
    TerminationSignals termination([] { QCoreApplication::quit(); });

    Say(QStringLiteral("%1 shows after %2 s of idleness (%3)").arg(path).arg(seconds).arg(source->name()));
    watcher.Start();
    return application.exec();
}

} // namespace scr

#include "IdleWatcherRun.moc"
