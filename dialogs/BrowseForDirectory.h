#pragma once
// Choosing a folder.

#include <QString>

class QWidget;

namespace scr {

// Shows the folder chooser (existing folders only) with `prompt` as its
// title, modal to `owner` and the application's other windows. The chosen
// folder's path, or empty text when the user cancels.
QString BrowseForDirectory(const QString& prompt, QWidget* owner);

} // namespace scr
