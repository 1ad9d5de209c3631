#include "dialogs/SaveFileDialog.h"

#include "dialogs/FileFilters.h"

#include <QFileDialog>

namespace scr {
namespace {

// The file dialog whose default extension is the one the chosen filter names
// (a typed "picture" becomes picture.bmp under "Bitmap picture (*.bmp)"),
// settled when the user accepts, before the dialog adds it and asks about
// replacing an existing file.
class FilterSuffixDialog : public QFileDialog {
public:
    FilterSuffixDialog(QWidget* owner, const QString& title, const QString& filter, const QString& defaultExt)
        : QFileDialog(owner, title), names_(QtNameFilters(filter)), entries_(ParseFileFilter(filter)),
          defaultExt_(defaultExt) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!names_.isEmpty()) setNameFilters(names_);
        setDefaultSuffix(defaultExt_);
    }

protected:
    void accept() override {
        const qsizetype index = names_.indexOf(selectedNameFilter());
        const QString extension = index >= 0 ? ExtensionOfPattern(entries_[index].patterns) : QString();
        setDefaultSuffix(extension.isEmpty() ? defaultExt_ : extension);
        QFileDialog::accept();
    }

private:
    QStringList names_;
    QList<FileFilterEntry> entries_;
    QString defaultExt_;
};

} // namespace

bool SaveFileDialog::Execute(QWidget* owner) {
    FilterSuffixDialog dialog(owner, Title, Filter, DefaultExt);
    if (!FileName.isEmpty()) dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return false;
    FileName = files.front();
    return true;
}

} // namespace scr
