#include "dialogs/SaveDialogEx.h"

#include "dialogs/FileFilters.h"

#include <QFileDialog>

namespace scr {

bool TSaveDialogEx::Execute(QWidget* owner) {
    QFileDialog dialog(owner, Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList names = QtNameFilters(Filter);
    const QList<FileFilterEntry> entries = ParseFileFilter(Filter);
    if (!names.isEmpty()) dialog.setNameFilters(names);
    dialog.setDefaultSuffix(DefaultExt);
    // Choosing "Bitmap picture (*.bmp)" makes a typed name without extension a .bmp file.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        const qsizetype index = names.indexOf(chosen);
        if (index < 0) return;
        const QString extension = ExtensionOfPattern(entries[index].patterns);
        dialog.setDefaultSuffix(extension.isEmpty() ? DefaultExt : extension);
    });
    if (!FileName.isEmpty()) dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return false;
    FileName = files.front();
    return true;
}

} // namespace scr
