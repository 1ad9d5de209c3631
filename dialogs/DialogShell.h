#pragma once
// What the configuration dialog asks of the world outside it: file and folder
// choosers, its message box, the desktop's default handler for links, popup
// menus, the wallpaper and the foreground window. The dialog reaches them
// only through this interface, so tests put a recording shell in its place;
// DialogShell itself does the real thing.

#include "dialogs/MessageStyle.h"
#include "platform/ShowMode.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <string>

class QMenu;
class QUrl;
class QWidget;

namespace scr {

class SaveFileDialog;

class DialogShell {
public:
    virtual ~DialogShell();

    // Runs the save dialog; true with dialog.FileName set when a file was chosen.
    virtual bool ExecuteSaveDialog(SaveFileDialog& dialog, QWidget* owner);
    // The chosen folder, or empty text when cancelled.
    virtual QString BrowseForDirectory(const QString& prompt, QWidget* owner);
    // The dialogs' message box (ShowMessageForm); returns the answer.
    virtual MessageAnswer ShowMessage(const QString& message, const QString& caption,
                                      const MessageStyle& style, const QStringList* texts);
    // Opens a link (web page, mailto:) with the desktop's default handler.
    virtual void OpenUrl(const QUrl& url);
    // Shows a popup menu at a screen position and returns when it closes.
    virtual void PopupMenu(QMenu* menu, const QPoint& globalPosition);
    virtual void SetWallpaper(const std::string& path, int style);
    virtual void RemoveWallpaper();
    virtual WindowHandle ForegroundWindow();
    virtual void SetForegroundWindow(WindowHandle window);
};

} // namespace scr
