#include "show/ruffle/RuffleFiles.h"

#include "platform/ExecutablePath.h"
#include "platform/InstallPrefixes.h"
#include "platform/TrustedPath.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <cstdio>

namespace scr {

QStringList RuffleSearchFolders() {
    if (QString env = qEnvironmentVariable("SCRPLAYER_RUFFLE_DIR"); !env.isEmpty()) return {env};
    QString exeFolder = QFileInfo(QString::fromStdString(ExecutablePath())).absolutePath();
    QStringList folders{exeFolder + "/ruffle"};
    for (const std::string& prefix : InstallPrefixes())
        folders << QString::fromStdString(prefix) + "/share/scrplayer/ruffle";
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir::cleanPath(data + "/scrplayer/ruffle");
    folders.removeDuplicates();
    return folders;
}

QString FindRuffleFolder() {
    for (const QString& folder : RuffleSearchFolders()) {
        if (!QFileInfo(folder + "/ruffle.js").isFile()) continue;
        if (const QString unsafe = QString::fromStdString(UntrustedFolderReason(folder.toStdString()));
            !unsafe.isEmpty()) {
            // Every movie searches again; one message per folder is enough.
            static QSet<QString> reported;
            const QString message = QStringLiteral("Ruffle player skipped %1: %2").arg(folder, unsafe);
            if (!reported.contains(message)) std::fprintf(stderr, "scrplayer: %s\n", qPrintable(message));
            reported.insert(message);
            continue;
        }
        return QFileInfo(folder).absoluteFilePath();
    }
    return {};
}

} // namespace scr
