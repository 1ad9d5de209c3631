#include "startup/Dispatch.h"

#include "dialogs/ConfigDialog.h"
#include "installer/InstallerWizard.h"
#include "installer/Uninstall.h"
#include "package/PackageTrailer.h"
#include "platform/CommandLine.h"
#include "platform/ExecutablePath.h"
#include "platform/PasswordProvider.h"
#include "platform/ProcessState.h"
#include "platform/Random.h"
#include "platform/WorkingSet.h"
#include "platform/gui/ExceptionBox.h"
#include "platform/gui/TaskbarEntry.h"
#include "show/HomePage.h"
#include "show/PackageShowContent.h"
#include "show/ShowWindow.h"
#include "startup/ApplicationObject.h"
#include "startup/ModeDetection.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace scr {

void RunSaverOrConfig() {
    // A file that carries an installer package does nothing as a screen saver.
    if (ReadPackageKind(PackageSourcePath()) == 'E') return;
    InitializeApplication(g_showMode == ShowMode::Config ? WindowPixels::Logical : WindowPixels::Device);
    // Only a configuration run without a parent keeps its task-bar entry.
    SetTaskbarEntryWanted(g_parentWindow == 0 && g_showMode == ShowMode::Config);
    // Every random choice of the run draws from the one generator, seeded here.
    SeedRandomFromClock();
    if (g_showMode == ShowMode::Config) {
        TForm_XSCR_Config dialog;
        TrimWorkingSet();
        dialog.exec();
        return;
    }
    // Show and Preview: the show window, run until it closes. The home page
    // asked for with F2 opens once the window (and its package) is gone.
    std::string homePage;
    {
        ShowWindow window(std::make_unique<PackageShowContent>(), g_showMode, g_parentWindow);
        TrimWorkingSet();
        window.Run();
        homePage = window.HomePageToOpen();
    }
    OpenHomePage(homePage);
}

void RunInstaller() {
    InitializeApplication();
    TFormXInstaller wizard;
    // Without its signature the package is unusable: the wizard shows only
    // its "Data Error..." page.
    if (!wizard.HasUsablePackage()) wizard.ShowDataError();
    TrimWorkingSet();
    wizard.exec();
}

void ChangePassword(unsigned parentWindow) {
    PasswordChangeEntry entry = FindPasswordChangeEntry();
    if (!entry) return;
    entry("SCRSAVE", parentWindow, 0, 0);
}

int RunProgram(int argc, char** argv) {
    SetCommandLine(argc, argv);
    SetApplicationArguments(argc, argv);
    DetectMode();

    if (const char* print = std::getenv("SCRPLAYER_PRINT_MODE"); print && std::string_view(print) == "1") {
        std::printf("mode=%s parent=%u\n", ShowModeName(g_showMode), static_cast<unsigned>(g_parentWindow));
        return 0;
    }

    try {
        switch (g_showMode) {
        case ShowMode::Show:
        case ShowMode::Preview:
        case ShowMode::Config:
            RunSaverOrConfig();
            break;
        case ShowMode::ChangePassword:
            ChangePassword(g_parentWindow);
            break;
        case ShowMode::Install:
            RunInstaller();
            break;
        case ShowMode::Uninstall:
            InitializeApplication();
            TrimWorkingSet();
            RunUninstall();
            break;
        }
    } catch (const std::exception& error) {
        ShowExceptionBox(error.what());
    }
    ShutdownApplication();
    return 0;
}

} // namespace scr
