#pragma once
// Edits a web engine command line held as one space-separated string (as in
// QTWEBENGINE_CHROMIUM_FLAGS), keeping what the user put there: a switch the
// user gave in any form keeps the user's value, and a feature the user named
// in a feature list is left as the user set it.

#include <string>
#include <string_view>

namespace scr {

// Adds `flag` ("--name" or "--name=value") unless a switch of that name is
// already there.
std::string WithChromiumSwitch(std::string_view flags, std::string_view flag);

// Adds `feature` to the --disable-features list (merged into the one there,
// since the engine reads only one), unless a --disable-features or
// --enable-features list already names it.
std::string WithChromiumFeatureDisabled(std::string_view flags, std::string_view feature);

} // namespace scr
