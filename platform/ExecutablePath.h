#pragma once
// The running program's own file, and the parts of a file name.

#include <string>

namespace scr {

// Full path of the running executable (/proc/self/exe resolved).
std::string ExecutablePath();

// The extension of a file name: the text from the last '.' of the last path
// component on, "" when the name has no '.'.
std::string ExtractFileExt(const std::string& path);

// The last path component.
std::string ExtractFileName(const std::string& path);

} // namespace scr
