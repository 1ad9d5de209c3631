#include "platform/WorkingSet.h"

#include <malloc.h>

namespace scr {

void TrimWorkingSet() {
    malloc_trim(0);
}

} // namespace scr
