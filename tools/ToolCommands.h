#pragma once
// The scrtool command line: one function per sub-command, chosen by name.
// Commands report failures as messages and exit statuses; an exception that
// escapes one is caught here, reported, and ends the command with status 1.

namespace scr {

int RunTool(int argc, char** argv);

} // namespace scr
