#include "show/ruffle/RuffleFiles.h"

#include "platform/ExecutablePath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace scr {

QStringList RuffleSearchFolders() {
    if (QString env = qEnvironmentVariable("SCRPLAYER_RUFFLE_DIR"); !env.isEmpty()) return {env};
    QString exeFolder = QFileInfo(QString::fromStdString(ExecutablePath())).absolutePath();
    QStringList folders{exeFolder + "/ruffle", QDir::cleanPath(exeFolder + "/../share/scrplayer/ruffle")};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + "/scrplayer/ruffle";
    return folders;
}

QString FindRuffleFolder() {
    for (const QString& folder : RuffleSearchFolders())
        if (QFileInfo(folder + "/ruffle.js").isFile()) return QFileInfo(folder).absoluteFilePath();
    return {};
}

} // namespace scr
