// The configuration dialog on the demo package the build makes: every page
// is filled, and with SCR_SCREENSHOT_DIR set each page is saved as a picture
// (scripts/dialog-screenshots.sh).
#include "dialogs/PageControl.h"
#include "package/XSCR.h"
#include "platform/gui/ImageControl.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/dialogs/Screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <filesystem>

namespace scr::test {
namespace {

TEST_F(ConfigDialogTest, DemoPackageFillsEveryPage) {
    const std::string demo = BuildBinDir() + "/demo.scr";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the build made no demo package";
    packagePath_ = demo;
    auto dialog = OpenDialog();
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QTest::qWait(50);

    EXPECT_EQ(dialog->LabelScrName->text(), QStringLiteral("Demo Screen Saver"));
    EXPECT_EQ(dialog->GetFrameCaption(), QStringLiteral("Demo Screen Saver Settings"));
    EXPECT_EQ(dialog->ComboBoxPics->count(), dialog->Package()->ItemCount());
    EXPECT_EQ(dialog->ComboBoxMusics->count(), dialog->Package()->MusicCount());
    EXPECT_FALSE(dialog->MemoLA->toPlainText().isEmpty());

    const struct {
        QToolButton* tab;
        QWidget* page;
        const char* file;
    } pages[] = {{dialog->BtnTab1, dialog->TSGeneral, "config-general.png"},
                 {dialog->BtnTab2, dialog->TSPictures, "config-pictures.png"},
                 {dialog->BtnTab3, dialog->TSMusics, "config-music.png"},
                 {dialog->BtnTab6, dialog->TSLicense, "config-license.png"}};
    for (const auto& entry : pages) {
        ASSERT_FALSE(entry.tab->isHidden()) << entry.file;
        QTest::mouseClick(entry.tab, Qt::LeftButton);
        EXPECT_EQ(dialog->PageControlScr->ActivePage(), entry.page);
        QTest::qWait(entry.page == dialog->TSPictures ? 300 : 20);
        SaveScreenshot(dialog->grab().toImage(), QString::fromLatin1(entry.file));
    }

    // The movie of the demo plays in the preview.
    QTest::mouseClick(dialog->BtnTab2, Qt::LeftButton);
    for (int i = 0; i < dialog->ComboBoxPics->count(); ++i)
        if (dialog->Package()->GetItem(i).kind == ShowItem::Flash) dialog->ComboBoxPics->setCurrentIndex(i);
    ASSERT_NE(dialog->FlashPreview, nullptr);
    EXPECT_FALSE(dialog->BtnWallpaper->isEnabled());
    if (std::getenv("SCR_SCREENSHOT_DIR")) {
        QTest::qWait(2500); // the player's first frames
        SaveScreenshot(dialog->grab().toImage(), QStringLiteral("config-movie.png"));
    }
}

} // namespace
} // namespace scr::test
