#pragma once
// The machine side of the show environment, read from the running Qt
// application (a QGuiApplication must exist).

#include "platform/DecodeLimits.h"
#include "platform/ScreenSize.h"

namespace scr {

// The primary screen in device pixels (the package layout is measured in
// screen pixels); 0 x 0 without a screen.
ScreenSize QtPrimaryScreenSize();

// Pictures are decoded no larger than twice the virtual desktop each way.
DecodeLimits QtDesktopDecodeLimits();

} // namespace scr
