#include "platform/IntegerText.h"

#include <cstdint>

namespace scr {
namespace {

// Parses into a 64-bit value; nullopt on any syntax error or when the
// magnitude passes 2^32 (so the callers' own range checks stay simple).
std::optional<int64_t> Parse(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > (int64_t{1} << 32)) return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
    auto value = Parse(text);
    if (!value) return std::nullopt;
    // Hexadecimal texts denote the 32-bit pattern, as in the class library ($FFFFFFFF is -1).
    const bool hex = text.find_first_of("$xX") != std::string_view::npos;
    if (hex && *value >= 0 && *value <= 0xFFFFFFFFLL)
        return static_cast<int32_t>(static_cast<uint32_t>(*value));
    if (*value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::optional<uint32_t> TryStrToWindowHandle(std::string_view text) {
    auto value = Parse(text);
    if (!value) return std::nullopt;
    if (*value < INT32_MIN || *value > 0xFFFFFFFFLL) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

} // namespace scr
