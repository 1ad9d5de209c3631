#include "show/ruffle/RuffleEnginePlugin.h"

#include "show/ruffle/RuffleEngine.h"
#include "show/ruffle/RuffleFiles.h"
#include "show/ruffle/RufflePagePool.h"

namespace scr {

std::unique_ptr<FlashEngine> RuffleEnginePlugin::Create(QWidget* parent, FlashEngineEvents events) {
    QString folder = FindRuffleFolder();
    if (folder.isEmpty()) return nullptr;
    return std::make_unique<RuffleEngine>(parent, folder, std::move(events));
}

QString RuffleEnginePlugin::UnavailableReason() {
    if (!FindRuffleFolder().isEmpty()) return {};
    return QStringLiteral("the Ruffle player files were not found in: ") + RuffleSearchFolders().join(", ");
}

int RuffleEnginePlugin::PagesMade() {
    return RufflePagePool::Instance().pagesMade();
}

} // namespace scr
