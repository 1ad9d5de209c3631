#pragma once
// The running program's own file, and the file the package is read from.

#include <string>

namespace scr {

// Full path of the running executable (/proc/self/exe resolved).
std::string ExecutablePath();

// The file that carries the package: the running executable, unless a tool
// (for example `scrtool play FILE`) names another file. Every reader of the
// package asks this function rather than ExecutablePath().
std::string PackageSourcePath();
void SetPackageSourcePath(const std::string& path);

// The extension of a file name: the text from the last '.' of the last path
// component on, "" when the name has no '.'.
std::string ExtractFileExt(const std::string& path);

// The last path component.
std::string ExtractFileName(const std::string& path);

} // namespace scr
