#pragma once
// InstallerWizard: the installer wizard of a self-installing screen saver.
// Three pages on the skinned frame: the screen saver (name, description), its
// licence (only when it has one; Next waits for the agreement) and the
// destination (file name in the system directory, desktop shortcut). Install
// copies the running file into the system directory as "<name>.scr", marked
// as an installed screen saver, creates the shortcut, writes the uninstall
// entry and hands the file to the desktop's screen-saver host. The wizard
// owns its package while it lives.

#include "dialogs/BevelPanel.h"
#include "dialogs/MessageStyle.h"
#include "dialogs/SkinnedDialog.h"
#include "package/PackageFile.h"

#include <QStringList>
#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace scr {

class InstallerWizard : public SkinnedDialog {
    Q_OBJECT
public:
    // Dynamic texts the wizard uses.
    static constexpr int kTextTitle = 21;
    static constexpr int kTextReplaceQuestion = 23;
    static constexpr int kTextInstallFailed = 24;
    // Its two messages: Yes/No/Cancel with a question icon; OK with an information icon.
    static constexpr MessageStyle kReplaceStyle{MessageIcon::Question, MessageButtons::YesNoCancel};
    static constexpr MessageStyle kFailureStyle{MessageIcon::Information, MessageButtons::Ok};

    // Reads the package from `packagePath` (the file of this run's package,
    // which is also the file that gets installed).
    InstallerWizard(QWidget* owner, std::string packagePath);
    ~InstallerWizard() override;

    // True when the package carries its signature; otherwise the wizard must
    // show its "Data Error..." page instead (ShowDataError).
    bool HasUsablePackage() const;
    // Hides the pages and the buttons and shows LabelError under the title
    // "ScreenSaver Installer".
    void ShowDataError();

    // The installation (Next on the last page). True when it completed; the
    // wizard then ends with mrOk. False when the user kept an existing file or
    // the copy failed (after the failure message); the wizard stays open.
    bool InstallScreenSaver();
    // The installed file's path once InstallScreenSaver succeeded.
    const std::string& InstalledPath() const { return installedPath_; }

    // Page indices of PCInstaller.
    enum Page { kPageScr = 0, kPageLicense = 1, kPageDest = 2, kPageCount = 3 };
    int ActivePage() const;
    // False when the page's tab is hidden, which makes the navigation skip it.
    bool PageTabVisible(int page) const;

    QStringList DynamicTexts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Event handlers, named after the component and the event.
    void BtnNextClick();
    void BtnPrevClick();
    void PCInstallerChange();
    void CheckBoxAgreeClick();
    void LabelErrorClick();

private:
    // The controls. Each keeps its object name (the comment beside it), by which the
    // language tables and the tests find it.
    struct Ui {
        BevelPanel* panel = nullptr;          // PanelMain
        QStackedWidget* pages = nullptr;      // PCInstaller
        QWidget* screenSaverPage = nullptr;   // TSScr
        QGroupBox* nameBox = nullptr;         // GroupBox2
        QLabel* name = nullptr;               // LabelScrName
        QGroupBox* descriptionBox = nullptr;  // GroupBox3
        QLabel* description = nullptr;        // LabelScrDesc
        QWidget* licensePage = nullptr;       // TSLicense
        QPlainTextEdit* license = nullptr;    // MemoLicense
        QCheckBox* agree = nullptr;           // CheckBoxAgree
        QWidget* destinationPage = nullptr;   // TSDest
        QLabel* destinationIntro = nullptr;   // Label6
        QLabel* systemFolder = nullptr;       // LabelSysPath
        QGroupBox* fileNameBox = nullptr;     // GroupBox1
        QLineEdit* fileName = nullptr;        // EditFileName
        QLabel* fileExtension = nullptr;      // Label5
        QCheckBox* desktopShortcut = nullptr; // CheckBoxShorcut
        BevelPanel* buttonRow = nullptr;      // PanelB
        QPushButton* back = nullptr;          // BtnPrev
        QPushButton* next = nullptr;          // BtnNext
        QPushButton* cancel = nullptr;        // BtnCancel
        BevelPanel* pageCaption = nullptr;    // PanelHideTabs
        QLabel* dataError = nullptr;          // LabelError
    };

    bool PCInstallerChanging() const;
    void CreateComponents();
    QWidget* CreatePage(const char* name, int tag, const QString& caption);
    void FillFromPackage();
    // Moves to the next (+1) or previous (-1) page whose tab is visible, when
    // there is one and the active page may be left.
    void MoveToVisiblePage(int direction);
    void UpdatePrevButton();
    void CreateDesktopShortcut(const std::string& destination);

    Ui ui_;
    std::string sourcePath_;
    std::unique_ptr<PackageFile> package_;
    std::array<bool, kPageCount> tabVisible_{true, true, true};
    std::string installedPath_;
};

} // namespace scr
