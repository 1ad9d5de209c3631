#pragma once
// The scrtool command line: one function per sub-command, chosen by name.

namespace scr {

int RunTool(int argc, char** argv);

} // namespace scr
