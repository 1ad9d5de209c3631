#include "installer/InstallerWizard.h"

#include "dialogs/ComponentRole.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/MessageForm.h"
#include "dialogs/ModalResult.h"
#include "installer/DesktopShortcut.h"
#include "installer/InstallNames.h"
#include "installer/InstalledCopy.h"
#include "installer/ScreenSaverHost.h"
#include "installer/UninstallEntry.h"
#include "platform/CodePage.h"
#include "platform/FileAttributes.h"
#include "platform/FilePathText.h"
#include "platform/StandardDirectories.h"
#include "platform/gui/SpecialFolder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <filesystem>

namespace scr {
namespace {

constexpr int kPanelWidth = 513;
constexpr int kPanelHeight = 345;
constexpr int kButtonPanelHeight = 73;
constexpr int kTabHeight = 25;
constexpr int kPageLeft = 8;
constexpr int kPageTop = 8;
constexpr int kPageWidth = kPanelWidth - 2 * kPageLeft;
constexpr int kPageHeight = kPanelHeight - kButtonPanelHeight - kPageTop;
// Page content starts below the (covered) tab row.
constexpr int kContentTop = kTabHeight + 11;
constexpr int kContentLeft = 8;
constexpr int kContentWidth = kPageWidth - 2 * kContentLeft;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 29;
constexpr int kButtonTop = 22;

QString FromCodePage(const std::string& text) {
    return QString::fromStdString(DecodeCodePage(text));
}

QLabel* MakeLabel(QWidget* parent, const char* name, int tag, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    DeclareComponent(label, ComponentRole::Label, tag);
    return label;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, int tag, const QString& caption,
                        const QRect& bounds) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(bounds);
    DeclareComponent(box, ComponentRole::GroupBox, tag);
    return box;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, int tag, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    DeclareComponent(box, ComponentRole::CheckBox, tag);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int tag, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
    DeclareComponent(button, ComponentRole::Button, tag);
    return button;
}

QFont BoldFont(int pixelSize) {
    QFont font = DialogFont(pixelSize);
    font.setBold(true);
    return font;
}

} // namespace

TFormXInstaller::TFormXInstaller(QWidget* owner, std::string packagePath)
    : TFormScrNeo(owner), sourcePath_(std::move(packagePath)) {
    setObjectName(QStringLiteral("FormXInstaller"));
    package_ = std::make_unique<XSCR>(sourcePath_);

    CreateComponents();
    EmbedPanel(PanelMain);
    PanelHideTabs->setGeometry(PCInstaller->x(), PCInstaller->y(), PCInstaller->width(), kTabHeight + 5);
    PanelHideTabs->raise();

    LoadLanguage(QStringLiteral("FS_0"), DynamicTexts, LanguageSourceOf(sourcePath_), this);

    PCInstaller->setCurrentIndex(kPageScr);
    PCInstallerChange();
    FillFromPackage();
    UpdatePrevButton();
    CenterOnScreen();
}

TFormXInstaller::~TFormXInstaller() = default;

void TFormXInstaller::CreateComponents() {
    PanelMain = new BevelPanel(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    PanelMain->setColor(ColorFromColorRef(kFormColor));
    PanelMain->resize(kPanelWidth, kPanelHeight);

    PCInstaller = new QStackedWidget(PanelMain);
    PCInstaller->setObjectName(QStringLiteral("PCInstaller"));
    PCInstaller->setGeometry(kPageLeft, kPageTop, kPageWidth, kPageHeight);

    // Page 1: the screen saver.
    TSScr = CreatePage("TSScr", 2001, QStringLiteral("Screen Saver"));
    GroupBox2 = MakeGroupBox(TSScr, "GroupBox2", 2003, QStringLiteral("Name"),
                             QRect(kContentLeft, kContentTop, kContentWidth, 72));
    LabelScrName = MakeLabel(GroupBox2, "LabelScrName", 0, QString());
    LabelScrName->setGeometry(10, 20, kContentWidth - 20, 44);
    LabelScrName->setFont(DialogFont(19));
    LabelScrName->setAlignment(Qt::AlignCenter);
    LabelScrName->setWordWrap(true);
    GroupBox3 =
        MakeGroupBox(TSScr, "GroupBox3", 2004, QStringLiteral("Description"),
                     QRect(kContentLeft, kContentTop + 80, kContentWidth, kPageHeight - kContentTop - 88));
    LabelScrDesc = MakeLabel(GroupBox3, "LabelScrDesc", 0, QString());
    LabelScrDesc->setGeometry(10, 20, kContentWidth - 20, GroupBox3->height() - 28);
    LabelScrDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelScrDesc->setWordWrap(true);

    // Page 2: the licence.
    TSLicense = CreatePage("TSLicense", 2010, QStringLiteral("License Agreement"));
    MemoLicense = new QPlainTextEdit(TSLicense);
    MemoLicense->setObjectName(QStringLiteral("MemoLicense"));
    MemoLicense->setReadOnly(true);
    MemoLicense->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLicense->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoLicense->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MemoLicense->setGeometry(kContentLeft, kContentTop, kContentWidth, kPageHeight - kContentTop - 36);
    CheckBoxAgree =
        MakeCheckBox(TSLicense, "CheckBoxAgree", 2011, QStringLiteral("I &Accept the License Agreement"));
    CheckBoxAgree->setGeometry(kContentLeft, kPageHeight - 30, kContentWidth, 24);

    // Page 3: the destination.
    TSDest = CreatePage("TSDest", 2002, QStringLiteral("Destination"));
    Label6 = MakeLabel(TSDest, "Label6", 2005,
                       QStringLiteral("The screen saver will be installed into this folder:"));
    Label6->setGeometry(kContentLeft, kContentTop, kContentWidth, 36);
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label6->setWordWrap(true);
    LabelSysPath = MakeLabel(TSDest, "LabelSysPath", 0, QString());
    LabelSysPath->setGeometry(kContentLeft, kContentTop + 38, kContentWidth, 42);
    LabelSysPath->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelSysPath->setFont(BoldFont(16));
    LabelSysPath->setWordWrap(true);
    GroupBox1 = MakeGroupBox(TSDest, "GroupBox1", 2002, QStringLiteral("File Name"),
                             QRect(kContentLeft, kContentTop + 86, kContentWidth, 62));
    EditFileName = new QLineEdit(GroupBox1);
    EditFileName->setObjectName(QStringLiteral("EditFileName"));
    EditFileName->setGeometry(12, 24, kContentWidth - 84, 24);
    // The name becomes one file in the system directory: no folder separators
    // and no control characters can be typed.
    EditFileName->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^/\\x00-\\x1f\\x7f]*")), EditFileName));
    Label5 = MakeLabel(GroupBox1, "Label5", 0, QStringLiteral(".SCR"));
    Label5->setGeometry(kContentWidth - 66, 27, 56, 18);
    Label5->setFont(BoldFont(13));
    CheckBoxShorcut =
        MakeCheckBox(TSDest, "CheckBoxShorcut", 2007, QStringLiteral("Create a shortcut on the desktop"));
    CheckBoxShorcut->setGeometry(kContentLeft, kContentTop + 160, kContentWidth, 24);
    CheckBoxShorcut->setChecked(true);

    // The button row.
    PanelB = new BevelPanel(PanelMain);
    PanelB->setObjectName(QStringLiteral("PanelB"));
    PanelB->setColor(ColorFromColorRef(kFormColor));
    PanelB->setGeometry(0, kPanelHeight - kButtonPanelHeight, kPanelWidth, kButtonPanelHeight);
    const int right = kPanelWidth - 16 - kButtonWidth;
    BtnPrev = MakeButton(PanelB, "BtnPrev", 2008, QStringLiteral("< &Back"), right - 2 * kButtonWidth - 16);
    BtnNext = MakeButton(PanelB, "BtnNext", 2009, QStringLiteral("&Next >"), right - kButtonWidth - 8);
    BtnCancel = MakeButton(PanelB, "BtnCancel", 1024, QStringLiteral("Cancel"), right);
    BtnPrev->setEnabled(false);
    BtnNext->setDefault(true);
    BtnNext->setAutoDefault(true);
    SetCancelButton(BtnCancel);

    // The panel over the tab row shows the active page's caption.
    PanelHideTabs = new BevelPanel(PanelMain);
    PanelHideTabs->setObjectName(QStringLiteral("PanelHideTabs"));
    PanelHideTabs->setColor(ColorFromColorRef(kFormColor));
    QFont italic = DialogFont(19);
    italic.setItalic(true);
    PanelHideTabs->setFont(italic);

    LabelError = MakeLabel(PanelMain, "LabelError", 0, QStringLiteral("Data Error..."));
    LabelError->setGeometry(0, 0, kPanelWidth, kPanelHeight);
    LabelError->setAlignment(Qt::AlignCenter);
    LabelError->setFont(DialogFont(37));
    QPalette red = LabelError->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    LabelError->setPalette(red);
    LabelError->hide();
    LabelError->installEventFilter(this);

    connect(BtnNext, &QPushButton::clicked, this, &TFormXInstaller::BtnNextClick);
    connect(BtnPrev, &QPushButton::clicked, this, &TFormXInstaller::BtnPrevClick);
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(CheckBoxAgree, &QCheckBox::toggled, this, &TFormXInstaller::CheckBoxAgreeClick);
}

QWidget* TFormXInstaller::CreatePage(const char* name, int tag, const QString& caption) {
    auto* page = new QWidget(PCInstaller);
    page->setObjectName(QString::fromLatin1(name));
    page->setWindowTitle(caption);
    DeclareComponent(page, ComponentRole::TabSheet, tag);
    PCInstaller->addWidget(page);
    return page;
}

void TFormXInstaller::FillFromPackage() {
    const QString name = FromCodePage(package_->Name());
    const QString title = DynamicText(kTextTitle, DynamicTexts);
    SetFrameCaption(title);
    // The application's title, which the task bar shows.
    setWindowTitle(title + QLatin1Char(' ') + name);

    EditFileName->setText(FromCodePage(SafeNameComponent(package_->Name())));
    LabelScrName->setText(FromCodePage(TrimName(package_->Name())));
    LabelScrDesc->setText(FromCodePage(package_->Description()));
    LabelSysPath->setText(QString::fromStdString(IncludeTrailingPathDelimiter(TrimName(SystemDirectory()))));

    MemoLicense->setPlainText(FromCodePage(package_->LicenseText()));
    if (MemoLicense->toPlainText().isEmpty()) tabVisible_[kPageLicense] = false;
}

bool TFormXInstaller::HasUsablePackage() const {
    return SignatureMatches(package_->Info().bytes().data());
}

void TFormXInstaller::ShowDataError() {
    const QString title = QStringLiteral("ScreenSaver Installer");
    SetFrameCaption(title);
    PCInstaller->hide();
    PanelB->hide();
    PanelHideTabs->hide();
    LabelError->show();
    LabelError->raise();
}

int TFormXInstaller::ActivePage() const {
    return PCInstaller->currentIndex();
}

bool TFormXInstaller::PageTabVisible(int page) const {
    return page >= 0 && page < kPageCount && tabVisible_[static_cast<std::size_t>(page)];
}

void TFormXInstaller::PCInstallerChange() {
    PanelHideTabs->setCaption(PCInstaller->currentWidget()->windowTitle());
}

bool TFormXInstaller::PCInstallerChanging() const {
    return ActivePage() != kPageLicense || BtnNext->isEnabled();
}

void TFormXInstaller::CheckBoxAgreeClick() {
    BtnNext->setEnabled(CheckBoxAgree->isChecked() || !PageTabVisible(kPageLicense));
}

void TFormXInstaller::MoveToVisiblePage(int direction) {
    for (int page = ActivePage() + direction; page >= 0 && page < kPageCount; page += direction) {
        if (!PageTabVisible(page)) continue;
        if (!PCInstallerChanging()) return;
        PCInstaller->setCurrentIndex(page);
        PCInstallerChange();
        return;
    }
}

void TFormXInstaller::UpdatePrevButton() {
    BtnPrev->setEnabled(ActivePage() != kPageScr);
}

void TFormXInstaller::BtnNextClick() {
    switch (ActivePage()) {
    case kPageDest:
        InstallScreenSaver();
        break;
    case kPageScr:
        MoveToVisiblePage(+1);
        CheckBoxAgreeClick();
        break;
    case kPageLicense:
        MoveToVisiblePage(+1);
        break;
    default:
        break;
    }
    UpdatePrevButton();
}

void TFormXInstaller::BtnPrevClick() {
    if (ActivePage() != kPageScr) {
        // Leaving the licence page backwards is always allowed.
        BtnNext->setEnabled(true);
        MoveToVisiblePage(-1);
    }
    UpdatePrevButton();
}

void TFormXInstaller::LabelErrorClick() {
    done(mrCancel);
}

bool TFormXInstaller::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelError && event->type() == QEvent::MouseButtonRelease) {
        LabelErrorClick();
        return true;
    }
    return TFormScrNeo::eventFilter(watched, event);
}

bool TFormXInstaller::InstallScreenSaver() {
    const QString title = DynamicText(kTextTitle, DynamicTexts);
    const std::string fileName = EditFileName->text().toStdString();
    const std::string destination = IncludeTrailingPathDelimiter(SystemDirectory()) + fileName + ".scr";

    if (IsPlainFileName(fileName) && FileExists(destination) &&
        ShowMessageForm(DynamicText(kTextReplaceQuestion, DynamicTexts), title, kReplaceFlags,
                        &DynamicTexts) != mrYes)
        return false;

    // The copy replaces an existing file only once it is complete, so a
    // failure leaves the screen saver the user agreed to replace as it was.
    // A name that is not one plain file name fails like a copy that cannot be made.
    if (!IsPlainFileName(fileName) || !WriteInstalledCopy(sourcePath_, destination)) {
        ShowMessageForm(DynamicText(kTextInstallFailed, DynamicTexts), title, kFailureFlags, nullptr);
        return false;
    }
    ClearReadOnly(destination);
    installedPath_ = destination;

    if (CheckBoxShorcut->isChecked()) CreateDesktopShortcut(destination);

    const std::string displayName = LabelScrName->text().toStdString();
    WriteUninstallEntry(fileName, displayName, destination + " -U");
    HandOverToScreenSaverHost(destination, displayName);

    done(mrOk);
    return true;
}

void TFormXInstaller::CreateDesktopShortcut(const std::string& destination) {
    std::string desktop;
    if (!GetSpecialFolder(desktop, kFolderDesktop)) return;
    std::error_code ec;
    std::filesystem::create_directories(desktop, ec);
    ShortcutFields fields;
    fields.name = LabelScrName->text().toStdString();
    fields.target = destination;
    fields.workingDirectory = ExtractFilePath(destination);
    fields.uninstallCommand = "-U";
    CreateShortcut(fields, ShortcutPath(desktop, fields.name));
}

} // namespace scr
