// Prints the Flash host's figures for docs/performance.md: time from Play to
// the first frame for the first and for the next movie, memory (PSS of the
// program and its web engine processes) without and with a movie, and the CPU
// share of a 1024 x 768 movie at its frame rate. Runs offscreen:
//   QT_QPA_PLATFORM=offscreen build/bin/flash_figures
#include "show/FlashHost.h"
#include "show/FlashPlayers.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// This process and every process below it (the web engine's helpers).
std::vector<int> ProcessTree() {
    std::vector<int> tree{static_cast<int>(getpid())};
    for (size_t i = 0; i < tree.size(); ++i) {
        QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(tree[i]));
        if (!children.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& pid : children.readAll().split(' '))
            if (int p = pid.trimmed().toInt(); p > 0) tree.push_back(p);
    }
    return tree;
}

double PssMiB() {
    double kib = 0;
    for (int pid : ProcessTree()) {
        QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!file.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("Pss:")) kib += line.mid(4).trimmed().split(' ').value(0).toDouble();
    }
    return kib / 1024;
}

// CPU seconds (user + system) used so far by the process tree.
double CpuSeconds() {
    double ticks = 0;
    for (int pid : ProcessTree()) {
        QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!file.open(QIODevice::ReadOnly)) continue;
        QByteArray stat = file.readAll();
        QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        ticks += fields.value(11).toDouble() + fields.value(12).toDouble(); // utime, stime
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

QString MakeMovie(const QString& folder, const QString& name, int frames, int fps, int width, int height) {
    QString path = folder + "/" + name;
    QString script = QStringLiteral(SCR_SOURCE_DIR "/assets/generators/make_swf.py");
    QProcess::execute("python3", {script, QStringLiteral("square"), path, "--frames", QString::number(frames),
                                  "--fps", QString::number(fps), "--width", QString::number(width),
                                  "--height", QString::number(height)});
    return path;
}

// Waits in a plain event loop, as the show does (its modal loop), until the
// condition holds or the time is up. QTest's waits sleep between rounds of
// events, which delays every step of the web engine's work by up to 10 ms.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (condition()) loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(1);
    if (!condition()) loop.exec();
    return condition();
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Plays a movie in a new host (after releasing the previous one, as the show
// does) and returns the milliseconds from Play to the notice of frame 1,
// less one frame time: the time to the first frame.
double StartMovie(QWidget& parent, scr::FlashPlayers& players, const QString& path, int width, int height,
                  std::unique_ptr<scr::FlashHost>& host) {
    host.reset();
    host.reset(scr::CreateFlashHost(&parent, players, 0, 0, width, height));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) host->SetMovie(file.readAll());
    host->SetLoop(true);
    host->show();
    QElapsedTimer clock;
    clock.start();
    host->Play();
    if (!WaitFor([&] { return host->FrameNum() > 0; }, 60000)) return -1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6 - 1000.0 / 24;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString small = MakeMovie(dir.path(), "small.swf", 48, 24, 640, 480);
    QString large = MakeMovie(dir.path(), "large.swf", 48, 24, 1024, 768);
    QWidget parent;
    parent.resize(1024, 768);
    parent.show();
    Wait(500);
    std::printf("memory without a movie: %.0f MiB PSS\n", PssMiB());

    scr::FlashPlayers players(&parent);
    std::unique_ptr<scr::FlashHost> host;
    std::printf("first movie, Play to first frame: %.0f ms\n",
                StartMovie(parent, players, small, 640, 480, host));
    Wait(2000);
    std::printf("memory with a movie: %.0f MiB PSS\n", PssMiB());
    for (int i = 0; i < 3; ++i)
        std::printf("next movie, Play to first frame: %.0f ms\n",
                    StartMovie(parent, players, small, 640, 480, host));

    StartMovie(parent, players, large, 1024, 768, host);
    Wait(1000);
    double cpu = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    Wait(10000);
    double share = (CpuSeconds() - cpu) / (static_cast<double>(clock.elapsed()) / 1000);
    std::printf("1024 x 768 movie at 24 fps: %.0f %% of one core\n", share * 100);
    host.reset();
    return 0;
}
