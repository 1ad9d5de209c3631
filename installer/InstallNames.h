#pragma once
// Names that come from a package or from the user and become file names or
// registry key names. Whatever a package calls itself ("../x", "a/b", a name
// with control characters), the names made from it stay single components of
// their folder or key: nothing is ever written or deleted outside the system
// directory, the desktop folder or the uninstall key.

#include <string>
#include <string_view>

namespace scr {

// The text without leading and trailing blanks and control characters
// (every byte up to and including the blank).
std::string TrimName(std::string_view text);

// The name with every '/' and control character (and, with
// `keySeparators`, every '\', which separates registry key names) replaced
// by '_', so that it names one entry of a folder or one sub-key.
std::string SafeNameComponent(std::string_view name, bool keySeparators = false);

// True when the name can be used as one file name as it stands: no '/' and
// no control characters.
bool IsPlainFileName(std::string_view name);

} // namespace scr
