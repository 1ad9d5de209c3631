#pragma once
// SaveFileDialog: the save-file dialog of the dialogs. The caller sets a
// title, a filter in the stored form ("description|pattern|..."), a default
// extension and a file name, and runs it; the dialog asks before replacing an
// existing file, accepts only names in existing folders, and gives back the
// chosen path in FileName. The default extension follows the chosen filter
// when that names one extension.

#include <QString>

class QWidget;

namespace scr {

class SaveFileDialog {
public:
    QString Title;
    QString Filter;
    QString DefaultExt; // without the dot; empty: none is added
    QString FileName;

    // Runs the dialog modally; true with FileName set when the user chose a
    // file, false when cancelled.
    bool Execute(QWidget* owner);
};

} // namespace scr
