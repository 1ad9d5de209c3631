#include "platform/gui/SpecialFolder.h"

#include "platform/StandardDirectories.h"

#include <QStandardPaths>
#include <cstdlib>
#include <optional>

namespace scr {
namespace {

std::optional<std::string> StandardLocation(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> DesktopFolder() {
    // The variable of the user-dirs convention wins over the file Qt reads.
    const char* desktop = std::getenv("XDG_DESKTOP_DIR");
    if (desktop && *desktop == '/') return std::string(desktop);
    return StandardLocation(QStandardPaths::DesktopLocation);
}

std::optional<std::string> FolderOf(int code) {
    switch (code) {
    case 102:
    case 103:
        return DesktopFolder();
    case 105:
        return StandardLocation(QStandardPaths::FontsLocation);
    case 108:
        return StandardLocation(QStandardPaths::DocumentsLocation);
    case 110:
    case 113:
        return StandardLocation(QStandardPaths::ApplicationsLocation);
    case 114:
        return XdgConfigHome() + "/autostart";
    case 115:
        return StandardLocation(QStandardPaths::TemplatesLocation);
    default: // virtual folders and codes outside the table
        return std::nullopt;
    }
}

} // namespace

bool GetSpecialFolder(std::string& path, int code) {
    std::optional<std::string> folder = FolderOf(code);
    if (!folder || folder->empty()) return false;
    while (folder->size() > 1 && folder->back() == '/')
        folder->pop_back();
    path = *folder;
    return true;
}

} // namespace scr
