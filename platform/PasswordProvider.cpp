#include "platform/PasswordProvider.h"

namespace scr {

PasswordChangeEntry FindPasswordChangeEntry() {
    return nullptr;
}

} // namespace scr
