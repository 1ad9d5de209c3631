#include "dialogs/DesktopWallpaper.h"
#include "dialogs/ExportProgressForm.h"
#include "package/BitmapFiles.h"
#include "package/PackageFile.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/support/FormControls.h"

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

namespace scr::test {
namespace {

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// A message with one OK button and this icon.
bool IsOkMessage(const ShellLog::Message& message, MessageIcon icon) {
    return message.style.icon == icon && message.style.buttons == MessageButtons::Ok &&
           message.style.defaultButton == 0;
}

TEST_F(ConfigDialogTest, SavePictureWritesByTheExtensionTheUserTyped) {
    UsePackage(DialogPackage(2, 0, {}));
    auto dialog = OpenDialog();
    FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics")->setCurrentIndex(1);
    Bitmap24 decoded;
    ASSERT_TRUE(dialog->Package()->LoadPicture(decoded, 1, 0));
    std::vector<uint8_t> jpeg75;
    ASSERT_TRUE(EncodeJpeg(decoded, 75, jpeg75));

    log_->saveAnswers = {QString::fromStdString(dir_.file("one.JPG")),
                         QString::fromStdString(dir_.file("two.bmp"))};
    auto* save = FindControl<QToolButton>(*dialog, "SBtnPSave");
    QTest::mouseClick(save, Qt::LeftButton);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(log_->saveRequests.size(), 2u);
    EXPECT_EQ(log_->saveRequests[0].title, QStringLiteral("T8"));
    EXPECT_EQ(log_->saveRequests[0].filter, QStringLiteral("T7"));
    EXPECT_EQ(log_->saveRequests[0].defaultExt, QStringLiteral("jpg"));
    EXPECT_TRUE(log_->saveRequests[0].fileName.isEmpty());
    EXPECT_TRUE(log_->messages.empty());
    // A capital extension is a JPEG too, at quality 75 and the decoded size.
    EXPECT_EQ(ReadFile(dir_.file("one.JPG")), jpeg75);
    // A bitmap file is uncompressed.
    const std::vector<uint8_t> bmp = ReadFile(dir_.file("two.bmp"));
    EXPECT_EQ(bmp, EncodeBmp(decoded));
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_TRUE(StartsWith(bmp, {'B', 'M'}));
    EXPECT_EQ(bmp[28], 24);                              // bits per pixel
    EXPECT_EQ(bmp[30] | bmp[31] | bmp[32] | bmp[33], 0); // no compression
}

TEST_F(ConfigDialogTest, SavePictureUnderAnotherExtensionWritesNothingAndSaysSo) {
    UsePackage(DialogPackage(1, 0, {}));
    auto dialog = OpenDialog();
    log_->saveAnswers = {QString::fromStdString(dir_.file("picture.png"))};
    InvokeHandler(*dialog, "SBtnPSaveClick");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("picture.png")));
    ASSERT_EQ(log_->messages.size(), 1u);
    EXPECT_EQ(log_->messages[0].text, QStringLiteral("T6"));
    EXPECT_EQ(log_->messages[0].caption, QStringLiteral("T5"));
    EXPECT_TRUE(IsOkMessage(log_->messages[0], MessageIcon::Exclamation));
    // Cancelling the file dialog does nothing at all.
    InvokeHandler(*dialog, "SBtnPSaveClick");
    EXPECT_EQ(log_->messages.size(), 1u);
}

TEST_F(ConfigDialogTest, SavingAMovieCopiesItUnchangedWhateverTheName) {
    UsePackage(DialogPackage(0, 1, {}));
    auto dialog = OpenDialog();
    log_->saveAnswers = {QString::fromStdString(dir_.file("movie.jpg"))};
    InvokeHandler(*dialog, "SBtnPSaveClick");
    ASSERT_EQ(log_->saveRequests.size(), 1u);
    EXPECT_EQ(log_->saveRequests[0].filter, QStringLiteral("T25"));
    EXPECT_EQ(log_->saveRequests[0].defaultExt, QStringLiteral("swf"));
    EXPECT_EQ(ReadFile(dir_.file("movie.jpg")), TinySwf());
    EXPECT_TRUE(log_->messages.empty());
}

TEST_F(ConfigDialogTest, SaveMusicOffersTheTrackNamesExtension) {
    UsePackage(DialogPackage(0, 0, {"Song.mp3", "Plain name"}));
    auto dialog = OpenDialog();
    log_->saveAnswers = {QString::fromStdString(dir_.file("copy.mp3"))};
    InvokeHandler(*dialog, "TBtnSaveMClick");
    FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxMusics")->setCurrentIndex(1);
    InvokeHandler(*dialog, "TBtnSaveMClick"); // cancelled
    ASSERT_EQ(log_->saveRequests.size(), 2u);
    EXPECT_EQ(log_->saveRequests[0].title, QStringLiteral("T4"));
    EXPECT_EQ(log_->saveRequests[0].filter, QStringLiteral("T3(*.mp3)|*.mp3"));
    EXPECT_EQ(log_->saveRequests[0].defaultExt, QStringLiteral("mp3"));
    EXPECT_EQ(log_->saveRequests[1].filter, QStringLiteral("T3(*)|*"));
    EXPECT_TRUE(log_->saveRequests[1].defaultExt.isEmpty());
    EXPECT_EQ(ReadFile(dir_.file("copy.mp3")), ToneWav(3000));
    EXPECT_TRUE(log_->messages.empty());

    // A folder that does not exist: the failure message of the tracks.
    log_->saveAnswers = {QString::fromStdString(dir_.file("missing/copy.wav"))};
    InvokeHandler(*dialog, "TBtnSaveMClick");
    ASSERT_EQ(log_->messages.size(), 1u);
    EXPECT_EQ(log_->messages[0].text, QStringLiteral("T2"));
    EXPECT_EQ(log_->messages[0].caption, QStringLiteral("T5"));
}

TEST_F(ConfigDialogTest, SaveAllExportsEveryItemIntoTheChosenFolder) {
    PackageDescription d = DialogPackage(2, 1, {"a.wav"});
    d.background = GradientJpeg(20, 10);
    UsePackage(d);
    auto dialog = OpenDialog();
    InvokeHandler(*dialog, "SBtnPSaveAllClick"); // cancelled: nothing happens
    ASSERT_EQ(log_->browsePrompts.size(), 1u);
    EXPECT_EQ(log_->browsePrompts[0], QStringLiteral("Please Select a Directory:"));

    const std::string out = dir_.file("out");
    std::filesystem::create_directory(out);
    log_->browseAnswer = QString::fromStdString(out);
    InvokeHandler(*dialog, "SBtnPSaveAllClick");
    for (const char* name : {"Pic_bk.jpg", "Pic_1.jpg", "Pic_2.jpg", "Flash_3.swf"})
        EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
    EXPECT_FALSE(std::filesystem::exists(out + "/Music_1.wav"));
    EXPECT_TRUE(log_->messages.empty());

    log_->browseAnswer = QString::fromStdString(dir_.file("gone"));
    InvokeHandler(*dialog, "SBtnPSaveAllClick");
    ASSERT_EQ(log_->messages.size(), 1u);
    EXPECT_EQ(log_->messages[0].text, QStringLiteral("T1"));
    EXPECT_EQ(log_->messages[0].caption, QStringLiteral("T0"));
    EXPECT_TRUE(IsOkMessage(log_->messages[0], MessageIcon::Information));
}

TEST_F(ConfigDialogTest, ExportReportsProgressAndStopsWhenCancelled) {
    UsePackage(DialogPackage(5, 0, {}));
    PackageFile package(dir_.file("saver.scr"));
    const std::string out = dir_.file("out");
    std::filesystem::create_directory(out);
    std::vector<std::pair<int, int>> steps;
    EXPECT_FALSE(package.ExportContent(true, false, out, [&](int done, int total) {
        steps.emplace_back(done, total);
        return done < 2;
    }));
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{0, 5}, {1, 5}, {2, 5}}));
    EXPECT_TRUE(std::filesystem::exists(out + "/Pic_2.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out + "/Pic_3.jpg"));

    steps.clear();
    EXPECT_TRUE(package.ExportContent(true, false, out, [&](int done, int total) {
        steps.emplace_back(done, total);
        return true;
    }));
    EXPECT_EQ(steps.back(), std::make_pair(5, 5));
}

TEST(ExportProgressForm, ShowsAfterAMomentAndCancels) {
    ExportProgressForm quick(QStringLiteral("Save All"), QStringLiteral("Cancel"), nullptr, 60000);
    EXPECT_TRUE(quick.Step(0, 3));
    EXPECT_FALSE(quick.isVisible()); // short work never shows a window

    ExportProgressForm slow(QStringLiteral("Save All"), QStringLiteral("Stop"), nullptr, 0);
    EXPECT_TRUE(slow.Step(1, 4));
    EXPECT_TRUE(slow.isVisible());
    EXPECT_EQ(slow.GetFrameCaption(), QStringLiteral("Save All"));
    auto* cancel = FindControl<QPushButton>(slow, "BtnCancel");
    auto* progress = FindControl<QProgressBar>(slow, "ProgressBar");
    ASSERT_TRUE(cancel && progress);
    EXPECT_EQ(cancel->text(), QStringLiteral("Stop"));
    EXPECT_EQ(progress->maximum(), 4);
    EXPECT_EQ(progress->value(), 1);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(slow.Step(2, 4));
    EXPECT_TRUE(slow.Cancelled());
}

TEST_F(ConfigDialogTest, WallpaperMenuItemsFollowTheSelectionAndNoSaving) {
    for (const bool noSaving : {false, true}) {
        PackageDescription d = DialogPackage(1, 0, {});
        d.info.setNoSaving(noSaving ? 1 : 0);
        UsePackage(d);
        auto dialog = OpenDialog();
        InvokeHandler(*dialog, "PMWallpaperPopup");
        for (const char* item : {"PMICenter", "PMITile", "PMIStretch"})
            EXPECT_EQ(FindControl<QAction>(*dialog, item)->isVisible(), !noSaving) << item;
        EXPECT_TRUE(FindControl<QAction>(*dialog, "PMIRemove")->isVisible());
        EXPECT_EQ(FindControl<QToolButton>(*dialog, "BtnWallpaper")->isEnabled(), !noSaving);
    }
}

TEST_F(ConfigDialogTest, WallpaperStylesWriteTheBitmapAndSetIt) {
    UsePackage(DialogPackage(2, 0, {}));
    auto dialog = OpenDialog();
    auto* pictures = FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics");
    auto* center = FindControl<QAction>(*dialog, "PMICenter");
    auto* stretch = FindControl<QAction>(*dialog, "PMIStretch");
    ASSERT_TRUE(pictures && center && stretch);
    EXPECT_EQ(center->property("tag").toInt(), 1028);
    InvokeHandler(*dialog, "BtnWallpaperClick");
    EXPECT_EQ(log_->popups, 1);

    const std::string file = WallpaperFilePath();
    ASSERT_EQ(file, dir_.file("data") + "/scrplayer/system/SCR Wallpaper.bmp");
    // The second picture has no size of its own: it becomes the wallpaper at its decoded size.
    pictures->setCurrentIndex(1);
    FindControl<QAction>(*dialog, "PMITile")->trigger();
    ASSERT_EQ(log_->wallpapers.size(), 1u);
    EXPECT_EQ(log_->wallpapers[0], std::make_pair(file, static_cast<int>(WallpaperTile)));
    Bitmap24 second;
    ASSERT_TRUE(dialog->Package()->LoadPicture(second, 1, 0));
    EXPECT_EQ(ReadFile(file), EncodeBmp(second));

    // The first picture is resized to its item's size; the file is overwritten.
    pictures->setCurrentIndex(0);
    stretch->trigger();
    center->trigger();
    ASSERT_EQ(log_->wallpapers.size(), 3u);
    EXPECT_EQ(log_->wallpapers[1].second, static_cast<int>(WallpaperStretch));
    EXPECT_EQ(log_->wallpapers[2].second, static_cast<int>(WallpaperCenter));
    const ShowItem first = dialog->Package()->GetItem(0);
    const std::vector<uint8_t> bmp = ReadFile(file);
    ASSERT_GE(bmp.size(), 26u);
    EXPECT_EQ(bmp[18] | bmp[19] << 8, first.width);
    EXPECT_EQ(bmp[22] | bmp[23] << 8, first.height);

    // Only menu items choose a style; the remove item removes.
    InvokeHandler(*dialog, "PMIWallpaperClick", FindControl<QToolButton>(*dialog, "BtnWallpaper"));
    InvokeHandler(*dialog, "PMIWallpaperClick", nullptr);
    EXPECT_EQ(log_->wallpapers.size(), 3u);
    FindControl<QAction>(*dialog, "PMIRemove")->trigger();
    EXPECT_EQ(log_->wallpaperRemovals, 1);
}

TEST_F(ConfigDialogTest, AWallpaperThatCannotBeDecodedOrWrittenSaysSo) {
    PackageDescription d = DialogPackage(2, 0, {});
    d.items[1].data = std::vector<uint8_t>(64, 0x42); // not a picture
    UsePackage(d);
    auto dialog = OpenDialog();
    const struct {
        int index;
        bool folderInTheWay;
    } cases[] = {{1, false}, {0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        log_->messages.clear();
        // A folder where the wallpaper file belongs cannot be written over.
        if (c.folderInTheWay) std::filesystem::create_directories(WallpaperFilePath());
        FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics")->setCurrentIndex(c.index);
        FindControl<QAction>(*dialog, "PMICenter")->trigger();
        EXPECT_TRUE(log_->wallpapers.empty());
        ASSERT_EQ(log_->messages.size(), 1u);
        EXPECT_EQ(log_->messages[0].text, QStringLiteral("T6"));
        EXPECT_EQ(log_->messages[0].caption, QStringLiteral("T5"));
        EXPECT_TRUE(IsOkMessage(log_->messages[0], MessageIcon::Exclamation));
    }
}

} // namespace
} // namespace scr::test
