#include "installer/ShowProcess.h"

namespace scr {
namespace {

// How long a show that was asked to end may take before it is killed.
constexpr int kEndMs = 10000;

} // namespace

ShowProcess::ShowProcess(QString program, QObject* parent) : program_(std::move(program)) {
    setParent(parent);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        emit finished(status == QProcess::NormalExit ? code : 0, status == QProcess::CrashExit);
    });
}

ShowProcess::~ShowProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    Stop();
    if (!process_.waitForFinished(kEndMs)) {
        process_.kill();
        process_.waitForFinished(1000);
    }
}

bool ShowProcess::Start(const QString& file, QString* why) {
    if (running()) return true;
    process_.start(program_, {QStringLiteral("play"), file, QStringLiteral("/s")});
    if (!process_.waitForStarted(kEndMs)) {
        if (why) *why = process_.errorString();
        return false;
    }
    return true;
}

void ShowProcess::Stop() {
    if (running()) process_.terminate(); // SIGTERM
}

bool ShowProcess::running() const {
    return process_.state() != QProcess::NotRunning;
}

} // namespace scr
