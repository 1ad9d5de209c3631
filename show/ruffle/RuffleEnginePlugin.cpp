#include "show/ruffle/RuffleEnginePlugin.h"

#include "show/ruffle/RuffleFileCheck.h"
#include "show/ruffle/RuffleFiles.h"
#include "show/ruffle/RufflePagePool.h"

namespace scr {

std::unique_ptr<FlashEnginePool> RuffleEnginePlugin::NewPool(QWidget* home) {
    return std::make_unique<RufflePagePool>(home);
}

QString RuffleEnginePlugin::UnavailableReason() {
    const QString folder = FindRuffleFolder();
    if (!folder.isEmpty()) {
        const QStringList missing = MissingRuffleFiles(folder);
        if (missing.isEmpty()) return {};
        return QStringLiteral("the Ruffle player in %1 is incomplete; missing: %2")
            .arg(folder, missing.join(", "));
    }
    return QStringLiteral("the Ruffle player files were not found in: ") + RuffleSearchFolders().join(", ");
}

} // namespace scr
