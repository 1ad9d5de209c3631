#pragma once
// Integer conversion of texts with the rules of the class library's StrToInt:
// optional leading blanks, an optional sign, then decimal digits, or a
// hexadecimal number written "$1F", "0x1F" or "0X1F". Anything else, trailing
// characters included, is not an integer. The value must fit 32 bits.

#include <cstdint>
#include <optional>
#include <string_view>

namespace scr {

std::optional<int32_t> TryStrToInt(std::string_view text);

// A window handle given on a command line: an X11 window id. Accepts what
// TryStrToInt accepts, plus unsigned 32-bit values (ids above 0x7FFFFFFF).
std::optional<uint32_t> TryStrToWindowHandle(std::string_view text);

} // namespace scr
