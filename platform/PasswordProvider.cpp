#include "platform/PasswordProvider.h"

namespace scr {

PasswordChangeEntry FindPasswordChangeEntry() {
    return nullptr;
}
PasswordVerifyEntry FindPasswordVerifyEntry() {
    return nullptr;
}

} // namespace scr
