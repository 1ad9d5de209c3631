#include "installer/Uninstall.h"

namespace scr {

void RunUninstall() {
    // The uninstall steps are added with the installer wizard; until then the
    // mode ends without touching anything.
}

} // namespace scr
