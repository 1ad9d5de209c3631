// The configuration dialog on the demo package the build makes: every page
// is filled, and with SCR_SCREENSHOT_DIR set each page is saved as a picture
// (scripts/dialog-screenshots.sh).
#include "dialogs/PageControl.h"
#include "package/PackageFile.h"
#include "platform/gui/ImageControl.h"
#include "show/FlashHost.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/dialogs/Screenshot.h"
#include "tests/support/FormControls.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
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

// Closing the dialog while its movie plays in a page worn out by one movie
// takes no action: the preview's page is neither renewed nor given a movie,
// and nothing is handed back into the dialog being closed.
TEST_F(ConfigDialogTest, ClosingWithAWornMoviePageTakesNoAction) {
    const std::string demo = BuildBinDir() + "/demo.scr";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the build made no demo package";
    TempDir dir;
    const std::string stats = dir.file("stats.txt");
    ScopedEnv statsFile("SCRPLAYER_STATS", stats);
    ScopedEnv worn("SCRPLAYER_FLASH_PAGE_MOVIES", "1");
    packagePath_ = demo;
    auto dialog = OpenDialog();
    dialog->show();
    QTest::mouseClick(FindControl<QToolButton>(*dialog, "BtnTab2"), Qt::LeftButton);
    auto* pictures = FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics");
    for (int i = 0; i < pictures->count(); ++i)
        if (dialog->Package()->GetItem(i).kind == ShowItem::Flash) pictures->setCurrentIndex(i);
    FlashHost* const flash = dialog->FlashPreview();
    ASSERT_NE(flash, nullptr);
    if (!flash->Player()) GTEST_SKIP() << "no Flash player in this build";
    ASSERT_TRUE(QTest::qWaitFor([&] { return flash->FrameNum() > 0; }, 60000)) << "the movie never played";

    dialog.reset();
    QTest::qWait(500); // anything the closing left for the event loop
    std::ifstream in(stats);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(lines.find("page-renewal"), std::string::npos) << lines;
    std::size_t loads = 0;
    for (std::size_t at = lines.find("movie-load"); at != std::string::npos;
         at = lines.find("movie-load", at + 1))
        ++loads;
    EXPECT_EQ(loads, 1u) << "only the preview's own movie was loaded\n" << lines;
    EXPECT_NE(lines.find("flash frames="), std::string::npos) << "the preview's host reported its movie\n"
                                                              << lines;
}

} // namespace
} // namespace scr::test
