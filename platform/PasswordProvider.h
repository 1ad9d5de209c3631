#pragma once
// Optional system password provider for screen savers. Linux has none: the
// desktop's screen locker owns passwords. The lookup therefore answers
// "absent", which the caller treats as "nothing to do". (A check before the
// show ends would be given to the show window's rules: ShowWindowRules.h.)

#include "platform/ShowMode.h"

namespace scr {

// Entry that changes the screen-saver password for a provider name.
using PasswordChangeEntry = int (*)(const char* provider, WindowHandle parent, unsigned long, unsigned long);

PasswordChangeEntry FindPasswordChangeEntry();

} // namespace scr
