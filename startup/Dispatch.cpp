#include "startup/Dispatch.h"

#include "dialogs/ConfigDialog.h"
#include "dialogs/MovieFileSettings.h"
#include "installer/InstallerWizard.h"
#include "installer/Uninstall.h"
#include "package/MoviePackage.h"
#include "package/PackageTrailer.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/FrameMemoryReuse.h"
#include "platform/PasswordProvider.h"
#include "platform/ShowEnvironment.h"
#include "platform/WindowSystemChoice.h"
#include "platform/WorkingSet.h"
#include "platform/gui/ExceptionBox.h"
#include "platform/gui/ForeignWindow.h"
#include "platform/gui/QtScreenSize.h"
#include "platform/gui/TaskbarEntry.h"
#include "platform/gui/WallClock.h"
#include "show/HomePage.h"
#include "show/ShowPackageFile.h"
#include "show/ShowWindow.h"
#include "startup/ModeDetection.h"
#include "startup/RunContext.h"

#include <QEventLoop>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace scr {

void RunSaverOrConfig(RunContext& run) {
    // A file that carries an installer package does nothing as a screen saver.
    if (ReadPackageKind(run.PackagePath()) == 'E') return;
    run.Application(run.mode == ShowMode::Config ? WindowPixels::Logical : WindowPixels::Device);
    // Only a configuration run without a parent keeps its task-bar entry.
    SetTaskbarEntryWanted(run.parentWindow == 0 && run.mode == ShowMode::Config);
    // The run's environment: every random choice draws from the one
    // generator seeded here, every timer runs on real time, and the package
    // is fitted to the primary screen with pictures bounded by the desktop,
    // and the pixel loops use what the processor offers.
    SeededRandom random = ClockSeededRandom();
    const ShowEnvironment environment{
        {QtPrimaryScreenSize(), QtDesktopDecodeLimits()}, random, WallClock::Instance(), PixelOptions{}};
    if (run.mode == ShowMode::Config) {
        // A movie file has nothing to configure: a message says so.
        if (const RecognisedFile file = RecogniseScreenSaverFile(run.PackagePath()); file.HasMovie()) {
            ShowMovieFileSettings(QString::fromStdString(MovieScreenSaverName(file.path)),
                                  QString::fromUtf8(KindWord(file.kind).data(),
                                                    static_cast<qsizetype>(KindWord(file.kind).size())));
            return;
        }
        ConfigDialog dialog(run.PackagePath(), run.parentWindow, environment.reading);
        TrimWorkingSet();
        dialog.exec();
        return;
    }
    // Show and Preview: the show window, run until it closes. The home page
    // asked for with F2 opens once the window (and its package) is gone.
    std::string homePage;
    {
        ShowWindow window(OpenShowPackage(run.PackagePath(), environment.reading), environment, run.mode,
                          run.parentWindow);
        TrimWorkingSet();
        if (window.Start() && !window.hasEnded()) {
            QEventLoop loop;
            QObject::connect(&window, &ShowWindow::ended, &loop, &QEventLoop::quit);
            loop.exec();
        }
        homePage = window.HomePageToOpen();
    }
    OpenHomePage(homePage);
}

void RunInstaller(RunContext& run) {
    run.Application();
    InstallerWizard wizard(nullptr, run.PackagePath());
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

namespace {

// Chooses the window system before the application object exists. False,
// after saying why on standard error, when the run must draw into another
// program's window and the session has no X11 display to reach it on.
bool ChooseWindowSystemFor(RunContext& run) {
    const DisplayEnvironment env = DisplayEnvironment::FromProcess();
    const bool intoForeignWindow =
        run.mode == ShowMode::Show ? ScreenSaverHostWindow() != 0 : run.parentWindow != 0;
    WindowSystemChoice choice = ChooseWindowSystem(env, intoForeignWindow);
    if (!choice.unavailable.empty()) {
        if (run.mode == ShowMode::Preview) {
            std::fprintf(stderr, "scrplayer: no preview: %s\n", choice.unavailable.c_str());
            return false;
        }
        // The dialog and the show still serve on their own: the dialog as a
        // window of its own, the show full screen.
        run.parentWindow = 0;
        choice = ChooseWindowSystem(env, false);
    }
    ApplyWindowSystemChoice(choice);
    return true;
}

// Runs the mode the run context holds.
int RunChosenMode(RunContext& run) {
    if (const char* print = std::getenv("SCRPLAYER_PRINT_MODE"); print && std::string_view(print) == "1") {
        std::printf("mode=%s parent=%u\n", ShowModeName(run.mode), static_cast<unsigned>(run.parentWindow));
        return 0;
    }

    if (run.mode != ShowMode::ChangePassword && !ChooseWindowSystemFor(run)) return kExitNoForeignWindow;

    try {
        switch (run.mode) {
        case ShowMode::Show:
        case ShowMode::Preview:
        case ShowMode::Config:
            RunSaverOrConfig(run);
            break;
        case ShowMode::ChangePassword:
            ChangePassword(run.parentWindow);
            break;
        case ShowMode::Install:
            RunInstaller(run);
            break;
        case ShowMode::Uninstall:
            run.Application();
            TrimWorkingSet();
            RunUninstall(run.PackagePath());
            break;
        }
    } catch (const std::exception& error) {
        ShowExceptionBox(error.what());
    }
    return 0;
}

} // namespace

int RunProgram(int argc, char** argv, const std::string& packagePath) {
    ReuseFreedFrameMemory();
    RunContext run(argc, argv, packagePath);
    const DetectedMode detected = DetectMode(run.PackagePath(), run.Parameters());
    run.mode = detected.mode;
    run.parentWindow = detected.parent;
    return RunChosenMode(run);
}

int RunInstallerProgram(int argc, char** argv, const std::string& packagePath) {
    RunContext run(argc, argv, packagePath);
    run.mode = ShowMode::Install;
    run.parentWindow = 0;
    return RunChosenMode(run);
}

} // namespace scr
