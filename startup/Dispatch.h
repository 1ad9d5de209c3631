#pragma once
// The program entry and the per-mode routines it dispatches to.

#include <string>

namespace scr {

class RunContext;

// Runs the program: detects the mode, then starts the matching form. The
// package is read from `packagePath` (the running executable for the player
// itself). Returns the process exit status (always 0 unless the environment
// asks for diagnostics).
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
