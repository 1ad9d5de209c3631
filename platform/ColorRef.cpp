#include "platform/ColorRef.h"

#include <cstdio>

namespace scr {

std::string ColorRefHexText(uint32_t colorRef) {
    const RgbColor rgb = RgbFromColorRef(colorRef);
    char text[10];
    if (const unsigned high = colorRef >> 24)
        std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", high, rgb.red, rgb.green, rgb.blue);
    else
        std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
    return text;
}

} // namespace scr
