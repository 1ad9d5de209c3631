#include "installer/InstallerWizard.h"

#include "dialogs/ModalResult.h"
#include "installer/IdleWatcherRegistration.h"
#include "installer/UninstallEntry.h"
#include "package/PackageTrailer.h"
#include "platform/FileAttributes.h"
#include "tests/dialogs/Screenshot.h"
#include "tests/installer/InstallerFixture.h"
#include "tests/support/FormControls.h"
#include "tests/support/ScopedEnv.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace scr {
namespace {

namespace fs = std::filesystem;
using test::FindControl;
using test::InvokeHandler;

class InstallerWizardTest : public ::testing::Test {
protected:
    // Writes an installer for `description` and opens the wizard on it.
    std::unique_ptr<InstallerWizard> Open(const PackageDescription& description) {
        installerBytes = test::WriteInstallerFile(installer, description);
        return std::make_unique<InstallerWizard>(nullptr, installer);
    }
    // Goes from the first page to the destination page, accepting a licence.
    static void GoToDestination(InstallerWizard& wizard) {
        InvokeHandler(wizard, "BtnNextClick");
        if (wizard.ActivePage() == InstallerWizard::kPageLicense) {
            FindControl<QCheckBox>(wizard, "CheckBoxAgree")->setChecked(true);
            InvokeHandler(wizard, "BtnNextClick");
        }
        ASSERT_EQ(wizard.ActivePage(), InstallerWizard::kPageDest);
    }
    std::string Destination(const std::string& name) const {
        return home.systemDirectory() + "/" + name + ".scr";
    }

    test::PrivateHome home;
    std::string installer = home.file("Setup Waves.exe");
    std::vector<uint8_t> installerBytes;
};

struct NavigationState {
    int page;
    bool prev;
    bool next;
};

void ExpectState(const InstallerWizard& wizard, NavigationState state, const char* step) {
    EXPECT_EQ(wizard.ActivePage(), state.page) << step;
    EXPECT_EQ(FindControl<QPushButton>(wizard, "BtnPrev")->isEnabled(), state.prev) << step;
    EXPECT_EQ(FindControl<QPushButton>(wizard, "BtnNext")->isEnabled(), state.next) << step;
    EXPECT_EQ(FindControl<BevelPanel>(wizard, "PanelHideTabs")->caption(),
              FindControl<QStackedWidget>(wizard, "PCInstaller")->currentWidget()->windowTitle())
        << step;
}

TEST_F(InstallerWizardTest, LicencePageGatesNextAndKeepsTheAgreement) {
    auto wizard = Open(test::InstallerDescription("Waves", "Line one\r\nLine two"));
    using W = InstallerWizard;
    ExpectState(*wizard, {W::kPageScr, false, true}, "start");
    EXPECT_EQ(FindControl<QPlainTextEdit>(*wizard, "MemoLicense")->toPlainText(),
              QStringLiteral("Line one\r\nLine two").replace("\r\n", "\n"));

    InvokeHandler(*wizard, "BtnNextClick");
    ExpectState(*wizard, {W::kPageLicense, true, false}, "licence, not agreed");
    InvokeHandler(*wizard, "BtnNextClick"); // disabled in the window; a direct call must not pass either
    ExpectState(*wizard, {W::kPageLicense, true, false}, "next without agreement");
    InvokeHandler(*wizard, "BtnPrevClick");
    ExpectState(*wizard, {W::kPageScr, false, true}, "back without agreement");

    InvokeHandler(*wizard, "BtnNextClick");
    FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->click();
    ExpectState(*wizard, {W::kPageLicense, true, true}, "agreed");
    InvokeHandler(*wizard, "BtnNextClick");
    ExpectState(*wizard, {W::kPageDest, true, true}, "destination");
    InvokeHandler(*wizard, "BtnPrevClick");
    ExpectState(*wizard, {W::kPageLicense, true, true}, "back to the licence");
    EXPECT_TRUE(FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->isChecked());
    FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->click();
    ExpectState(*wizard, {W::kPageLicense, true, false}, "agreement withdrawn");
    InvokeHandler(*wizard, "BtnPrevClick");
    InvokeHandler(*wizard, "BtnNextClick");
    ExpectState(*wizard, {W::kPageLicense, true, false}, "licence again, box as left");
    EXPECT_FALSE(FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->isChecked());
}

TEST_F(InstallerWizardTest, EmptyLicenceSkipsItsPage) {
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    using W = InstallerWizard;
    EXPECT_FALSE(wizard->PageTabVisible(W::kPageLicense));
    InvokeHandler(*wizard, "BtnNextClick");
    ExpectState(*wizard, {W::kPageDest, true, true}, "straight to the destination");
    InvokeHandler(*wizard, "BtnPrevClick");
    ExpectState(*wizard, {W::kPageScr, false, true}, "straight back");
}

TEST_F(InstallerWizardTest, FillsItsFieldsFromThePackageAndTheTables) {
    auto wizard = Open(test::InstallerDescription("Waves"));
    EXPECT_EQ(FindControl<QLabel>(*wizard, "LabelScrName")->text(), QStringLiteral("Waves"));
    EXPECT_EQ(FindControl<QLineEdit>(*wizard, "EditFileName")->text(), QStringLiteral("Waves"));
    EXPECT_EQ(FindControl<QLabel>(*wizard, "LabelScrDesc")->text(),
              QStringLiteral("A screen saver for the installer tests."));
    EXPECT_EQ(FindControl<QLabel>(*wizard, "LabelSysPath")->text(),
              QString::fromStdString(home.systemDirectory() + "/"));
    EXPECT_TRUE(fs::is_directory(home.systemDirectory()));
    EXPECT_EQ(wizard->GetFrameCaption(), QStringLiteral("Setup Title"));
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Setup Title Waves"));
    EXPECT_EQ(FindControl<QPushButton>(*wizard, "BtnCancel")->text(), QStringLiteral("Close"));
    EXPECT_EQ(FindControl<QPushButton>(*wizard, "BtnNext")->text(), QStringLiteral("Next"));
    EXPECT_EQ(FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->text(),
              QStringLiteral("I &Accept the License Agreement"));
    EXPECT_TRUE(wizard->HasUsablePackage());
    EXPECT_TRUE(FindControl<QCheckBox>(*wizard, "CheckBoxShorcut")->isChecked());
}

TEST_F(InstallerWizardTest, PackageWithoutSignatureShowsTheDataErrorPage) {
    test::WriteFile(installer, std::vector<uint8_t>(5000, 0x41));
    InstallerWizard wizard(nullptr, installer);
    ASSERT_FALSE(wizard.HasUsablePackage());
    wizard.ShowDataError();
    EXPECT_TRUE(FindControl<QStackedWidget>(wizard, "PCInstaller")->isHidden());
    EXPECT_TRUE(FindControl<BevelPanel>(wizard, "PanelB")->isHidden());
    EXPECT_TRUE(FindControl<BevelPanel>(wizard, "PanelHideTabs")->isHidden());
    EXPECT_FALSE(FindControl<QLabel>(wizard, "LabelError")->isHidden());
    EXPECT_EQ(FindControl<QLabel>(wizard, "LabelError")->text(), QStringLiteral("Data Error..."));
    EXPECT_EQ(wizard.GetFrameCaption(), QStringLiteral("ScreenSaver Installer"));
    InvokeHandler(wizard, "LabelErrorClick");
    EXPECT_EQ(wizard.result(), mrCancel);
}

TEST_F(InstallerWizardTest, InstallsTheMarkedCopyShortcutEntry) {
    home.AddProgram("xscreensaver", "exit 0"); // a screen-saver host is installed
    auto wizard = Open(test::InstallerDescription("Waves"));
    GoToDestination(*wizard);
    InvokeHandler(*wizard, "BtnNextClick");
    EXPECT_EQ(wizard->result(), mrOk);

    const std::string destination = Destination("Waves");
    EXPECT_EQ(wizard->InstalledPath(), destination);
    const auto installed = test::ReadFile(destination);
    ASSERT_EQ(installed.size(), installerBytes.size());
    const std::size_t kindOffset = installerBytes.size() - kTrailerSize + kPackageKindOffset;
    EXPECT_EQ(installerBytes[kindOffset], 0xBA);
    EXPECT_EQ(installed[kindOffset], 0xAC);
    std::vector<std::size_t> differences;
    for (std::size_t i = 0; i < installed.size(); ++i)
        if (installed[i] != installerBytes[i]) differences.push_back(i);
    EXPECT_EQ(differences, std::vector<std::size_t>{kindOffset});
    EXPECT_EQ(ReadPackageKind(destination), 'S');
    EXPECT_FALSE(IsReadOnlyFile(destination));
    EXPECT_TRUE(fs::status(destination).permissions() == fs::perms(0755));

    const std::string shortcut = home.desktop() + "/Waves.desktop";
    ASSERT_TRUE(fs::exists(shortcut));
    EXPECT_TRUE((fs::status(shortcut).permissions() & fs::perms::owner_exec) != fs::perms::none);
    const auto link = test::ReadFile(shortcut);
    const std::string text(link.begin(), link.end());
    EXPECT_NE(text.find("\nExec=" + destination + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nPath=" + home.systemDirectory() + "/\n"), std::string::npos) << text;

    const std::string key = *UninstallKeyPath("Waves");
    EXPECT_EQ(test::ReadMachineString(key, "DisplayName"), "Waves");
    EXPECT_EQ(test::ReadMachineString(key, "UninstallString"), destination + " -U");

    const auto host = test::ReadFile(home.home() + "/.xscreensaver");
    EXPECT_NE(std::string(host.begin(), host.end()).find("\"Waves\"  " + destination + " -root"),
              std::string::npos);
}

// A Wayland desktop starts no screen saver: the wizard registers the idle
// watcher for the installed file there, and only there.
TEST_F(InstallerWizardTest, OnAWaylandSessionTheIdleWatcherIsRegistered) {
    for (const char* session : {"x11", "wayland"}) {
        SCOPED_TRACE(session);
        test::ScopedEnv type("XDG_SESSION_TYPE", session);
        test::ScopedEnv noCompositor("WAYLAND_DISPLAY", "");
        const std::string name = std::string("Waves on ") + session;
        auto wizard = Open(test::InstallerDescription(name));
        GoToDestination(*wizard);
        InvokeHandler(*wizard, "BtnNextClick");
        EXPECT_EQ(wizard->result(), mrOk);
        const auto registered = ReadIdleWatcherRegistration();
        if (std::string(session) == "x11") {
            EXPECT_FALSE(registered);
            continue;
        }
        ASSERT_TRUE(registered);
        EXPECT_EQ(registered->file, Destination(name));
        EXPECT_FALSE(registered->idleSeconds) << "the desktop's own idle time";
    }
}

TEST_F(InstallerWizardTest, BlanksInTheFileNameReachTheUninstallCommandUnquoted) {
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    GoToDestination(*wizard);
    FindControl<QLineEdit>(*wizard, "EditFileName")->setText(QStringLiteral("My Waves"));
    FindControl<QCheckBox>(*wizard, "CheckBoxShorcut")->setChecked(false);
    ASSERT_TRUE(wizard->InstallScreenSaver());
    const std::string destination = Destination("My Waves");
    EXPECT_TRUE(fs::exists(destination));
    EXPECT_EQ(test::ReadMachineString(*UninstallKeyPath("My Waves"), "UninstallString"), destination + " -U");
    EXPECT_FALSE(fs::exists(home.desktop() + "/Waves.desktop")) << "no shortcut when unchecked";
}

TEST_F(InstallerWizardTest, EmptyFileNameInstallsAsDotScrWithoutAnEntry) {
    ASSERT_TRUE(WriteUninstallEntry("Other", "Other", "/x/Other.scr -U"));
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    GoToDestination(*wizard);
    FindControl<QLineEdit>(*wizard, "EditFileName")->clear();
    ASSERT_TRUE(wizard->InstallScreenSaver());
    EXPECT_EQ(wizard->InstalledPath(), home.systemDirectory() + "/.scr");
    EXPECT_TRUE(fs::exists(home.systemDirectory() + "/.scr"));
    // A key without a name would be the uninstall key itself.
    EXPECT_FALSE(test::ReadMachineString(kUninstallKeyRoot, "DisplayName"));
    EXPECT_EQ(test::ReadMachineString(*UninstallKeyPath("Other"), "DisplayName"), "Other");
}

TEST_F(InstallerWizardTest, ExistingReadOnlyDestinationIsReplacedAfterYesOnly) {
    const std::string destination = Destination("Waves");
    fs::create_directories(home.systemDirectory());
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    GoToDestination(*wizard);

    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        test::WriteFile(destination, old);
        fs::permissions(destination, fs::perms::owner_read);
        test::MessageAnswers answers({answer});
        EXPECT_FALSE(wizard->InstallScreenSaver()) << static_cast<int>(answer);
        ASSERT_EQ(answers.texts().size(), 1u);
        EXPECT_EQ(answers.texts()[0], QStringLiteral("Replace the file?"));
        EXPECT_EQ(test::ReadFile(destination), old) << static_cast<int>(answer);
        EXPECT_TRUE(IsReadOnlyFile(destination)) << static_cast<int>(answer);
        EXPECT_FALSE(fs::exists(home.desktop() + "/Waves.desktop")) << static_cast<int>(answer);
        EXPECT_FALSE(test::ReadMachineString(*UninstallKeyPath("Waves"), "DisplayName"))
            << static_cast<int>(answer);
        EXPECT_EQ(wizard->ActivePage(), InstallerWizard::kPageDest);
        EXPECT_EQ(wizard->result(), 0);
    }

    test::MessageAnswers yes({MessageAnswer::Yes});
    EXPECT_TRUE(wizard->InstallScreenSaver());
    EXPECT_EQ(yes.texts().size(), 1u);
    EXPECT_EQ(test::ReadFile(destination).size(), installerBytes.size());
    EXPECT_FALSE(IsReadOnlyFile(destination));
    EXPECT_EQ(wizard->result(), mrOk);
}

TEST_F(InstallerWizardTest, FailedCopyKeepsTheOldFileAndReportsIt) {
    const std::string destination = Destination("Waves");
    fs::create_directories(home.systemDirectory());
    const std::vector<uint8_t> old(100, 'o');
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    GoToDestination(*wizard);

    // The disk fills up half-way through the copy; then the installer vanishes.
    const auto fillsUp = [] { return std::make_unique<test::FileSizeLimit>(2000); };
    const auto vanishes = [this] {
        fs::rename(installer, installer + ".away");
        return std::unique_ptr<test::FileSizeLimit>();
    };
    for (const auto& fault : {std::function(fillsUp), std::function(vanishes)}) {
        test::WriteFile(destination, old);
        test::MessageAnswers answers({MessageAnswer::Yes, MessageAnswer::Ok});
        {
            auto limit = fault();
            EXPECT_FALSE(wizard->InstallScreenSaver());
        }
        ASSERT_EQ(answers.texts().size(), 2u);
        EXPECT_EQ(answers.texts()[1], QStringLiteral("Installation failed."));
        EXPECT_EQ(test::ReadFile(destination), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(home.systemDirectory()), fs::directory_iterator()), 1)
            << "no temporary file is left";
        EXPECT_FALSE(test::ReadMachineString(*UninstallKeyPath("Waves"), "DisplayName"));
        EXPECT_EQ(wizard->ActivePage(), InstallerWizard::kPageDest);
        EXPECT_EQ(wizard->result(), 0);
    }
}

// Package names that look like paths make names inside the system directory,
// the desktop folder and the uninstall key, never outside them.
TEST_F(InstallerWizardTest, HostileNamesStayInsideTheirFolders) {
    for (const std::string name : {"../x", "../../Desktop/evil", "a/b\\c", "..", "/etc/passwd"}) {
        SCOPED_TRACE(name);
        auto wizard = Open(test::InstallerDescription(name, ""));
        GoToDestination(*wizard);
        ASSERT_TRUE(wizard->InstallScreenSaver());
        const fs::path installed = wizard->InstalledPath();
        EXPECT_EQ(installed.parent_path(), fs::path(home.systemDirectory()));
        EXPECT_TRUE(fs::exists(installed));
        for (const auto& entry : fs::recursive_directory_iterator(home.root())) {
            const fs::path p = entry.path();
            const bool allowed = entry.is_directory() || p.parent_path() == fs::path(home.root()) ||
                                 p.parent_path() == fs::path(home.systemDirectory()) ||
                                 p.parent_path() == fs::path(home.desktop()) ||
                                 p.string().starts_with(home.registryFile());
            EXPECT_TRUE(allowed) << p;
        }
        const std::string stem = installed.stem().string();
        EXPECT_EQ(test::ReadMachineString(*UninstallKeyPath(stem), "UninstallString"),
                  installed.string() + " -U");
        EXPECT_EQ(UninstallKeyPath(stem)->rfind('\\'), std::string(kUninstallKeyRoot).size() - 1);
        fs::remove_all(home.systemDirectory());
        fs::remove_all(home.desktop());
    }
}

TEST_F(InstallerWizardTest, TypedFolderSeparatorsAreRefused) {
    auto wizard = Open(test::InstallerDescription("Waves", ""));
    GoToDestination(*wizard);
    FindControl<QLineEdit>(*wizard, "EditFileName")->setText(QStringLiteral("Waves"));
    FindControl<QLineEdit>(*wizard, "EditFileName")->end(false);
    QTest::keyClicks(FindControl<QLineEdit>(*wizard, "EditFileName"), QStringLiteral("/../x"));
    EXPECT_EQ(FindControl<QLineEdit>(*wizard, "EditFileName")->text(), QStringLiteral("Waves..x"))
        << "the edit box takes no '/'";

    // A name set by code bypasses the edit box; the installation refuses it.
    FindControl<QLineEdit>(*wizard, "EditFileName")->setText(QStringLiteral("../x"));
    test::MessageAnswers answers({MessageAnswer::Ok});
    EXPECT_FALSE(wizard->InstallScreenSaver());
    ASSERT_EQ(answers.texts().size(), 1u);
    EXPECT_EQ(answers.texts()[0], QStringLiteral("Installation failed."));
    EXPECT_FALSE(fs::exists(home.home() + "/.local/share/scrplayer/x.scr"));
}

} // namespace
} // namespace scr

namespace scr {
namespace {

// The wizard's three pages side by side (and the Data Error page), saved as
// docs/installer-wizard.png by scripts/dialog-screenshots.sh.
TEST_F(InstallerWizardTest, Screenshot) {
    auto description =
        test::InstallerDescription("Ocean Waves", "Permission is granted to use this screen saver "
                                                  "on any number of computers.\r\n\r\nIt comes "
                                                  "without any warranty.");
    description.info.setDescription("Calm waves rolling in at sunset, with the sound of the sea.");
    auto wizard = Open(description);
    wizard->show();
    ASSERT_EQ(wizard->size(), QSize(513 + 23, 345 + 61)) << "the frame wraps the 513 x 345 panel";
    std::vector<QImage> shots;
    shots.push_back(wizard->grab().toImage());
    InvokeHandler(*wizard, "BtnNextClick");
    FindControl<QCheckBox>(*wizard, "CheckBoxAgree")->setChecked(true);
    shots.push_back(wizard->grab().toImage());
    InvokeHandler(*wizard, "BtnNextClick");
    shots.push_back(wizard->grab().toImage());
    InstallerWizard broken(nullptr, home.file("missing.exe"));
    broken.ShowDataError();
    broken.show();
    shots.push_back(broken.grab().toImage());

    const QSize size = shots.front().size();
    QImage sheet(size.width() * 2 + 8, size.height() * 2 + 8, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        EXPECT_EQ(shots[i].size(), size);
        painter.drawImage(static_cast<int>(i % 2) * (size.width() + 8),
                          static_cast<int>(i / 2) * (size.height() + 8), shots[i]);
    }
    painter.end();
    test::SaveScreenshot(sheet, QStringLiteral("installer-wizard.png"));
}

} // namespace
} // namespace scr
