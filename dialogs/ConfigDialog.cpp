// ConfigDialog: creation, filling, destruction, OK and Cancel.
#include "dialogs/ConfigDialog.h"

#include "dialogs/DialogShell.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/ModalResult.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/PageControl.h"
#include "dialogs/ProgramResource.h"
#include "package/PackageFile.h"
#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/gui/ForeignWindow.h"
#include "platform/gui/ImageControl.h"
#include "platform/gui/WindowActivation.h"
#include "show/FlashHost.h"
#include "show/FlashPlayers.h"
#include "show/MusicPlayer.h"

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

ConfigDialog::ConfigDialog(std::string packagePath, WindowHandle parentWindow,
                           const ReadingEnvironment& reading, std::unique_ptr<DialogShell> shell,
                           QWidget* owner)
    : SkinnedDialog(owner), shell_(shell ? std::move(shell) : std::make_unique<DialogShell>()),
      parentWindow_(parentWindow) {
    setObjectName(QStringLiteral("Form_XSCR_Config"));
    flashPlayers_ = std::make_unique<FlashPlayers>(this);
    CreateComponents();
    ConnectHandlers();

    // The frame draws its own title bar (the base form has no system frame).
    EmbedPanel(ui_.panel);
    // Sized now, the dialog can be centred in the window that started it.
    const bool embedded = AttachToParentWindow();
    ui_.tabBar->setParent(ui_.pages->parentWidget());
    ui_.tabBar->setGeometry(ui_.pages->x(), ui_.pages->y(), ui_.pages->width(), ui_.pages->TabHeight());
    ui_.tabBar->show();
    ui_.tabBar->raise();

    package_ = std::make_unique<PackageFile>(std::move(packagePath), reading);
    ApplyProgramCaptions(QStringLiteral("FS_0"), this);
    LoadLanguage(QStringLiteral("FS_0"), dynamicTexts_, LanguageSourceOf(package_->SourcePath()), this);
    FillDialog();
    PageControlScrChange();
    if (!embedded) CenterOnScreen();
}

ConfigDialog::~ConfigDialog() {
    ui_.playerPoll->stop();
    // The preview's player ends before its host and the dialog's widgets go.
    flashPlayers_.reset();
    FreeFlashPreview();
    FreeThumbnails();
    dynamicTexts_.clear();
    musicPlayer_.reset();
    package_.reset();
    // The window that started the dialog gets the foreground back. X11 has no
    // disabled state for it, so there is nothing to re-enable.
    const WindowHandle returnTo = ownerOfParent_ != 0 ? ownerOfParent_ : parentWindow_;
    if (returnTo != 0 && shell_->ForegroundWindow() != returnTo) shell_->SetForegroundWindow(returnTo);
}

bool ConfigDialog::AttachToParentWindow() {
    if (parentWindow_ == 0) return false; // a top-level window without a border of its own
    // A window that has gone leaves the dialog a top-level window.
    if (!EmbedInForeignWindow(this, parentWindow_)) return false;
    ownerOfParent_ = ParentOfForeignWindow(parentWindow_);
    // Centred in the window it lives in.
    if (const auto size = ForeignWindowSize(parentWindow_))
        move(std::max((size->width() - width()) / 2, 0), std::max((size->height() - height()) / 2, 0));
    return true;
}

void ConfigDialog::FillDialog() {
    FillGeneral();
    FillPictures();
    FillMusic();
    ui_.licenseText->setPlainText(FromCodePage(package_->LicenseText()).left(kMemoMaxLength));
    ShowPages();
    ui_.pages->SetActivePage(ui_.generalPage);
}

void ConfigDialog::FillGeneral() {
    const QString name = FromCodePage(package_->Name());
    SetFrameCaption(name + QLatin1Char(' ') + DynamicText(kTextCaptionSuffix, dynamicTexts_));
    QGuiApplication::setApplicationDisplayName(GetFrameCaption());
    ui_.name->setText(name);
    ui_.description->setText(FromCodePage(package_->Description()));

    const bool hasAuthor = package_->HasAuthorInfo();
    // A package without dynamic texts leaves the panel its English caption.
    const QStringList texts = dynamicTexts_.isEmpty() ? ProgramLanguageTables().dynamicTexts : dynamicTexts_;
    ui_.authorPanel->setCaption(hasAuthor ? QString() : DynamicText(kTextNoAuthor, texts));
    for (QWidget* part : {static_cast<QWidget*>(ui_.authorBlock), static_cast<QWidget*>(ui_.author),
                          static_cast<QWidget*>(ui_.email), static_cast<QWidget*>(ui_.homePage)})
        part->setVisible(hasAuthor);
    if (hasAuthor) {
        const AuthorInfo& author = package_->Author();
        ui_.author->setText(FromCodePage(author.name()));
        ui_.email->setText(FromCodePage(author.email()));
        ui_.homePage->setText(FromCodePage(author.homepage()));
    }
    ui_.icon->setPicture(LoadBitmapResource(QStringLiteral("MAINICON")));
}

void ConfigDialog::ShowPages() {
    const struct {
        QWidget* page;
        QToolButton* tab;
        bool shown;
    } pages[] = {{ui_.picturesPage, ui_.picturesTab, package_->ItemCount() > 0},
                 {ui_.musicPage, ui_.musicTab, package_->MusicCount() > 0},
                 {ui_.licensePage, ui_.licenseTab, !package_->LicenseText().empty()},
                 {ui_.generalPage, ui_.generalTab, true}};
    for (const auto& entry : pages) {
        ui_.pages->SetTabVisible(entry.page, entry.shown);
        entry.tab->setVisible(entry.shown);
    }
}

void ConfigDialog::BtnOKClick() {
    if (package_->MusicCount() > 0) WriteMusicOptions();
    done(mrOk);
}

void ConfigDialog::BtnCancelClick() {
    done(mrCancel);
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    // The licence memo is read-only: Enter there neither types a line nor
    // reaches the dialog, which would take it for OK.
    if (watched == ui_.licenseText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui_.email) LabelEmailClick();
        if (watched == ui_.homePage) LabelHomePageClick();
    }
    return SkinnedDialog::eventFilter(watched, event);
}

} // namespace scr
