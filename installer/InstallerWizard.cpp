#include "installer/InstallerWizard.h"

#include "dialogs/ComponentRole.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/ModalResult.h"
#include "installer/DesktopShortcut.h"
#include "installer/InstallNames.h"
#include "installer/InstalledCopy.h"
#include "installer/ScreenSaverHandOver.h"
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
#include <cstdio>
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

InstallerWizard::InstallerWizard(QWidget* owner, std::string packagePath)
    : SkinnedDialog(owner), sourcePath_(std::move(packagePath)) {
    setObjectName(QStringLiteral("FormXInstaller"));
    package_ = std::make_unique<PackageFile>(sourcePath_);

    CreateComponents();
    EmbedPanel(ui_.panel);
    ui_.pageCaption->setGeometry(ui_.pages->x(), ui_.pages->y(), ui_.pages->width(), kTabHeight + 5);
    ui_.pageCaption->raise();

    LoadLanguage(QStringLiteral("FS_0"), DynamicTexts, LanguageSourceOf(sourcePath_), this);

    ui_.pages->setCurrentIndex(kPageScr);
    PCInstallerChange();
    FillFromPackage();
    UpdatePrevButton();
    CenterOnScreen();
}

InstallerWizard::~InstallerWizard() = default;

void InstallerWizard::CreateComponents() {
    ui_.panel = new BevelPanel(this);
    ui_.panel->setObjectName(QStringLiteral("PanelMain"));
    ui_.panel->setColor(ColorFromColorRef(kFormColor));
    ui_.panel->resize(kPanelWidth, kPanelHeight);

    ui_.pages = new QStackedWidget(ui_.panel);
    ui_.pages->setObjectName(QStringLiteral("PCInstaller"));
    ui_.pages->setGeometry(kPageLeft, kPageTop, kPageWidth, kPageHeight);

    // Page 1: the screen saver.
    ui_.screenSaverPage = CreatePage("TSScr", 2001, QStringLiteral("Screen Saver"));
    ui_.nameBox = MakeGroupBox(ui_.screenSaverPage, "GroupBox2", 2003, QStringLiteral("Name"),
                               QRect(kContentLeft, kContentTop, kContentWidth, 72));
    ui_.name = MakeLabel(ui_.nameBox, "LabelScrName", 0, QString());
    ui_.name->setGeometry(10, 20, kContentWidth - 20, 44);
    ui_.name->setFont(DialogFont(19));
    ui_.name->setAlignment(Qt::AlignCenter);
    ui_.name->setWordWrap(true);
    ui_.descriptionBox =
        MakeGroupBox(ui_.screenSaverPage, "GroupBox3", 2004, QStringLiteral("Description"),
                     QRect(kContentLeft, kContentTop + 80, kContentWidth, kPageHeight - kContentTop - 88));
    ui_.description = MakeLabel(ui_.descriptionBox, "LabelScrDesc", 0, QString());
    ui_.description->setGeometry(10, 20, kContentWidth - 20, ui_.descriptionBox->height() - 28);
    ui_.description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui_.description->setWordWrap(true);

    // Page 2: the licence.
    ui_.licensePage = CreatePage("TSLicense", 2010, QStringLiteral("License Agreement"));
    ui_.license = new QPlainTextEdit(ui_.licensePage);
    ui_.license->setObjectName(QStringLiteral("MemoLicense"));
    ui_.license->setReadOnly(true);
    ui_.license->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui_.license->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui_.license->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ui_.license->setGeometry(kContentLeft, kContentTop, kContentWidth, kPageHeight - kContentTop - 36);
    ui_.agree = MakeCheckBox(ui_.licensePage, "CheckBoxAgree", 2011,
                             QStringLiteral("I &Accept the License Agreement"));
    ui_.agree->setGeometry(kContentLeft, kPageHeight - 30, kContentWidth, 24);

    // Page 3: the destination.
    ui_.destinationPage = CreatePage("TSDest", 2002, QStringLiteral("Destination"));
    ui_.destinationIntro = MakeLabel(ui_.destinationPage, "Label6", 2005,
                                     QStringLiteral("The screen saver will be installed into this folder:"));
    ui_.destinationIntro->setGeometry(kContentLeft, kContentTop, kContentWidth, 36);
    ui_.destinationIntro->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui_.destinationIntro->setWordWrap(true);
    ui_.systemFolder = MakeLabel(ui_.destinationPage, "LabelSysPath", 0, QString());
    ui_.systemFolder->setGeometry(kContentLeft, kContentTop + 38, kContentWidth, 42);
    ui_.systemFolder->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui_.systemFolder->setFont(BoldFont(16));
    ui_.systemFolder->setWordWrap(true);
    ui_.fileNameBox = MakeGroupBox(ui_.destinationPage, "GroupBox1", 2002, QStringLiteral("File Name"),
                                   QRect(kContentLeft, kContentTop + 86, kContentWidth, 62));
    ui_.fileName = new QLineEdit(ui_.fileNameBox);
    ui_.fileName->setObjectName(QStringLiteral("EditFileName"));
    ui_.fileName->setGeometry(12, 24, kContentWidth - 84, 24);
    // The name becomes one file in the system directory: no folder separators
    // and no control characters can be typed.
    ui_.fileName->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^/\\x00-\\x1f\\x7f]*")), ui_.fileName));
    ui_.fileExtension = MakeLabel(ui_.fileNameBox, "Label5", 0, QStringLiteral(".SCR"));
    ui_.fileExtension->setGeometry(kContentWidth - 66, 27, 56, 18);
    ui_.fileExtension->setFont(BoldFont(13));
    ui_.desktopShortcut = MakeCheckBox(ui_.destinationPage, "CheckBoxShorcut", 2007,
                                       QStringLiteral("Create a shortcut on the desktop"));
    ui_.desktopShortcut->setGeometry(kContentLeft, kContentTop + 160, kContentWidth, 24);
    ui_.desktopShortcut->setChecked(true);

    // The button row.
    ui_.buttonRow = new BevelPanel(ui_.panel);
    ui_.buttonRow->setObjectName(QStringLiteral("PanelB"));
    ui_.buttonRow->setColor(ColorFromColorRef(kFormColor));
    ui_.buttonRow->setGeometry(0, kPanelHeight - kButtonPanelHeight, kPanelWidth, kButtonPanelHeight);
    const int right = kPanelWidth - 16 - kButtonWidth;
    ui_.back =
        MakeButton(ui_.buttonRow, "BtnPrev", 2008, QStringLiteral("< &Back"), right - 2 * kButtonWidth - 16);
    ui_.next =
        MakeButton(ui_.buttonRow, "BtnNext", 2009, QStringLiteral("&Next >"), right - kButtonWidth - 8);
    ui_.cancel = MakeButton(ui_.buttonRow, "BtnCancel", 1024, QStringLiteral("Cancel"), right);
    ui_.back->setEnabled(false);
    ui_.next->setDefault(true);
    ui_.next->setAutoDefault(true);
    SetCancelButton(ui_.cancel);

    // The panel over the tab row shows the active page's caption.
    ui_.pageCaption = new BevelPanel(ui_.panel);
    ui_.pageCaption->setObjectName(QStringLiteral("PanelHideTabs"));
    ui_.pageCaption->setColor(ColorFromColorRef(kFormColor));
    QFont italic = DialogFont(19);
    italic.setItalic(true);
    ui_.pageCaption->setFont(italic);

    ui_.dataError = MakeLabel(ui_.panel, "LabelError", 0, QStringLiteral("Data Error..."));
    ui_.dataError->setGeometry(0, 0, kPanelWidth, kPanelHeight);
    ui_.dataError->setAlignment(Qt::AlignCenter);
    ui_.dataError->setFont(DialogFont(37));
    QPalette red = ui_.dataError->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    ui_.dataError->setPalette(red);
    ui_.dataError->hide();
    ui_.dataError->installEventFilter(this);

    connect(ui_.next, &QPushButton::clicked, this, &InstallerWizard::BtnNextClick);
    connect(ui_.back, &QPushButton::clicked, this, &InstallerWizard::BtnPrevClick);
    connect(ui_.cancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(ui_.agree, &QCheckBox::toggled, this, &InstallerWizard::CheckBoxAgreeClick);
}

QWidget* InstallerWizard::CreatePage(const char* name, int tag, const QString& caption) {
    auto* page = new QWidget(ui_.pages);
    page->setObjectName(QString::fromLatin1(name));
    page->setWindowTitle(caption);
    DeclareComponent(page, ComponentRole::TabSheet, tag);
    ui_.pages->addWidget(page);
    return page;
}

void InstallerWizard::FillFromPackage() {
    const QString name = FromCodePage(package_->Name());
    const QString title = DynamicText(kTextTitle, DynamicTexts);
    SetFrameCaption(title);
    // The application's title, which the task bar shows.
    setWindowTitle(title + QLatin1Char(' ') + name);

    ui_.fileName->setText(FromCodePage(SafeNameComponent(package_->Name())));
    ui_.name->setText(FromCodePage(TrimName(package_->Name())));
    ui_.description->setText(FromCodePage(package_->Description()));
    ui_.systemFolder->setText(
        QString::fromStdString(IncludeTrailingPathDelimiter(TrimName(SystemDirectory()))));

    ui_.license->setPlainText(FromCodePage(package_->LicenseText()));
    if (ui_.license->toPlainText().isEmpty()) tabVisible_[kPageLicense] = false;
}

bool InstallerWizard::HasUsablePackage() const {
    return SignatureMatches(package_->Info().bytes().data());
}

void InstallerWizard::ShowDataError() {
    const QString title = QStringLiteral("ScreenSaver Installer");
    SetFrameCaption(title);
    ui_.pages->hide();
    ui_.buttonRow->hide();
    ui_.pageCaption->hide();
    ui_.dataError->show();
    ui_.dataError->raise();
}

int InstallerWizard::ActivePage() const {
    return ui_.pages->currentIndex();
}

bool InstallerWizard::PageTabVisible(int page) const {
    return page >= 0 && page < kPageCount && tabVisible_[static_cast<std::size_t>(page)];
}

void InstallerWizard::PCInstallerChange() {
    ui_.pageCaption->setCaption(ui_.pages->currentWidget()->windowTitle());
}

bool InstallerWizard::PCInstallerChanging() const {
    return ActivePage() != kPageLicense || ui_.next->isEnabled();
}

void InstallerWizard::CheckBoxAgreeClick() {
    ui_.next->setEnabled(ui_.agree->isChecked() || !PageTabVisible(kPageLicense));
}

void InstallerWizard::MoveToVisiblePage(int direction) {
    for (int page = ActivePage() + direction; page >= 0 && page < kPageCount; page += direction) {
        if (!PageTabVisible(page)) continue;
        if (!PCInstallerChanging()) return;
        ui_.pages->setCurrentIndex(page);
        PCInstallerChange();
        return;
    }
}

void InstallerWizard::UpdatePrevButton() {
    ui_.back->setEnabled(ActivePage() != kPageScr);
}

void InstallerWizard::BtnNextClick() {
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

void InstallerWizard::BtnPrevClick() {
    if (ActivePage() != kPageScr) {
        // Leaving the licence page backwards is always allowed.
        ui_.next->setEnabled(true);
        MoveToVisiblePage(-1);
    }
    UpdatePrevButton();
}

void InstallerWizard::LabelErrorClick() {
    done(mrCancel);
}

bool InstallerWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.dataError && event->type() == QEvent::MouseButtonRelease) {
        LabelErrorClick();
        return true;
    }
    return SkinnedDialog::eventFilter(watched, event);
}

bool InstallerWizard::InstallScreenSaver() {
    const QString title = DynamicText(kTextTitle, DynamicTexts);
    const std::string fileName = ui_.fileName->text().toStdString();
    const std::string destination = IncludeTrailingPathDelimiter(SystemDirectory()) + fileName + ".scr";

    if (IsPlainFileName(fileName) && FileExists(destination) &&
        ShowMessageForm(DynamicText(kTextReplaceQuestion, DynamicTexts), title, kReplaceStyle,
                        &DynamicTexts) != MessageAnswer::Yes)
        return false;

    // The copy replaces an existing file only once it is complete, so a
    // failure leaves the screen saver the user agreed to replace as it was.
    // A name that is not one plain file name fails like a copy that cannot be made.
    if (!IsPlainFileName(fileName) || !WriteInstalledCopy(sourcePath_, destination)) {
        ShowMessageForm(DynamicText(kTextInstallFailed, DynamicTexts), title, kFailureStyle, nullptr);
        return false;
    }
    ClearReadOnly(destination);
    installedPath_ = destination;

    if (ui_.desktopShortcut->isChecked()) CreateDesktopShortcut(destination);

    const std::string displayName = ui_.name->text().toStdString();
    WriteUninstallEntry(fileName, displayName, destination + " -U");
    // What the hosts were told (on sway, the config line the idle watcher
    // needs) goes to standard output: the wizard has no place for it.
    for (const std::string& line : HandOverToScreenSaverHosts({destination, displayName, {}}))
        std::printf("%s\n", line.c_str());

    done(mrOk);
    return true;
}

void InstallerWizard::CreateDesktopShortcut(const std::string& destination) {
    std::string desktop;
    if (!GetSpecialFolder(desktop, kFolderDesktop)) return;
    std::error_code ec;
    std::filesystem::create_directories(desktop, ec);
    ShortcutFields fields;
    fields.name = ui_.name->text().toStdString();
    fields.target = destination;
    fields.workingDirectory = ExtractFilePath(destination);
    fields.uninstallCommand = "-U";
    CreateShortcut(fields, ShortcutPath(desktop, fields.name));
}

} // namespace scr
