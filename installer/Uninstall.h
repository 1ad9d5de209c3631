#pragma once
// The Uninstall mode: an installed screen saver started with "-U" (the
// command of its uninstall entry) removes, after the user confirms, its
// uninstall entry, its desktop shortcut, its temporary files, its entries
// with the screen-saver hosts and finally its own file.

#include <QString>
#include <functional>
#include <string>

namespace scr {

// The question asked before anything is removed.
QString UninstallConfirmationText(const QString& screenSaverName);
inline constexpr char kUninstallCaption[] = "Uninstall";

// Asks the user; true only for Yes.
using UninstallConfirmation = std::function<bool(const QString& text, const QString& caption)>;

// The system-style question: Yes, No and Cancel, an exclamation icon, in
// front of every other window.
bool ConfirmWithMessageBox(const QString& text, const QString& caption);

// Uninstalls the screen saver in `path`: loads its package (for the name),
// asks `confirm`, and on Yes deletes the uninstall entry named after the
// file, the desktop shortcut named after the screen saver, the package's
// temporary files, the hosts' entries that run the file and the file itself. A file that carries no package
// is not an installed screen saver: nothing is asked and nothing removed. True when the removal ran.
bool UninstallScreenSaver(const std::string& path, const UninstallConfirmation& confirm);

// Uninstalls a Flash movie file that `scrtool install` registered where it
// lies: asks `confirm`, and on Yes removes the hosts' entries that play it.
// The file itself is the user's and stays. A file without a movie is not
// such a screen saver: nothing is asked and nothing removed. True when the
// removal ran.
bool UninstallMovieScreenSaver(const std::string& path, const UninstallConfirmation& confirm);

// The mode routine: UninstallScreenSaver (or, for a Flash movie file,
// UninstallMovieScreenSaver) on the file of this run's package, confirmed
// with the message box. The application object must exist.
void RunUninstall(const std::string& packagePath);

// Deletes a file, read-only or not. True when it did not exist or was deleted.
bool DeleteFileForced(const std::string& path);

// Deletes the running program's own file. On Linux a running program's file
// can be removed at once (the process keeps its open image), so no helper
// that waits for the process to end is needed. True when the file is gone.
bool SelfDelete(const std::string& path);

} // namespace scr
