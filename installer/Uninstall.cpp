#include "installer/Uninstall.h"

#include "installer/DesktopShortcut.h"
#include "installer/InstallNames.h"
#include "installer/ScreenSaverHandOver.h"
#include "installer/UninstallEntry.h"
#include "package/MoviePackage.h"
#include "package/PackageFile.h"
#include "package/PackageTrailer.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/FileAttributes.h"
#include "platform/FilePathText.h"
#include "platform/gui/SpecialFolder.h"

#include <QMessageBox>
#include <cerrno>
#include <memory>
#include <unistd.h>

namespace scr {

QString UninstallConfirmationText(const QString& screenSaverName) {
    return QStringLiteral("You are about to uninstall the ScreenSaver!\nScreenSaver Name: ") +
           screenSaverName + QStringLiteral("\nAre you sure?");
}

bool ConfirmWithMessageBox(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Warning, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}

bool UninstallScreenSaver(const std::string& path, const UninstallConfirmation& confirm) {
    // Without a package this is the bare player (or something else entirely):
    // there is nothing installed to remove, and the file must not delete itself.
    if (!HasValidTrailer(path)) return false;

    auto package = std::make_unique<PackageFile>(path);
    const std::string name = DecodeCodePage(TrimName(package->Name()));
    if (!confirm(UninstallConfirmationText(QString::fromStdString(name)),
                 QString::fromLatin1(kUninstallCaption))) {
        return false;
    }

    DeleteUninstallEntry(ExtractFileStem(path));
    std::string desktop;
    const bool hasDesktop = GetSpecialFolder(desktop, kFolderDesktop);

    // Freeing the package removes the temporary files it extracted.
    package.reset();

    if (hasDesktop) {
        const std::string shortcut = ShortcutPath(desktop, name);
        if (IsShortcutTo(shortcut, path)) DeleteFileForced(shortcut);
    }
    // The screen-saver hosts stop offering it (while the file still exists to compare with).
    TakeBackFromScreenSaverHosts(path);
    SelfDelete(path);
    return true;
}

bool UninstallMovieScreenSaver(const std::string& path, const UninstallConfirmation& confirm) {
    const RecognisedFile file = RecogniseScreenSaverFile(path);
    if (!file.HasMovie()) return false;
    if (!confirm(UninstallConfirmationText(QString::fromStdString(MovieScreenSaverName(path))),
                 QString::fromLatin1(kUninstallCaption)))
        return false;
    TakeBackFromScreenSaverHosts(path);
    return true;
}

void RunUninstall(const std::string& packagePath) {
    if (HasValidTrailer(packagePath))
        UninstallScreenSaver(packagePath, ConfirmWithMessageBox);
    else
        UninstallMovieScreenSaver(packagePath, ConfirmWithMessageBox);
}

bool DeleteFileForced(const std::string& path) {
    if (!FileExists(path)) return true;
    if (IsReadOnlyFile(path)) ClearReadOnly(path);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool SelfDelete(const std::string& path) {
    return DeleteFileForced(path);
}

} // namespace scr
