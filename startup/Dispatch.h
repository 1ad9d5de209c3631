#pragma once
// The program entry and the per-mode routines it dispatches to.

#include <string>

namespace scr {

class RunContext;

// The exit status of a preview that cannot draw into the window it was
// given: a Wayland session without an X11 display (EX_UNAVAILABLE).
inline constexpr int kExitNoForeignWindow = 69;

// Runs the program: detects the mode, then starts the matching form. The
// package is read from `packagePath` (the running executable for the player
// itself). Returns the process exit status: 0, or kExitNoForeignWindow.
int RunProgram(int argc, char** argv, const std::string& packagePath);

// Runs the installer wizard for the package source, whatever the file's name
// and kind (`scrtool install FILE`). Returns as RunProgram does.
int RunInstallerProgram(int argc, char** argv, const std::string& packagePath);

// Show, Preview and Config: the show window or the configuration dialog.
void RunSaverOrConfig(RunContext& run);
// Install: the installer wizard.
void RunInstaller(RunContext& run);
// ChangePassword: hands the request to the system's password provider, if any.
void ChangePassword(unsigned parentWindow);

} // namespace scr
