#pragma once
// The read-only attribute of a file, mapped onto the owner's write permission,
// and existence checks that do not follow a symbolic link at the end.

#include <string>

namespace scr {

// True when something (a file, a folder, a link, even a dangling one) has that name.
bool FileExists(const std::string& path);

// True when the file exists and its owner may not write it.
bool IsReadOnlyFile(const std::string& path);

// Gives the owner write permission (clears the read-only attribute). False
// when the file does not exist or its mode cannot be changed.
bool ClearReadOnly(const std::string& path);

} // namespace scr
