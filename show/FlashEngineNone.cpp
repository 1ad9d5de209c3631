// The build without a Flash engine (SCR_FLASH=OFF, or Qt WebEngine missing):
// every Flash control takes the notice path.
#include "show/FlashEngine.h"

#ifndef SCR_HAVE_FLASH_ENGINE

namespace scr {

QString FlashEngineUnavailableReason() {
    return QStringLiteral("this build has no Flash engine");
}

} // namespace scr

#endif
