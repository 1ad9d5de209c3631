#pragma once
// Colours as packages and the registry store them: 0x00BBGGRR, red in the
// lowest byte. Every conversion to or from that form goes through here.

#include <cstdint>
#include <string>

namespace scr {

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

constexpr RgbColor RgbFromColorRef(uint32_t colorRef) {
    return {static_cast<uint8_t>(colorRef & 0xFF), static_cast<uint8_t>((colorRef >> 8) & 0xFF),
            static_cast<uint8_t>((colorRef >> 16) & 0xFF)};
}

constexpr uint32_t ColorRefFromRgb(RgbColor rgb) {
    return static_cast<uint32_t>(rgb.red) | (static_cast<uint32_t>(rgb.green) << 8) |
           (static_cast<uint32_t>(rgb.blue) << 16);
}

// "#RRGGBB" (upper-case hex digits), as manifests and reports write a colour;
// "#HHRRGGBB" when the stored high byte is not 0, so that nothing is lost.
std::string ColorRefHexText(uint32_t colorRef);

} // namespace scr
