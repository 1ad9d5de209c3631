#pragma once
// What one run of the player works with, decided once by RunProgram and
// handed down to the mode it starts. Nothing below reads these from a global.

#include "platform/ShowMode.h"
#include "platform/gui/ApplicationArguments.h"

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace scr {

// How the windows of the process are measured: in Qt's logical pixels
// (dialogs, which grow with the desktop's scale factor) or in device pixels
// (the show, whose layout and pictures are screen pixels).
enum class WindowPixels { Logical, Device };

class RunContext {
public:
    // `argv` must outlive the run: the application object keeps pointing at it.
    RunContext(int argc, char** argv, std::string packagePath);
    // Destroys the application object while the rest of the program is alive.
    ~RunContext();
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // The parameters the program was started with (argv[1..]). Read them
    // before Application(): the application object takes out the options it
    // knows.
    std::vector<std::string> Parameters() const;
    // The file that carries the package: the running executable, unless a
    // tool (for example `scrtool play FILE`) names another file.
    const std::string& PackagePath() const { return packagePath_; }

    // The role of the run and the window given with A, C or P (0 when none);
    // Show and 0 until mode detection says otherwise.
    ShowMode mode = ShowMode::Show;
    WindowHandle parentWindow = 0;

    // The one Qt application object of the run, created on first call: modes
    // that end without showing anything never create it. `pixels` counts only
    // on that first call.
    QApplication& Application(WindowPixels pixels = WindowPixels::Logical);

private:
    // The program's name alone, for a run started without any arguments.
    ApplicationArguments fallback_{"scrplayer"};
    int argc_;
    char** argv_;
    std::string packagePath_;
    std::unique_ptr<QApplication> application_;
};

} // namespace scr
