#pragma once
// TForm_XSCR_Config: the configuration dialog. It presents the packed screen
// saver (name, description, author with e-mail and home page, icon), lets the
// user browse the pictures and Flash movies with a live preview, save them or
// make a picture the wallpaper, play the music tracks and set the three music
// options the show obeys, and shows the licence text. Its only lasting effect
// is the music options, written when the user presses OK.
//
// The dialog creates and owns the package (XSCR) of the process for its
// lifetime. Started for another program's window (ParentWindow), it becomes a
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
#include "dialogs/SaveDialogEx.h"
#include "dialogs/SkinnedFrame.h"
#include "package/PackageRecords.h"
#include "platform/Bitmap24.h"
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

class ImageControl;
class MusicDevice;
class OwnerDrawComboBox;
class PageControl;
class VtFlashEx;
class XSCR;

class TForm_XSCR_Config : public TFormScrNeo {
    Q_OBJECT
public:
    // Picture box of the thumbnails.
    static constexpr int kThumbnailWidth = 120;
    static constexpr int kThumbnailHeight = 90;
    static constexpr int kMusicPollMs = 2000;

    // Reads the package from `packagePath`; `parentWindow` is the window that
    // started the dialog (0: none). `shell` (the real desktop when null) does
    // the dialog's outside work.
    TForm_XSCR_Config(std::string packagePath, WindowHandle parentWindow,
                      std::unique_ptr<DialogShell> shell = nullptr, QWidget* owner = nullptr);
    ~TForm_XSCR_Config() override;

    XSCR* Package() const { return package_.get(); }
    DialogShell& Shell() const { return *shell_; }

    // --- Fields ---
    WindowHandle ParentWindow = 0;
    WindowHandle OwnerOfParent = 0;
    MusicDevice* MusicWindow = nullptr;
    int LastMusicIndex = -1;
    QStringList DynamicTexts;
    VtFlashEx* FlashPreview = nullptr;

    // --- Components ---
    BevelPanel* PanelMain = nullptr;
    BevelPanel* PanelTitle = nullptr;
    QLabel* LabelScrName = nullptr;
    PageControl* PageControlScr = nullptr;
    QWidget* TSGeneral = nullptr;
    QWidget* TSPictures = nullptr;
    QWidget* TSMusics = nullptr;
    QWidget* TSLicense = nullptr;
    BevelPanel* PanelHideTabs = nullptr;
    QToolButton* BtnTab1 = nullptr;
    QToolButton* BtnTab2 = nullptr;
    QToolButton* BtnTab3 = nullptr;
    QToolButton* BtnTab6 = nullptr;
    BevelPanel* PanelButtons = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    QLabel* LabelScrDesc = nullptr;
    BevelPanel* PanelCR = nullptr;
    ImageControl* ImagesScrIcon = nullptr;
    QWidget* PanelCopyRight = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* LabelAuthor = nullptr;
    QLabel* LabelEmail = nullptr;
    QLabel* LabelHomePage = nullptr;

    OwnerDrawComboBox* ComboBoxPics = nullptr;
    QToolButton* SBtnPSave = nullptr;
    QToolButton* SBtnPSaveAll = nullptr;
    QToolButton* BtnWallpaper = nullptr;
    BevelPanel* PanelScreen = nullptr;
    ImageControl* ImageFore = nullptr;

    OwnerDrawComboBox* ComboBoxMusics = nullptr;
    QToolBar* ToolBarMusic = nullptr;
    QToolButton* TBtnEMusicPlay = nullptr;
    QToolButton* TBtnEMusicPause = nullptr;
    QToolButton* TBtnEMusicStop = nullptr;
    QToolButton* TBtnSaveM = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBoxMusicROP = nullptr;
    QCheckBox* CheckBoxMusicRA = nullptr;
    QCheckBox* CheckBoxMusicMute = nullptr;

    QPlainTextEdit* MemoLA = nullptr;
    QTimer* TimerMusics = nullptr;
    TSaveDialogEx SaveDialog1;
    QMenu* PMWallpaper = nullptr;
    QAction* PMICenter = nullptr;
    QAction* PMITile = nullptr;
    QAction* PMIStretch = nullptr;
    QAction* PMIRemove = nullptr;

    // --- Event handlers ---
    void BtnOKClick();
    void BtnCancelClick();
    void PageControlScrChange();
    void BtnTabsClick(QToolButton* sender);
    void ComboBoxPicsChange();
    void ComboBoxPicsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    void ComboBoxMusicsChange();
    void ComboBoxMusicsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    void TBtnEMusicPlayClick();
    void TBtnEMusicPauseClick();
    void TBtnEMusicStopClick();
    void TBtnSaveMClick();
    void TimerMusicsTimer();
    void SBtnPSaveClick();
    void SBtnPSaveAllClick();
    void BtnWallpaperClick();
    void PMWallpaperPopup();
    void PMIWallpaperClick(QObject* sender);
    void PMIRemoveClick();
    void LabelEmailClick();
    void LabelHomePageClick();

    // Enables the player buttons by the player's mode.
    void UpdateMusicButtons();
    // Lays the visible tab buttons out across PanelHideTabs.
    void LayoutTabButtons();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ConfigDialogLayout.cpp
    void CreateComponents();
    void CreateGeneralPage();
    void CreatePicturesPage();
    void CreateMusicPage();
    void CreateLicensePage();
    void CreateTabButtons();
    void ConnectHandlers();

    // ConfigDialog.cpp
    // Makes the dialog a child of ParentWindow; false when it stays a top-level window.
    bool AttachToParentWindow();
    void FillDialog();
    void FillGeneral();
    void ShowPages();

    // ConfigDialogPictures.cpp
    void FillPictures();
    void PlacePreviewImage(const Bitmap24& picture, const ShowItem& item);
    void FreeFlashPreview();
    void FreeThumbnails();

    // ConfigDialogMusic.cpp
    void FillMusic();
    void WriteMusicOptions();

    // ConfigDialogSaving.cpp
    void SavePicture();
    void SaveAllPictures();
    void SaveMusic();

    std::unique_ptr<DialogShell> shell_;
    std::unique_ptr<XSCR> package_;
};

} // namespace scr
