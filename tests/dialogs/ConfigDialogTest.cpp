#include "dialogs/ComponentRole.h"
#include "dialogs/PageControl.h"
#include "package/XSCR.h"
#include "platform/RegistryStore.h"
#include "platform/gui/ImageControl.h"
#include "show/MusicPlayer.h"
#include "show/MusicSettings.h"
#include "show/VtFlashEx.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/package/PackageFixture.h"
#include "tests/support/FormControls.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

namespace scr::test {
namespace {

const std::string kKey = MusicSettingsKey("Dialog Test");

TEST_F(ConfigDialogTest, FillsTheGeneralPageFromThePackage) {
    for (const bool hasAuthor : {true, false}) {
        PackageDescription d = DialogPackage(1, 0, {});
        d.info.setHasAuthorInfo(hasAuthor ? 1 : 0);
        UsePackage(d);
        auto dialog = OpenDialog();
        SCOPED_TRACE(hasAuthor);
        EXPECT_EQ(dialog->GetFrameCaption(), QStringLiteral("Dialog Test T13"));
        EXPECT_EQ(dialog->LabelScrName->text(), QStringLiteral("Dialog Test"));
        EXPECT_EQ(dialog->LabelScrDesc->text(), QStringLiteral("A package for the dialog tests."));
        EXPECT_EQ(dialog->PanelCR->caption(), hasAuthor ? QString() : QStringLiteral("T16"));
        for (QWidget* part :
             {static_cast<QWidget*>(dialog->PanelCopyRight), static_cast<QWidget*>(dialog->LabelAuthor),
              static_cast<QWidget*>(dialog->LabelEmail), static_cast<QWidget*>(dialog->LabelHomePage)})
            EXPECT_EQ(!part->isHidden(), hasAuthor) << part->objectName().toStdString();
        if (hasAuthor) {
            EXPECT_EQ(dialog->LabelAuthor->text(), QStringLiteral("Tester"));
            EXPECT_EQ(dialog->LabelEmail->text(), QStringLiteral("tester@example.org"));
            EXPECT_EQ(dialog->LabelHomePage->text(), QStringLiteral("https://example.org/"));
        }
        EXPECT_EQ(dialog->MemoLA->toPlainText(), QStringLiteral("Licence text\n"));
        EXPECT_EQ(dialog->PageControlScr->ActivePage(), dialog->TSGeneral);
        EXPECT_TRUE(dialog->BtnTab1->isChecked());
        EXPECT_FALSE(dialog->ImagesScrIcon->picture().isNull());
        // The captions come from the package's own tables.
        EXPECT_EQ(dialog->BtnTab2->text(), QStringLiteral("Pictures"));
    }
}

TEST_F(ConfigDialogTest, WithoutTablesEveryCaptionKeepsItsEnglishFormDefault) {
    const struct {
        std::string staticCaptions;
        QString cancel;
    } cases[] = {{"", "Cancel"}, {"[FS_0]\r\nS_1024=Close\r\n", "Close"}};
    for (const auto& c : cases) {
        PackageDescription d = DialogPackage(1, 0, {"a.wav"});
        d.dynamicTexts.clear();
        d.staticCaptions = c.staticCaptions;
        UsePackage(d);
        auto dialog = OpenDialog();
        SCOPED_TRACE(c.staticCaptions);
        for (QObject* component : dialog->findChildren<QObject*>()) {
            if (RoleOfComponent(component) != ComponentRole::None && TagOfComponent(component) > 0) {
                EXPECT_FALSE(ComponentCaption(component).isEmpty()) << component->objectName().toStdString();
            }
        }
        EXPECT_EQ(dialog->BtnOK->text(), QStringLiteral("OK"));
        EXPECT_EQ(dialog->BtnCancel->text(), c.cancel); // a table overrides the default
        EXPECT_EQ(dialog->BtnTab6->text(), QStringLiteral("License"));
        EXPECT_EQ(dialog->TSLicense->windowTitle(), QStringLiteral("License"));
        EXPECT_EQ(dialog->Label1->text(), QStringLiteral("Author:"));
    }
}

TEST_F(ConfigDialogTest, WithoutDynamicTextsTheAuthorPanelStillSaysThereIsNoAuthor) {
    const struct {
        std::string dynamicTexts;
        QString panel;
    } cases[] = {{"", "No author information comes with this screen saver."},
                 {TestDynamicTexts(), "T16"},
                 {"only one line\r\n", ""}}; // a table of the package's own is taken as it is
    for (const auto& c : cases) {
        PackageDescription d = DialogPackage(1, 0, {});
        d.info.setHasAuthorInfo(0);
        d.dynamicTexts = c.dynamicTexts;
        UsePackage(d);
        EXPECT_EQ(OpenDialog()->PanelCR->caption(), c.panel) << c.dynamicTexts;
    }
}

TEST_F(ConfigDialogTest, ShowsOnlyThePagesThePackageHasContentFor) {
    const struct {
        int pictures;
        std::vector<std::string> tracks;
        const char* licence;
        bool pictures_shown, music_shown, licence_shown;
    } cases[] = {
        {2, {"a.wav"}, "text", true, true, true},
        {0, {}, "", false, false, false},
        {1, {}, "", true, false, false},
        {0, {"a.wav", "b.wav"}, "text", false, true, true},
    };
    for (const auto& c : cases) {
        PackageDescription d = DialogPackage(c.pictures, 0, c.tracks);
        d.licenseText = c.licence;
        UsePackage(d);
        auto dialog = OpenDialog();
        SCOPED_TRACE(c.pictures);
        const PageControl& pages = *dialog->PageControlScr;
        EXPECT_TRUE(pages.TabVisible(dialog->TSGeneral));
        EXPECT_FALSE(dialog->BtnTab1->isHidden());
        EXPECT_EQ(pages.TabVisible(dialog->TSPictures), c.pictures_shown);
        EXPECT_EQ(!dialog->BtnTab2->isHidden(), c.pictures_shown);
        EXPECT_EQ(pages.TabVisible(dialog->TSMusics), c.music_shown);
        EXPECT_EQ(!dialog->BtnTab3->isHidden(), c.music_shown);
        EXPECT_EQ(pages.TabVisible(dialog->TSLicense), c.licence_shown);
        EXPECT_EQ(!dialog->BtnTab6->isHidden(), c.licence_shown);
    }
}

TEST_F(ConfigDialogTest, TabButtonsShareTheBarAndTheSelectedOneStandsOut) {
    UsePackage(DialogPackage(1, 0, {"a.wav"}));
    auto dialog = OpenDialog();
    ASSERT_EQ(dialog->PanelHideTabs->width(), 551);
    ASSERT_EQ(dialog->PanelHideTabs->height(), 25);
    ASSERT_EQ(dialog->PanelHideTabs->geometry().topLeft(), dialog->PageControlScr->geometry().topLeft());
    const auto geometry = [&] {
        std::vector<QRect> rects;
        for (QToolButton* tab : {dialog->BtnTab1, dialog->BtnTab2, dialog->BtnTab3, dialog->BtnTab6})
            rects.push_back(tab->geometry());
        return rects;
    };
    EXPECT_EQ(geometry(), (std::vector<QRect>{QRect(0, 0, 240, 25), QRect(241, 0, 102, 25),
                                              QRect(344, 0, 102, 25), QRect(447, 0, 102, 25)}));

    QTest::mouseClick(dialog->BtnTab3, Qt::LeftButton);
    EXPECT_EQ(dialog->PageControlScr->ActivePage(), dialog->TSMusics);
    EXPECT_TRUE(dialog->BtnTab3->isChecked());
    EXPECT_FALSE(dialog->BtnTab1->isChecked());
    EXPECT_EQ(geometry(), (std::vector<QRect>{QRect(0, 0, 102, 25), QRect(103, 0, 102, 25),
                                              QRect(206, 0, 240, 25), QRect(447, 0, 102, 25)}));

    dialog->BtnTabsClick(dialog->BtnTab6);
    EXPECT_EQ(dialog->PageControlScr->ActivePage(), dialog->TSLicense);
}

TEST_F(ConfigDialogTest, PictureSelectorShowsThumbnailsAndPreviews) {
    UsePackage(DialogPackage(2, 2, {}));
    auto dialog = OpenDialog();
    ASSERT_EQ(dialog->ComboBoxPics->count(), 4);
    EXPECT_EQ(dialog->ComboBoxPics->itemText(0), QStringLiteral("Pic"));
    const QPixmap picture = dialog->ComboBoxPics->itemData(1).value<QPixmap>();
    EXPECT_FALSE(picture.isNull());
    EXPECT_LE(picture.width(), 120);
    EXPECT_LE(picture.height(), 90);
    // Every movie shows the same 100 x 80 placeholder.
    const QImage movie1 = dialog->ComboBoxPics->itemData(2).value<QPixmap>().toImage();
    const QImage movie2 = dialog->ComboBoxPics->itemData(3).value<QPixmap>().toImage();
    EXPECT_EQ(movie1.size(), QSize(100, 80));
    EXPECT_EQ(movie1, movie2);

    // The first picture is previewed at once, in the package's background colour.
    EXPECT_EQ(dialog->ComboBoxPics->currentIndex(), 0);
    EXPECT_EQ(dialog->PanelScreen->color(), QColor(0x10, 0x20, 0x40));
    EXPECT_FALSE(dialog->ImageFore->isHidden());
    EXPECT_EQ(dialog->ImageFore->picture().size(), dialog->ImageFore->size());
    EXPECT_FALSE(dialog->ImageFore->size().isEmpty());
    EXPECT_TRUE(dialog->BtnWallpaper->isEnabled());
    EXPECT_TRUE(dialog->SBtnPSave->isEnabled());
    EXPECT_TRUE(dialog->SBtnPSaveAll->isEnabled());

    // A movie plays in a Flash host over the preview; the wallpaper needs a picture.
    dialog->ComboBoxPics->setCurrentIndex(2);
    EXPECT_TRUE(dialog->ImageFore->isHidden());
    ASSERT_NE(dialog->FlashPreview, nullptr);
    EXPECT_EQ(dialog->FlashPreview->parentWidget(), dialog->PanelScreen);
    // Left 1, top 1, right width - 2, bottom height - 2.
    EXPECT_EQ(dialog->FlashPreview->geometry(),
              QRect(1, 1, dialog->PanelScreen->width() - 3, dialog->PanelScreen->height() - 3));
    EXPECT_FALSE(dialog->FlashPreview->isHidden());
    // (Without the Flash player files every property reads its default.)
    if (dialog->FlashPreview->Player()) {
        EXPECT_TRUE(dialog->FlashPreview->Loop());
    }
    EXPECT_FALSE(dialog->BtnWallpaper->isEnabled());
    EXPECT_TRUE(dialog->SBtnPSave->isEnabled());

    // The next selection frees the host.
    QPointer<VtFlashEx> host = dialog->FlashPreview;
    dialog->ComboBoxPics->setCurrentIndex(1);
    EXPECT_TRUE(host.isNull());
    EXPECT_EQ(dialog->FlashPreview, nullptr);
    EXPECT_FALSE(dialog->ImageFore->isHidden());
}

TEST_F(ConfigDialogTest, NoSavingDisablesEverySaveCommand) {
    PackageDescription d = DialogPackage(1, 1, {"a.wav"});
    d.info.setNoSaving(1);
    UsePackage(d);
    auto dialog = OpenDialog();
    for (int index : {0, 1}) {
        dialog->ComboBoxPics->setCurrentIndex(index);
        EXPECT_FALSE(dialog->SBtnPSave->isEnabled());
        EXPECT_FALSE(dialog->SBtnPSaveAll->isEnabled());
        EXPECT_FALSE(dialog->BtnWallpaper->isEnabled());
        EXPECT_FALSE(dialog->TBtnSaveM->isEnabled());
    }
    // The player itself stays usable.
    EXPECT_TRUE(dialog->ComboBoxMusics->isEnabled());
}

TEST_F(ConfigDialogTest, OneTrackEnablesRepeatAndMuteButNotRandomOrder) {
    UsePackage(DialogPackage(0, 0, {"Only tune"}));
    auto dialog = OpenDialog();
    EXPECT_FALSE(dialog->CheckBoxMusicROP->isEnabled());
    EXPECT_TRUE(dialog->CheckBoxMusicRA->isEnabled());
    EXPECT_TRUE(dialog->CheckBoxMusicMute->isEnabled());
    // Nothing stored yet: the defaults.
    EXPECT_FALSE(dialog->CheckBoxMusicROP->isChecked());
    EXPECT_TRUE(dialog->CheckBoxMusicRA->isChecked());
    EXPECT_FALSE(dialog->CheckBoxMusicMute->isChecked());
    EXPECT_EQ(dialog->ComboBoxMusics->itemText(0), QStringLiteral("Only tune"));
    EXPECT_EQ(dialog->ComboBoxMusics->toolTip(), QStringLiteral("Only tune"));
}

TEST_F(ConfigDialogTest, StoredOptionsAreShownAndOkWritesAllThree) {
    UsePackage(DialogPackage(0, 0, {"a.wav", "b.wav"}));
    WriteMusicSettings("Dialog Test", MusicSettings{true, false, true});
    {
        auto dialog = OpenDialog();
        EXPECT_TRUE(dialog->CheckBoxMusicROP->isEnabled());
        EXPECT_TRUE(dialog->CheckBoxMusicROP->isChecked());
        EXPECT_FALSE(dialog->CheckBoxMusicRA->isChecked());
        EXPECT_TRUE(dialog->CheckBoxMusicMute->isChecked());
        dialog->CheckBoxMusicMute->setChecked(false);
        dialog->CheckBoxMusicRA->setChecked(true);
        QTest::mouseClick(dialog->BtnOK, Qt::LeftButton);
        EXPECT_EQ(dialog->result(), 1);
    }
    const MusicSettings stored = ReadMusicSettings("Dialog Test");
    EXPECT_TRUE(stored.randomOrder);
    EXPECT_TRUE(stored.repeat);
    EXPECT_FALSE(stored.mute);
}

TEST_F(ConfigDialogTest, OkWithoutTouchingTheBoxesCreatesTheKeyWithAllValues) {
    UsePackage(DialogPackage(0, 0, {"a.wav"}));
    ASSERT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));
    OpenDialog()->BtnOKClick();
    const auto key = RegistryKey::Open(RegistryRoot::CurrentUser, kKey, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadInteger("MROP"), 0);
    EXPECT_EQ(key->ReadInteger("MRA"), 1);
    EXPECT_EQ(key->ReadInteger("Mute"), 0);
}

TEST_F(ConfigDialogTest, OnlyOkWithMusicWritesTheRegistry) {
    // OK without music, and Cancel or the close button with music.
    UsePackage(DialogPackage(1, 0, {}));
    OpenDialog()->BtnOKClick();
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));

    UsePackage(DialogPackage(0, 0, {"a.wav"}));
    {
        auto dialog = OpenDialog();
        dialog->CheckBoxMusicMute->setChecked(true);
        QTest::mouseClick(dialog->BtnCancel, Qt::LeftButton);
        EXPECT_EQ(dialog->result(), 2);
    }
    {
        auto dialog = OpenDialog();
        dialog->CheckBoxMusicMute->setChecked(true);
        FindControl<XImageEx>(*dialog, "ImageClose")->clicked();
    }
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));
}

TEST_F(ConfigDialogTest, EnterInTheLicenceMemoNeitherTypesNorPressesOk) {
    UsePackage(DialogPackage(0, 0, {"a.wav"}));
    auto dialog = OpenDialog();
    dialog->show();
    dialog->BtnTab6->click();
    dialog->MemoLA->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(dialog->MemoLA, key);
        EXPECT_TRUE(dialog->isVisible()) << key;
        EXPECT_EQ(dialog->result(), 0) << key;
        EXPECT_EQ(dialog->MemoLA->toPlainText(), QStringLiteral("Licence text\n")) << key;
    }
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));
}

TEST_F(ConfigDialogTest, ANameWithLineBreaksAndBracketsStaysInsideItsRegistryKey) {
    // Laid out by hand: the manifest refuses control characters in a name.
    FixturePackage p;
    p.name = "\r\n[HKEY_CURRENT_USER\\Evil]\r\nx=1";
    p.info.setFormatLevel(5);
    FixtureTrack track;
    track.music.setExtension(".wav");
    track.data = ToneWav(100);
    p.tracks.push_back(track);
    const std::string path = dir_.file("hostile.scr");
    WriteFile(path, BuildAppendedPackage(p));
    packagePath_ = path;
    {
        auto dialog = OpenDialog();
        dialog->CheckBoxMusicMute->setChecked(true);
        QTest::mouseClick(dialog->BtnOK, Qt::LeftButton);
    }
    // The name as read: its leading line break is trimmed, the rest is kept.
    EXPECT_TRUE(ReadMusicSettings("[HKEY_CURRENT_USER\\Evil]\r\nx=1").mute);
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, "HKEY_CURRENT_USER"));
    const std::vector<uint8_t> bytes = ReadFile(RegistryFilePath(RegistryRoot::CurrentUser));
    const std::string text(bytes.begin(), bytes.end());
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        EXPECT_TRUE(line.empty() || line[0] == ';' || line[0] == '"' ||
                    line.rfind("[Software\\Vantrel\\", 0) == 0)
            << "stray line " << testing::PrintToString(line);
        start = end + 1;
    }
}

// Waits until the player reaches `mode` (the player decides asynchronously).
bool WaitForMode(MusicDevice* player, MusicMode mode) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (MusicGetMode(player) == mode) return true;
        QTest::qWait(20);
    }
    return MusicGetMode(player) == mode;
}

TEST_F(ConfigDialogTest, PlayerButtonsFollowThePlayerAndReselectingKeepsPlaying) {
    UsePackage(DialogPackage(0, 0, {"first.wav", "second.wav"}));
    auto dialog = OpenDialog();
    if (!dialog->MusicWindow) GTEST_SKIP() << "no audio back end";
    EXPECT_TRUE(dialog->TBtnEMusicPlay->isEnabled());
    EXPECT_FALSE(dialog->TBtnEMusicPause->isEnabled());
    EXPECT_FALSE(dialog->TBtnEMusicStop->isEnabled());

    QTest::mouseClick(dialog->TBtnEMusicPlay, Qt::LeftButton);
    ASSERT_TRUE(WaitForMode(dialog->MusicWindow, MusicMode::Playing));
    dialog->UpdateMusicButtons();
    EXPECT_FALSE(dialog->TBtnEMusicPlay->isEnabled());
    EXPECT_TRUE(dialog->TBtnEMusicPause->isEnabled());
    EXPECT_TRUE(dialog->TBtnEMusicStop->isEnabled());
    EXPECT_TRUE(dialog->TimerMusics->isActive());
    EXPECT_EQ(dialog->TimerMusics->interval(), 2000);

    // Choosing the track that is selected already changes nothing.
    dialog->ComboBoxMusicsChange();
    EXPECT_EQ(MusicGetMode(dialog->MusicWindow), MusicMode::Playing);
    EXPECT_TRUE(dialog->TimerMusics->isActive());

    QTest::mouseClick(dialog->TBtnEMusicPause, Qt::LeftButton);
    EXPECT_EQ(MusicGetMode(dialog->MusicWindow), MusicMode::Paused);
    EXPECT_TRUE(dialog->TBtnEMusicPlay->isEnabled());
    EXPECT_FALSE(dialog->TBtnEMusicPause->isEnabled());
    EXPECT_TRUE(dialog->TBtnEMusicStop->isEnabled());
    EXPECT_FALSE(dialog->TimerMusics->isActive());

    // Another track stops the player.
    dialog->ComboBoxMusics->setCurrentIndex(1);
    EXPECT_EQ(dialog->LastMusicIndex, 1);
    EXPECT_NE(MusicGetMode(dialog->MusicWindow), MusicMode::Paused);
    EXPECT_TRUE(dialog->TBtnEMusicPlay->isEnabled());
    EXPECT_FALSE(dialog->TBtnEMusicStop->isEnabled());
}

TEST_F(ConfigDialogTest, LinksOpenOnlyWellFormedAddresses) {
    UsePackage(DialogPackage(0, 0, {}));
    auto dialog = OpenDialog();
    const struct {
        const char* email;
        const char* expected; // nullptr: nothing is opened
    } mails[] = {{"a@b.org", "mailto:a@b.org?subject=T11"},
                 {"@b.org", nullptr},
                 {"nobody", nullptr},
                 {"x@@y", "mailto:x@@y?subject=T11"}};
    for (const auto& m : mails) {
        log_->urls.clear();
        dialog->LabelEmail->setText(QString::fromLatin1(m.email));
        QTest::mouseClick(dialog->LabelEmail, Qt::LeftButton);
        ASSERT_EQ(log_->urls.size(), m.expected ? 1u : 0u) << m.email;
        if (m.expected) {
            EXPECT_EQ(log_->urls[0].toString(QUrl::FullyEncoded), QString::fromLatin1(m.expected));
        }
    }
    const struct {
        const char* page;
        bool opened;
    } pages[] = {{"HTTPS://Example.org/Page", true},
                 {"http://x", true},
                 {"www.example.org", false},
                 {"ftp://x", false}};
    for (const auto& p : pages) {
        log_->urls.clear();
        dialog->LabelHomePage->setText(QString::fromLatin1(p.page));
        dialog->LabelHomePageClick();
        ASSERT_EQ(log_->urls.size(), p.opened ? 1u : 0u) << p.page;
        if (p.opened) {
            EXPECT_EQ(log_->urls[0], QUrl(QString::fromLatin1(p.page)));
        }
    }
}

TEST_F(ConfigDialogTest, WithoutParentWindowNothingElseIsTouched) {
    UsePackage(DialogPackage(1, 0, {}));
    {
        auto dialog = OpenDialog();
        EXPECT_EQ(dialog->ParentWindow, 0u);
        EXPECT_EQ(dialog->OwnerOfParent, 0u);
        EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    }
    EXPECT_TRUE(log_->foregroundRequests.empty());
}

TEST_F(ConfigDialogTest, ClosingHandsTheForegroundBackToTheParentWindow) {
    UsePackage(DialogPackage(1, 0, {}));
    parentWindow_ = 0x4200007;
    log_->foreground = 0x99;
    OpenDialog().reset();
    EXPECT_EQ(log_->foregroundRequests, std::vector<WindowHandle>{0x4200007});
    // Already in front: no request.
    log_->foregroundRequests.clear();
    log_->foreground = 0x4200007;
    OpenDialog().reset();
    EXPECT_TRUE(log_->foregroundRequests.empty());
}

TEST_F(ConfigDialogTest, DestructionDeletesTheExtractedFiles) {
    UsePackage(DialogPackage(0, 1, {"a.wav"}));
    std::string movie;
    {
        auto dialog = OpenDialog();
        ASSERT_TRUE(dialog->Package()->ExtractFlash(0).ok);
        movie = dialog->Package()->ExtractFlash(0).path;
        EXPECT_TRUE(std::filesystem::exists(movie));
    }
    EXPECT_FALSE(std::filesystem::exists(movie));
}

} // namespace
} // namespace scr::test
