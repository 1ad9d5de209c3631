#pragma once
// The parameters the program was started with (argv[1..]), kept for mode
// detection and for the forms that look at them.

#include <string>
#include <vector>

namespace scr {

void SetCommandLine(int argc, char** argv);
void SetCommandLineParameters(std::vector<std::string> parameters);
const std::vector<std::string>& CommandLineParameters();

} // namespace scr
