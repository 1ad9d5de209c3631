#pragma once
// ConfigDialog: the configuration dialog. It presents the packed screen
// saver (name, description, author with e-mail and home page, icon), lets the
// user browse the pictures and Flash movies with a live preview, save them or
// make a picture the wallpaper, play the music tracks and set the three music
// options the show obeys, and shows the licence text. Its only lasting effect
// is the music options, written when the user presses OK.
//
// The dialog creates and owns the package (PackageFile) of the process for its
// lifetime. Started for another program's window (the parent window), it becomes a
// child of that X11 window and hands the foreground back to it on closing.
//
// The code of the class is spread over several files by concern:
//   ConfigDialog.cpp          creation, filling, destruction, OK and Cancel
//   ConfigDialogLayout.cpp    the components and where they sit
//   ConfigDialogPictures.cpp  picture selector, preview, thumbnails
//   ConfigDialogMusic.cpp     track selector, player, music options
//   ConfigDialogTabs.cpp      tab buttons and links
//   ConfigDialogSaving.cpp    saving pictures, movies and tracks; wallpaper

#include "dialogs/BevelPanel.h"
#include "dialogs/DialogShell.h"
#include "dialogs/SaveFileDialog.h"
#include "dialogs/SkinnedDialog.h"
#include "package/PackageRecords.h"
#include "platform/Bitmap24.h"
#include "platform/ReadingEnvironment.h"
#include "platform/ShowMode.h"

#include <QStringList>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

namespace scr {

class FlashPlayers;
class ImageControl;
class MusicPlayer;
class OwnerDrawComboBox;
class PageControl;
class FlashHost;
class PackageFile;

class ConfigDialog : public SkinnedDialog {
    Q_OBJECT
public:
    // Picture box of the thumbnails.
    static constexpr int kThumbnailWidth = 120;
    static constexpr int kThumbnailHeight = 90;
    static constexpr int kMusicPollMs = 2000;

    // Reads the package from `packagePath` in the reading environment of the
    // run; `parentWindow` is the window that started the dialog (0: none).
    // `shell` (the real desktop when null) does the dialog's outside work.
    ConfigDialog(std::string packagePath, WindowHandle parentWindow, const ReadingEnvironment& reading = {},
                 std::unique_ptr<DialogShell> shell = nullptr, QWidget* owner = nullptr);
    ~ConfigDialog() override;

    PackageFile* Package() const { return package_.get(); }
    // The X11 window the dialog was started for, and that window's parent
    // (0: none).
    WindowHandle ParentWindow() const { return parentWindow_; }
    WindowHandle OwnerOfParent() const { return ownerOfParent_; }
    // The track player; null without music or without an audio back end.
    MusicPlayer* musicPlayer() const { return musicPlayer_.get(); }
    // The track last chosen in the track selector (-1: none yet).
    int ChosenTrack() const { return chosenTrack_; }
    // The Flash host playing the chosen movie in the preview; null otherwise.
    FlashHost* FlashPreview() const { return flashPreview_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Event handlers, named after the component and the event.
    void BtnOKClick();
    void BtnCancelClick();
    void PageControlScrChange();
    // `sender` is the tab button pressed; its Tag names the page.
    void BtnTabsClick(QObject* sender);
    void ComboBoxPicsChange();
    void ComboBoxMusicsChange();
    void TBtnEMusicPlayClick();
    void TBtnEMusicPauseClick();
    void TBtnEMusicStopClick();
    void TBtnSaveMClick();
    void TimerMusicsTimer();
    void SBtnPSaveClick();
    void SBtnPSaveAllClick();
    void BtnWallpaperClick();
    void PMWallpaperPopup();
    // `sender` is the menu item chosen; its Tag names the wallpaper style.
    void PMIWallpaperClick(QObject* sender);
    void PMIRemoveClick();
    void LabelEmailClick();
    void LabelHomePageClick();

private:
    // The controls. Each keeps its object name (the comment beside it), by which the
    // language tables and the tests find it.
    struct Ui {
        BevelPanel* panel = nullptr;        // PanelMain
        BevelPanel* titleStrip = nullptr;   // PanelTitle
        QLabel* name = nullptr;             // LabelScrName
        PageControl* pages = nullptr;       // PageControlScr
        QWidget* generalPage = nullptr;     // TSGeneral
        QWidget* picturesPage = nullptr;    // TSPictures
        QWidget* musicPage = nullptr;       // TSMusics
        QWidget* licensePage = nullptr;     // TSLicense
        BevelPanel* tabBar = nullptr;       // PanelHideTabs
        QToolButton* generalTab = nullptr;  // BtnTab1
        QToolButton* picturesTab = nullptr; // BtnTab2
        QToolButton* musicTab = nullptr;    // BtnTab3
        QToolButton* licenseTab = nullptr;  // BtnTab6
        BevelPanel* buttonRow = nullptr;    // PanelButtons
        QPushButton* ok = nullptr;          // BtnOK
        QPushButton* cancel = nullptr;      // BtnCancel

        // The general page.
        QLabel* description = nullptr;     // LabelScrDesc
        BevelPanel* authorPanel = nullptr; // PanelCR
        ImageControl* icon = nullptr;      // ImagesScrIcon
        QWidget* authorBlock = nullptr;    // PanelCopyRight
        QLabel* authorTitle = nullptr;     // Label1
        QLabel* emailTitle = nullptr;      // Label3
        QLabel* homePageTitle = nullptr;   // Label5
        QLabel* author = nullptr;          // LabelAuthor
        QLabel* email = nullptr;           // LabelEmail
        QLabel* homePage = nullptr;        // LabelHomePage

        // The pictures page.
        OwnerDrawComboBox* pictureSelector = nullptr; // ComboBoxPics
        QToolButton* savePicture = nullptr;           // SBtnPSave
        QToolButton* saveAllPictures = nullptr;       // SBtnPSaveAll
        QToolButton* wallpaper = nullptr;             // BtnWallpaper
        BevelPanel* previewScreen = nullptr;          // PanelScreen
        ImageControl* preview = nullptr;              // ImageFore

        // The music page.
        OwnerDrawComboBox* trackSelector = nullptr; // ComboBoxMusics
        QToolBar* playerBar = nullptr;              // ToolBarMusic
        QToolButton* play = nullptr;                // TBtnEMusicPlay
        QToolButton* pause = nullptr;               // TBtnEMusicPause
        QToolButton* stop = nullptr;                // TBtnEMusicStop
        QToolButton* saveTrack = nullptr;           // TBtnSaveM
        QGroupBox* musicOptions = nullptr;          // GroupBox1
        QCheckBox* randomOrder = nullptr;           // CheckBoxMusicROP
        QCheckBox* repeat = nullptr;                // CheckBoxMusicRA
        QCheckBox* mute = nullptr;                  // CheckBoxMusicMute

        // The licence page.
        QPlainTextEdit* licenseText = nullptr; // MemoLA

        QTimer* playerPoll = nullptr;        // TimerMusics
        SaveFileDialog saveDialog;           // SaveDialog1
        QMenu* wallpaperMenu = nullptr;      // PMWallpaper
        QAction* centerWallpaper = nullptr;  // PMICenter
        QAction* tileWallpaper = nullptr;    // PMITile
        QAction* stretchWallpaper = nullptr; // PMIStretch
        QAction* removeWallpaper = nullptr;  // PMIRemove
    };

    DialogShell& Shell() const { return *shell_; }

    // ConfigDialogLayout.cpp
    void CreateComponents();
    void CreateGeneralPage();
    void CreatePicturesPage();
    void CreateMusicPage();
    void CreateLicensePage();
    void CreateTabButtons();
    void ConnectHandlers();

    // ConfigDialog.cpp
    // Makes the dialog a child of the parent window; false when it stays a top-level window.
    bool AttachToParentWindow();
    void FillDialog();
    void FillGeneral();
    void ShowPages();

    // ConfigDialogPictures.cpp
    void FillPictures();
    // Draws a picture's thumbnail in the picture selector.
    void ComboBoxPicsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    void PlacePreviewImage(const Bitmap24& picture, const ShowItem& item);
    void FreeFlashPreview();
    void FreeThumbnails();

    // ConfigDialogMusic.cpp
    void FillMusic();
    // Draws a track's name in the track selector.
    void ComboBoxMusicsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    // Enables the player buttons by the player's mode.
    void UpdateMusicButtons();
    // Stops the player, and drops a track it is still opening.
    void StopMusicPlayer();
    void WriteMusicOptions();

    // ConfigDialogTabs.cpp
    // Lays the visible tab buttons out across the tab bar.
    void LayoutTabButtons();

    // ConfigDialogSaving.cpp
    void SavePicture();
    void SaveAllPictures();
    void SaveMusic();

    Ui ui_;
    std::unique_ptr<DialogShell> shell_;
    std::unique_ptr<PackageFile> package_;
    QStringList dynamicTexts_;
    WindowHandle parentWindow_ = 0;
    WindowHandle ownerOfParent_ = 0;
    std::unique_ptr<MusicPlayer> musicPlayer_;
    int chosenTrack_ = -1;
    // The player of the Flash preview; it ends before the dialog's widgets go.
    std::unique_ptr<FlashPlayers> flashPlayers_;
    FlashHost* flashPreview_ = nullptr;
};

} // namespace scr
