#pragma once
// The program entry and the per-mode routines it dispatches to.

namespace scr {

// Runs the program: detects the mode, then starts the matching form. Returns
// the process exit status (always 0 unless the environment asks for diagnostics).
int RunProgram(int argc, char** argv);

// Runs the installer wizard for the package source, whatever the file's name
// and kind (`scrtool install FILE`). Returns as RunProgram does.
int RunInstallerProgram(int argc, char** argv);

// Show, Preview and Config: the show window or the configuration dialog.
void RunSaverOrConfig();
// Install: the installer wizard.
void RunInstaller();
// ChangePassword: hands the request to the system's password provider, if any.
void ChangePassword(unsigned parentWindow);

} // namespace scr
