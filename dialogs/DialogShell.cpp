#include "dialogs/DialogShell.h"

#include "dialogs/BrowseForDirectory.h"
#include "dialogs/DesktopWallpaper.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/SaveFileDialog.h"
#include "platform/gui/WindowActivation.h"

#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

namespace scr {

DialogShell::~DialogShell() = default;

bool DialogShell::ExecuteSaveDialog(SaveFileDialog& dialog, QWidget* owner) {
    return dialog.Execute(owner);
}

QString DialogShell::BrowseForDirectory(const QString& prompt, QWidget* owner) {
    return scr::BrowseForDirectory(prompt, owner);
}

MessageAnswer DialogShell::ShowMessage(const QString& message, const QString& caption,
                                       const MessageStyle& style, const QStringList* texts) {
    return ShowMessageForm(message, caption, style, texts);
}

void DialogShell::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void DialogShell::PopupMenu(QMenu* menu, const QPoint& globalPosition) {
    menu->exec(globalPosition);
}

void DialogShell::SetWallpaper(const std::string& path, int style) {
    scr::SetWallpaper(path, style);
}

void DialogShell::RemoveWallpaper() {
    scr::RemoveWallpaper();
}

WindowHandle DialogShell::ForegroundWindow() {
    return scr::ForegroundWindow();
}

void DialogShell::SetForegroundWindow(WindowHandle window) {
    scr::SetForegroundWindow(window);
}

} // namespace scr
