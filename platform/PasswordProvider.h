#pragma once
// Optional system password providers for screen savers. Linux has none: the
// desktop's screen locker owns passwords. The lookups therefore answer
// "absent", which callers treat as "nothing to do" (password change) or
// "accepted" (password check).

#include "platform/ShowMode.h"

namespace scr {

// Entry that changes the screen-saver password for a provider name.
using PasswordChangeEntry = int (*)(const char* provider, WindowHandle parent, unsigned long, unsigned long);
// Entry that asks for the screen-saver password; non-zero means accepted.
using PasswordVerifyEntry = int (*)(WindowHandle parent);

PasswordChangeEntry FindPasswordChangeEntry();
PasswordVerifyEntry FindPasswordVerifyEntry();

} // namespace scr
