#pragma once
// The read-only attribute of a file, mapped onto the owner's write permission,
// existence checks that do not follow a symbolic link at the end, and the
// comparison of two paths by the file they lead to.

#include <string>

namespace scr {

// True when something (a file, a folder, a link, even a dangling one) has that name.
bool FileExists(const std::string& path);

// True when the file exists and its owner may not write it.
bool IsReadOnlyFile(const std::string& path);

// True when both paths lead to the same file, whatever symbolic links either
// passes through (a home folder reached through a link, for example). Paths
// of files that do not exist are compared with their links resolved as far
// as they exist.
bool SameFile(const std::string& a, const std::string& b);

// Gives the owner write permission (clears the read-only attribute). False
// when the file does not exist or its mode cannot be changed.
bool ClearReadOnly(const std::string& path);

} // namespace scr
