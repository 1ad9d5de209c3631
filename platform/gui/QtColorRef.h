#pragma once
// A stored 0x00BBGGRR colour as the colour widgets and painters take.

#include "platform/ColorRef.h"

#include <QColor>

namespace scr {

inline QColor ColorFromColorRef(uint32_t colorRef) {
    const RgbColor rgb = RgbFromColorRef(colorRef);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace scr
