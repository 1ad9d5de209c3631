#include "show/ruffle/RuffleEnginePlugin.h"

#include "show/ruffle/RuffleEngine.h"
#include "show/ruffle/RuffleFileCheck.h"
#include "show/ruffle/RuffleFiles.h"
#include "show/ruffle/RufflePagePool.h"

namespace scr {

std::unique_ptr<FlashEngine> RuffleEnginePlugin::Create(QWidget* parent, FlashEngineEvents events) {
    QString folder = FindRuffleFolder();
    if (folder.isEmpty() || !MissingRuffleFiles(folder).isEmpty()) return nullptr;
    return std::make_unique<RuffleEngine>(parent, folder, std::move(events));
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

int RuffleEnginePlugin::PagesMade() {
    return RufflePagePool::Instance().pagesMade();
}

} // namespace scr
