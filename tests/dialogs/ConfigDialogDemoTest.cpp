// The configuration dialog on the demo package the build makes: every page
// is filled, and with SCR_SCREENSHOT_DIR set each page is saved as a picture
// (scripts/dialog-screenshots.sh).
#include "dialogs/PageControl.h"
#include "package/XSCR.h"
#include "platform/gui/ImageControl.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/dialogs/Screenshot.h"
#include "tests/support/FormControls.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <string_view>

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

    auto* pages = FindControl<PageControl>(*dialog, "PageControlScr");
    auto* pictures = FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics");
    ASSERT_TRUE(pages && pictures);
    EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelScrName")->text(), QStringLiteral("Demo Screen Saver"));
    EXPECT_EQ(dialog->GetFrameCaption(), QStringLiteral("Demo Screen Saver Settings"));
    EXPECT_EQ(pictures->count(), dialog->Package()->ItemCount());
    EXPECT_EQ(FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxMusics")->count(),
              dialog->Package()->MusicCount());
    EXPECT_FALSE(FindControl<QPlainTextEdit>(*dialog, "MemoLA")->toPlainText().isEmpty());

    const struct {
        const char* tab;
        const char* page;
        const char* file;
    } entries[] = {{"BtnTab1", "TSGeneral", "config-general.png"},
                   {"BtnTab2", "TSPictures", "config-pictures.png"},
                   {"BtnTab3", "TSMusics", "config-music.png"},
                   {"BtnTab6", "TSLicense", "config-license.png"}};
    for (const auto& entry : entries) {
        auto* tab = FindControl<QToolButton>(*dialog, entry.tab);
        ASSERT_TRUE(tab) << entry.file;
        ASSERT_FALSE(tab->isHidden()) << entry.file;
        QTest::mouseClick(tab, Qt::LeftButton);
        EXPECT_EQ(pages->ActivePage(), FindControl<QWidget>(*dialog, entry.page));
        QTest::qWait(std::string_view(entry.page) == "TSPictures" ? 300 : 20);
        SaveScreenshot(dialog->grab().toImage(), QString::fromLatin1(entry.file));
    }

    // The movie of the demo plays in the preview.
    QTest::mouseClick(FindControl<QToolButton>(*dialog, "BtnTab2"), Qt::LeftButton);
    for (int i = 0; i < pictures->count(); ++i)
        if (dialog->Package()->GetItem(i).kind == ShowItem::Flash) pictures->setCurrentIndex(i);
    ASSERT_NE(dialog->FlashPreview(), nullptr);
    EXPECT_FALSE(FindControl<QToolButton>(*dialog, "BtnWallpaper")->isEnabled());
    if (std::getenv("SCR_SCREENSHOT_DIR")) {
        QTest::qWait(2500); // the player's first frames
        SaveScreenshot(dialog->grab().toImage(), QStringLiteral("config-movie.png"));
    }
}

} // namespace
} // namespace scr::test
