#include "dialogs/BevelPanel.h"
#include "dialogs/ComponentRole.h"
#include "dialogs/PageControl.h"
#include "package/PackageFile.h"
#include "platform/RegistryStore.h"
#include "platform/gui/ImageControl.h"
#include "show/FlashHost.h"
#include "show/MusicPlayer.h"
#include "show/MusicSettings.h"
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
        EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelScrName")->text(), QStringLiteral("Dialog Test"));
        EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelScrDesc")->text(),
                  QStringLiteral("A package for the dialog tests."));
        EXPECT_EQ(FindControl<BevelPanel>(*dialog, "PanelCR")->caption(),
                  hasAuthor ? QString() : QStringLiteral("T16"));
        for (const char* part : {"PanelCopyRight", "LabelAuthor", "LabelEmail", "LabelHomePage"})
            EXPECT_EQ(!FindControl<QWidget>(*dialog, part)->isHidden(), hasAuthor) << part;
        if (hasAuthor) {
            EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelAuthor")->text(), QStringLiteral("Tester"));
            EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelEmail")->text(),
                      QStringLiteral("tester@example.org"));
            EXPECT_EQ(FindControl<QLabel>(*dialog, "LabelHomePage")->text(),
                      QStringLiteral("https://example.org/"));
        }
        EXPECT_EQ(FindControl<QPlainTextEdit>(*dialog, "MemoLA")->toPlainText(),
                  QStringLiteral("Licence text\n"));
        EXPECT_EQ(FindControl<PageControl>(*dialog, "PageControlScr")->ActivePage(),
                  FindControl<QWidget>(*dialog, "TSGeneral"));
        EXPECT_TRUE(FindControl<QToolButton>(*dialog, "BtnTab1")->isChecked());
        EXPECT_FALSE(FindControl<ImageControl>(*dialog, "ImagesScrIcon")->picture().isNull());
        // The captions come from the package's own tables.
        EXPECT_EQ(FindControl<QToolButton>(*dialog, "BtnTab2")->text(), QStringLiteral("Pictures"));
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
        EXPECT_EQ(FindControl<QPushButton>(*dialog, "BtnOK")->text(), QStringLiteral("OK"));
        // A table overrides the default.
        EXPECT_EQ(FindControl<QPushButton>(*dialog, "BtnCancel")->text(), c.cancel);
        EXPECT_EQ(FindControl<QToolButton>(*dialog, "BtnTab6")->text(), QStringLiteral("License"));
        EXPECT_EQ(FindControl<QWidget>(*dialog, "TSLicense")->windowTitle(), QStringLiteral("License"));
        EXPECT_EQ(FindControl<QLabel>(*dialog, "Label1")->text(), QStringLiteral("Author:"));
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
        EXPECT_EQ(FindControl<BevelPanel>(*OpenDialog(), "PanelCR")->caption(), c.panel) << c.dynamicTexts;
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
        const auto* pages = FindControl<PageControl>(*dialog, "PageControlScr");
        ASSERT_TRUE(pages);
        const auto tabVisible = [&](const char* page) {
            return pages->TabVisible(FindControl<QWidget>(*dialog, page));
        };
        const auto buttonShown = [&](const char* tab) {
            return !FindControl<QToolButton>(*dialog, tab)->isHidden();
        };
        EXPECT_TRUE(tabVisible("TSGeneral"));
        EXPECT_TRUE(buttonShown("BtnTab1"));
        EXPECT_EQ(tabVisible("TSPictures"), c.pictures_shown);
        EXPECT_EQ(buttonShown("BtnTab2"), c.pictures_shown);
        EXPECT_EQ(tabVisible("TSMusics"), c.music_shown);
        EXPECT_EQ(buttonShown("BtnTab3"), c.music_shown);
        EXPECT_EQ(tabVisible("TSLicense"), c.licence_shown);
        EXPECT_EQ(buttonShown("BtnTab6"), c.licence_shown);
    }
}

TEST_F(ConfigDialogTest, TabButtonsShareTheBarAndTheSelectedOneStandsOut) {
    UsePackage(DialogPackage(1, 0, {"a.wav"}));
    auto dialog = OpenDialog();
    const auto* bar = FindControl<BevelPanel>(*dialog, "PanelHideTabs");
    const auto* pages = FindControl<PageControl>(*dialog, "PageControlScr");
    auto* musicTab = FindControl<QToolButton>(*dialog, "BtnTab3");
    ASSERT_TRUE(bar && pages && musicTab);
    ASSERT_EQ(bar->width(), 551);
    ASSERT_EQ(bar->height(), 25);
    ASSERT_EQ(bar->geometry().topLeft(), pages->geometry().topLeft());
    const auto geometry = [&] {
        std::vector<QRect> rects;
        for (const char* tab : {"BtnTab1", "BtnTab2", "BtnTab3", "BtnTab6"})
            rects.push_back(FindControl<QToolButton>(*dialog, tab)->geometry());
        return rects;
    };
    EXPECT_EQ(geometry(), (std::vector<QRect>{QRect(0, 0, 240, 25), QRect(241, 0, 102, 25),
                                              QRect(344, 0, 102, 25), QRect(447, 0, 102, 25)}));

    QTest::mouseClick(musicTab, Qt::LeftButton);
    EXPECT_EQ(pages->ActivePage(), FindControl<QWidget>(*dialog, "TSMusics"));
    EXPECT_TRUE(musicTab->isChecked());
    EXPECT_FALSE(FindControl<QToolButton>(*dialog, "BtnTab1")->isChecked());
    EXPECT_EQ(geometry(), (std::vector<QRect>{QRect(0, 0, 102, 25), QRect(103, 0, 102, 25),
                                              QRect(206, 0, 240, 25), QRect(447, 0, 102, 25)}));

    InvokeHandler(*dialog, "BtnTabsClick", FindControl<QToolButton>(*dialog, "BtnTab6"));
    EXPECT_EQ(pages->ActivePage(), FindControl<QWidget>(*dialog, "TSLicense"));
}

TEST_F(ConfigDialogTest, PictureSelectorShowsThumbnailsAndPreviews) {
    UsePackage(DialogPackage(2, 2, {}));
    auto dialog = OpenDialog();
    auto* pictures = FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics");
    const auto* screen = FindControl<BevelPanel>(*dialog, "PanelScreen");
    const auto* preview = FindControl<ImageControl>(*dialog, "ImageFore");
    const auto* wallpaper = FindControl<QToolButton>(*dialog, "BtnWallpaper");
    const auto* save = FindControl<QToolButton>(*dialog, "SBtnPSave");
    ASSERT_TRUE(pictures && screen && preview && wallpaper && save);
    ASSERT_EQ(pictures->count(), 4);
    EXPECT_EQ(pictures->itemText(0), QStringLiteral("Pic"));
    const QPixmap picture = pictures->itemData(1).value<QPixmap>();
    EXPECT_FALSE(picture.isNull());
    EXPECT_LE(picture.width(), 120);
    EXPECT_LE(picture.height(), 90);
    // Every movie shows the same 100 x 80 placeholder.
    const QImage movie1 = pictures->itemData(2).value<QPixmap>().toImage();
    const QImage movie2 = pictures->itemData(3).value<QPixmap>().toImage();
    EXPECT_EQ(movie1.size(), QSize(100, 80));
    EXPECT_EQ(movie1, movie2);

    // The first picture is previewed at once, in the package's background colour.
    EXPECT_EQ(pictures->currentIndex(), 0);
    EXPECT_EQ(screen->color(), QColor(0x10, 0x20, 0x40));
    EXPECT_FALSE(preview->isHidden());
    EXPECT_EQ(preview->picture().size(), preview->size());
    EXPECT_FALSE(preview->size().isEmpty());
    EXPECT_TRUE(wallpaper->isEnabled());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(FindControl<QToolButton>(*dialog, "SBtnPSaveAll")->isEnabled());

    // A movie plays in a Flash host over the preview; the wallpaper needs a picture.
    pictures->setCurrentIndex(2);
    EXPECT_TRUE(preview->isHidden());
    FlashHost* const flash = dialog->FlashPreview();
    ASSERT_NE(flash, nullptr);
    EXPECT_EQ(flash->parentWidget(), screen);
    // Left 1, top 1, right width - 2, bottom height - 2.
    EXPECT_EQ(flash->geometry(), QRect(1, 1, screen->width() - 3, screen->height() - 3));
    EXPECT_FALSE(flash->isHidden());
    // (Without the Flash player files every property reads its default.)
    if (flash->Player()) {
        EXPECT_TRUE(flash->Loop());
    }
    EXPECT_FALSE(wallpaper->isEnabled());
    EXPECT_TRUE(save->isEnabled());

    // The next selection frees the host.
    QPointer<FlashHost> host = flash;
    pictures->setCurrentIndex(1);
    EXPECT_TRUE(host.isNull());
    EXPECT_EQ(dialog->FlashPreview(), nullptr);
    EXPECT_FALSE(preview->isHidden());
}

TEST_F(ConfigDialogTest, NoSavingDisablesEverySaveCommand) {
    PackageDescription d = DialogPackage(1, 1, {"a.wav"});
    d.info.setNoSaving(1);
    UsePackage(d);
    auto dialog = OpenDialog();
    for (int index : {0, 1}) {
        FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxPics")->setCurrentIndex(index);
        for (const char* command : {"SBtnPSave", "SBtnPSaveAll", "BtnWallpaper", "TBtnSaveM"})
            EXPECT_FALSE(FindControl<QToolButton>(*dialog, command)->isEnabled()) << command << " " << index;
    }
    // The player itself stays usable.
    EXPECT_TRUE(FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxMusics")->isEnabled());
}

TEST_F(ConfigDialogTest, OneTrackEnablesRepeatAndMuteButNotRandomOrder) {
    UsePackage(DialogPackage(0, 0, {"Only tune"}));
    auto dialog = OpenDialog();
    const auto* randomOrder = FindControl<QCheckBox>(*dialog, "CheckBoxMusicROP");
    const auto* repeat = FindControl<QCheckBox>(*dialog, "CheckBoxMusicRA");
    const auto* mute = FindControl<QCheckBox>(*dialog, "CheckBoxMusicMute");
    const auto* tracks = FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxMusics");
    ASSERT_TRUE(randomOrder && repeat && mute && tracks);
    EXPECT_FALSE(randomOrder->isEnabled());
    EXPECT_TRUE(repeat->isEnabled());
    EXPECT_TRUE(mute->isEnabled());
    // Nothing stored yet: the defaults.
    EXPECT_FALSE(randomOrder->isChecked());
    EXPECT_TRUE(repeat->isChecked());
    EXPECT_FALSE(mute->isChecked());
    EXPECT_EQ(tracks->itemText(0), QStringLiteral("Only tune"));
    EXPECT_EQ(tracks->toolTip(), QStringLiteral("Only tune"));
}

TEST_F(ConfigDialogTest, StoredOptionsAreShownAndOkWritesAllThree) {
    UsePackage(DialogPackage(0, 0, {"a.wav", "b.wav"}));
    WriteMusicSettings("Dialog Test", MusicSettings{true, false, true});
    {
        auto dialog = OpenDialog();
        const auto* randomOrder = FindControl<QCheckBox>(*dialog, "CheckBoxMusicROP");
        auto* repeat = FindControl<QCheckBox>(*dialog, "CheckBoxMusicRA");
        auto* mute = FindControl<QCheckBox>(*dialog, "CheckBoxMusicMute");
        ASSERT_TRUE(randomOrder && repeat && mute);
        EXPECT_TRUE(randomOrder->isEnabled());
        EXPECT_TRUE(randomOrder->isChecked());
        EXPECT_FALSE(repeat->isChecked());
        EXPECT_TRUE(mute->isChecked());
        mute->setChecked(false);
        repeat->setChecked(true);
        QTest::mouseClick(FindControl<QPushButton>(*dialog, "BtnOK"), Qt::LeftButton);
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
    InvokeHandler(*OpenDialog(), "BtnOKClick");
    const auto key = RegistryKey::Open(RegistryRoot::CurrentUser, kKey, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadInteger("MROP"), 0);
    EXPECT_EQ(key->ReadInteger("MRA"), 1);
    EXPECT_EQ(key->ReadInteger("Mute"), 0);
}

TEST_F(ConfigDialogTest, OnlyOkWithMusicWritesTheRegistry) {
    // OK without music, and Cancel or the close button with music.
    UsePackage(DialogPackage(1, 0, {}));
    InvokeHandler(*OpenDialog(), "BtnOKClick");
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));

    UsePackage(DialogPackage(0, 0, {"a.wav"}));
    {
        auto dialog = OpenDialog();
        FindControl<QCheckBox>(*dialog, "CheckBoxMusicMute")->setChecked(true);
        QTest::mouseClick(FindControl<QPushButton>(*dialog, "BtnCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog->result(), 2);
    }
    {
        auto dialog = OpenDialog();
        FindControl<QCheckBox>(*dialog, "CheckBoxMusicMute")->setChecked(true);
        FindControl<HoverImage>(*dialog, "ImageClose")->clicked();
    }
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, kKey));
}

TEST_F(ConfigDialogTest, EnterInTheLicenceMemoNeitherTypesNorPressesOk) {
    UsePackage(DialogPackage(0, 0, {"a.wav"}));
    auto dialog = OpenDialog();
    auto* memo = FindControl<QPlainTextEdit>(*dialog, "MemoLA");
    ASSERT_TRUE(memo);
    dialog->show();
    FindControl<QToolButton>(*dialog, "BtnTab6")->click();
    memo->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(memo, key);
        EXPECT_TRUE(dialog->isVisible()) << key;
        EXPECT_EQ(dialog->result(), 0) << key;
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("Licence text\n")) << key;
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
        FindControl<QCheckBox>(*dialog, "CheckBoxMusicMute")->setChecked(true);
        QTest::mouseClick(FindControl<QPushButton>(*dialog, "BtnOK"), Qt::LeftButton);
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

// Waits until the player reaches `state` (it opens and decides asynchronously).
bool WaitForState(MusicPlayer* player, MusicPlayer::State state) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 8000) {
        if (player->state() == state) return true;
        QTest::qWait(20);
    }
    return player->state() == state;
}

TEST_F(ConfigDialogTest, PlayerButtonsFollowThePlayerAndReselectingKeepsPlaying) {
    UsePackage(DialogPackage(0, 0, {"first.wav", "second.wav"}));
    auto dialog = OpenDialog();
    MusicPlayer* const player = dialog->musicPlayer();
    if (!player) GTEST_SKIP() << "no audio back end";
    auto* play = FindControl<QToolButton>(*dialog, "TBtnEMusicPlay");
    auto* pause = FindControl<QToolButton>(*dialog, "TBtnEMusicPause");
    const auto* stop = FindControl<QToolButton>(*dialog, "TBtnEMusicStop");
    const auto* poll = FindControl<QTimer>(*dialog, "TimerMusics");
    ASSERT_TRUE(play && pause && stop && poll);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_FALSE(stop->isEnabled());

    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(WaitForState(player, MusicPlayer::State::Playing));
    // The poll updates the buttons by the player's mode.
    InvokeHandler(*dialog, "TimerMusicsTimer");
    EXPECT_FALSE(play->isEnabled());
    EXPECT_TRUE(pause->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_TRUE(poll->isActive());
    EXPECT_EQ(poll->interval(), 2000);

    // Choosing the track that is selected already changes nothing.
    InvokeHandler(*dialog, "ComboBoxMusicsChange");
    EXPECT_EQ(player->state(), MusicPlayer::State::Playing);
    EXPECT_TRUE(poll->isActive());

    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(player->state(), MusicPlayer::State::Paused);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(poll->isActive());

    // Another track stops the player.
    FindControl<OwnerDrawComboBox>(*dialog, "ComboBoxMusics")->setCurrentIndex(1);
    EXPECT_EQ(dialog->ChosenTrack(), 1);
    EXPECT_NE(player->state(), MusicPlayer::State::Paused);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
}

TEST_F(ConfigDialogTest, LinksOpenOnlyWellFormedAddresses) {
    UsePackage(DialogPackage(0, 0, {}));
    auto dialog = OpenDialog();
    auto* email = FindControl<QLabel>(*dialog, "LabelEmail");
    auto* homePage = FindControl<QLabel>(*dialog, "LabelHomePage");
    ASSERT_TRUE(email && homePage);
    const struct {
        const char* email;
        const char* expected; // nullptr: nothing is opened
    } mails[] = {{"a@b.org", "mailto:a@b.org?subject=T11"},
                 {"@b.org", nullptr},
                 {"nobody", nullptr},
                 {"x@@y", "mailto:x@@y?subject=T11"}};
    for (const auto& m : mails) {
        log_->urls.clear();
        email->setText(QString::fromLatin1(m.email));
        QTest::mouseClick(email, Qt::LeftButton);
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
        homePage->setText(QString::fromLatin1(p.page));
        InvokeHandler(*dialog, "LabelHomePageClick");
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
        EXPECT_EQ(dialog->ParentWindow(), 0u);
        EXPECT_EQ(dialog->OwnerOfParent(), 0u);
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
    std::string track;
    {
        auto dialog = OpenDialog();
        const Result<ExtractedTrack> extracted = dialog->Package()->ExtractMusic(0);
        ASSERT_TRUE(extracted) << extracted.error();
        track = extracted->path;
        EXPECT_TRUE(std::filesystem::exists(track));
        // The movie goes to its player from memory, leaving no file.
        EXPECT_TRUE(dialog->Package()->ReadMovie(0));
    }
    EXPECT_FALSE(std::filesystem::exists(track));
}

} // namespace
} // namespace scr::test
