#pragma once
// The show as a child process: `scrtool play FILE /s` by the running scrtool
// (or the program named at construction), its output passed through.

#include "installer/ShowLauncher.h"

#include <QProcess>

namespace scr {

class ShowProcess : public ShowLauncher {
public:
    // `program`: the scrtool to run the show with.
    explicit ShowProcess(QString program, QObject* parent = nullptr);
    ~ShowProcess() override;

    bool Start(const QString& file, QString* why) override;
    void Stop() override;
    bool running() const override;

private:
    QString program_;
    QProcess process_;
};

} // namespace scr
