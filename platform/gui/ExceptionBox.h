#pragma once
#include <string>

namespace scr {

// The application's standard error box: shows the text of an error that
// escaped a mode routine. Without a display the text goes to standard error.
void ShowExceptionBox(const std::string& message);

} // namespace scr
