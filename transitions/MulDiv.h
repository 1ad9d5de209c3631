#pragma once
// Multiply-then-divide with the rounding the transition arithmetic is defined
// in: a * b / c computed in 64 bits and taken to the nearest integer, halves
// away from zero. A zero divisor or a result outside 32 bits gives -1.

#include <cstdint>

namespace scr {

constexpr int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    const uint64_t divisor =
        c < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
    const uint64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > static_cast<uint64_t>(INT32_MAX) + (negative ? 1u : 0u)) return -1;
    return negative ? static_cast<int>(-static_cast<int64_t>(rounded)) : static_cast<int>(rounded);
}

} // namespace scr
