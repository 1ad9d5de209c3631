// TForm_XSCR_Config: creation, filling, destruction, OK and Cancel.
#include "dialogs/ConfigDialog.h"

#include "dialogs/DialogShell.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/ModalResult.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/PageControl.h"
#include "dialogs/ProgramResource.h"
#include "package/XSCR.h"
#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/gui/ForeignWindow.h"
#include "platform/gui/ImageControl.h"
#include "platform/gui/WindowActivation.h"
#include "show/MusicPlayer.h"
#include "show/VtFlashEx.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

namespace scr {
namespace {

// Dynamic texts of this file.
constexpr int kTextCaptionSuffix = 13;
constexpr int kTextNoAuthor = 16;
// The licence memo takes at most this many characters.
constexpr int kMemoMaxLength = 65536;

QString FromCodePage(const std::string& text) {
    return QString::fromStdString(DecodeCodePage(text));
}

} // namespace

TForm_XSCR_Config::TForm_XSCR_Config(std::string packagePath, WindowHandle parentWindow,
                                     std::unique_ptr<DialogShell> shell, QWidget* owner)
    : TFormScrNeo(owner), shell_(shell ? std::move(shell) : std::make_unique<DialogShell>()) {
    setObjectName(QStringLiteral("Form_XSCR_Config"));
    CreateComponents();
    ConnectHandlers();

    OwnerOfParent = 0;
    ParentWindow = parentWindow;
    LastMusicIndex = -1;
    // The frame draws its own title bar (the base form has no system frame).
    EmbedPanel(PanelMain);
    // Sized now, the dialog can be centred in the window that started it.
    const bool embedded = AttachToParentWindow();
    PanelHideTabs->setParent(PageControlScr->parentWidget());
    PanelHideTabs->setGeometry(PageControlScr->x(), PageControlScr->y(), PageControlScr->width(),
                               PageControlScr->TabHeight());
    PanelHideTabs->show();
    PanelHideTabs->raise();

    FlashPreview = nullptr;
    package_ = std::make_unique<XSCR>(std::move(packagePath));
    ApplyProgramCaptions(QStringLiteral("FS_0"), this);
    LoadLanguage(QStringLiteral("FS_0"), DynamicTexts, LanguageSourceOf(package_->SourcePath()), this);
    FillDialog();
    PageControlScrChange();
    if (!embedded) CenterOnScreen();
}

TForm_XSCR_Config::~TForm_XSCR_Config() {
    TimerMusics->stop();
    FreeFlashPreview();
    FreeThumbnails();
    DynamicTexts.clear();
    MusicDestroy(MusicWindow);
    MusicWindow = nullptr;
    package_.reset();
    // The window that started the dialog gets the foreground back. X11 has no
    // disabled state for it, so there is nothing to re-enable.
    const WindowHandle returnTo = OwnerOfParent != 0 ? OwnerOfParent : ParentWindow;
    if (returnTo != 0 && shell_->ForegroundWindow() != returnTo) shell_->SetForegroundWindow(returnTo);
}

bool TForm_XSCR_Config::AttachToParentWindow() {
    if (ParentWindow == 0) return false; // a top-level window without a border of its own
    // A window that has gone leaves the dialog a top-level window.
    if (!EmbedInForeignWindow(this, ParentWindow)) return false;
    OwnerOfParent = ParentOfForeignWindow(ParentWindow);
    // Centred in the window it lives in.
    if (const auto size = ForeignWindowSize(ParentWindow))
        move(std::max((size->width() - width()) / 2, 0), std::max((size->height() - height()) / 2, 0));
    return true;
}

void TForm_XSCR_Config::FillDialog() {
    FillGeneral();
    FillPictures();
    FillMusic();
    MemoLA->setPlainText(FromCodePage(package_->LicenseText()).left(kMemoMaxLength));
    ShowPages();
    PageControlScr->SetActivePage(TSGeneral);
}

void TForm_XSCR_Config::FillGeneral() {
    const QString name = FromCodePage(package_->Name());
    SetFrameCaption(name + QLatin1Char(' ') + DynamicText(kTextCaptionSuffix, DynamicTexts));
    QGuiApplication::setApplicationDisplayName(GetFrameCaption());
    LabelScrName->setText(name);
    LabelScrDesc->setText(FromCodePage(package_->Description()));

    const bool hasAuthor = package_->HasAuthorInfo();
    // A package without dynamic texts leaves the panel its English caption.
    const QStringList texts = DynamicTexts.isEmpty() ? ProgramLanguageTables().dynamicTexts : DynamicTexts;
    PanelCR->setCaption(hasAuthor ? QString() : DynamicText(kTextNoAuthor, texts));
    for (QWidget* part : {static_cast<QWidget*>(PanelCopyRight), static_cast<QWidget*>(LabelAuthor),
                          static_cast<QWidget*>(LabelEmail), static_cast<QWidget*>(LabelHomePage)})
        part->setVisible(hasAuthor);
    if (hasAuthor) {
        const AuthorInfo& author = package_->Author();
        LabelAuthor->setText(FromCodePage(author.name()));
        LabelEmail->setText(FromCodePage(author.email()));
        LabelHomePage->setText(FromCodePage(author.homepage()));
    }
    ImagesScrIcon->setPicture(LoadBitmapResource(QStringLiteral("MAINICON")));
}

void TForm_XSCR_Config::ShowPages() {
    const struct {
        QWidget* page;
        QToolButton* tab;
        bool shown;
    } pages[] = {{TSPictures, BtnTab2, package_->ItemCount() > 0},
                 {TSMusics, BtnTab3, package_->MusicCount() > 0},
                 {TSLicense, BtnTab6, !package_->LicenseText().empty()},
                 {TSGeneral, BtnTab1, true}};
    for (const auto& entry : pages) {
        PageControlScr->SetTabVisible(entry.page, entry.shown);
        entry.tab->setVisible(entry.shown);
    }
}

void TForm_XSCR_Config::BtnOKClick() {
    if (package_->MusicCount() > 0) WriteMusicOptions();
    done(mrOk);
}

void TForm_XSCR_Config::BtnCancelClick() {
    done(mrCancel);
}

bool TForm_XSCR_Config::eventFilter(QObject* watched, QEvent* event) {
    // The licence memo is read-only: Enter there neither types a line nor
    // reaches the dialog, which would take it for OK.
    if (watched == MemoLA && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == LabelEmail) LabelEmailClick();
        if (watched == LabelHomePage) LabelHomePageClick();
    }
    return TFormScrNeo::eventFilter(watched, event);
}

} // namespace scr
