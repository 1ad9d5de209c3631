#include "dialogs/SaveFileDialog.h"

#include "tests/support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace scr {
namespace {

// Answers the save dialog as a user would: picks a filter, types a name
// without extension and presses Save.
void AnswerSaveDialog(const QString& filter, const QString& name, QStringList* shownFilters) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *shownFilters = dialog->nameFilters();
        // The filter is picked in the dialog's file type box, as a user does.
        if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types && !filter.isEmpty()) {
            const int index = types->findText(filter);
            types->setCurrentIndex(index);
            QMetaObject::invokeMethod(types, "activated", Q_ARG(int, index));
        }
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

TEST(SaveFileDialog, ShowsTheStoredFilterAndAddsTheChosenFiltersExtension) {
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    const struct {
        const char* filter; // the one the user picks; empty: the first
        const char* expected;
    } cases[] = {{"", "/picture.jpg"}, {"Bitmap picture (*.bmp)", "/picture.bmp"}};
    for (const auto& c : cases) {
        SaveFileDialog save;
        save.Title = QStringLiteral("Save Picture");
        save.Filter = QStringLiteral("JPEG picture (*.jpg)|*.jpg|Bitmap picture|*.bmp");
        save.DefaultExt = QStringLiteral("jpg");
        QStringList shown;
        AnswerSaveDialog(QString::fromLatin1(c.filter), folder + QStringLiteral("/picture"), &shown);
        ASSERT_TRUE(save.Execute(nullptr));
        EXPECT_EQ(shown, (QStringList{QStringLiteral("JPEG picture (*.jpg)"),
                                      QStringLiteral("Bitmap picture (*.bmp)")}));
        EXPECT_EQ(save.FileName, folder + QString::fromLatin1(c.expected));
    }
}

TEST(SaveFileDialog, CancelLeavesTheFileNameAlone) {
    SaveFileDialog save;
    save.Filter = QStringLiteral("Music files(*)|*");
    save.FileName = QStringLiteral("unchanged");
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) qobject_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(save.Execute(nullptr));
    EXPECT_EQ(save.FileName, QStringLiteral("unchanged"));
}

} // namespace
} // namespace scr
