#pragma once
// Files a movie may read beside itself: those in its own folder and the
// folders below it, named by a relative path. A path that leaves the folder
// (a ".." step, an absolute path, a symbolic link whose target lies
// elsewhere) names nothing, nor does anything that is not a regular file.

#include <optional>
#include <string>

namespace scr {

// The real path of the regular file `relative` names inside `folder`, or
// nothing. Backslashes separate folders as slashes do (movies made on
// Windows write them), and a name that does not exist as written is matched
// without regard to ASCII case, folder by folder (Windows names are not case
// sensitive), when exactly one entry matches.
std::optional<std::string> FolderConfinedFile(const std::string& folder, const std::string& relative);

} // namespace scr
