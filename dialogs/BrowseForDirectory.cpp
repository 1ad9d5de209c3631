#include "dialogs/BrowseForDirectory.h"

#include <QDir>
#include <QFileDialog>

namespace scr {

QString BrowseForDirectory(const QString& prompt, QWidget* owner) {
    QFileDialog dialog(owner, prompt, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

} // namespace scr
