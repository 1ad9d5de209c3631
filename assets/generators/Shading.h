#pragma once
// Small colour and noise helpers for the demo picture renderers: colours as
// floating-point RGB in 0..1, cosine palettes, smooth steps, hashed value
// noise. Everything is deterministic, so the demo is the same on every build.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace scr::demo {

inline constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}
inline Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}

inline double Mix(double a, double b, double t) {
    return a + (b - a) * t;
}
inline Rgb Mix(Rgb a, Rgb b, double t) {
    return a * (1 - t) + b * t;
}
inline double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

inline double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// A colour from #RRGGBB written as an integer.
inline Rgb Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

// A palette a + b * cos(2 pi (c t + d)) per channel: smooth, looping colour ramps.
struct CosinePalette {
    Rgb a, b, c, d;
    Rgb operator()(double t) const {
        return {a.r + b.r * std::cos(2 * kPi * (c.r * t + d.r)),
                a.g + b.g * std::cos(2 * kPi * (c.g * t + d.g)),
                a.b + b.b * std::cos(2 * kPi * (c.b * t + d.b))};
    }
};

// A well-mixed 32-bit hash of two integers and a seed.
inline uint32_t Hash(int32_t x, int32_t y, uint32_t seed = 0) {
    uint32_t h =
        static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// The hash as a number in 0..1.
inline double Hash01(int32_t x, int32_t y, uint32_t seed = 0) {
    return Hash(x, y, seed) / 4294967295.0;
}

// Value noise in 0..1, smoothly interpolated between lattice points.
inline double ValueNoise(double x, double y, uint32_t seed = 0) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = Mix(Hash01(ix, iy, seed), Hash01(ix + 1, iy, seed), sx);
    const double bottom = Mix(Hash01(ix, iy + 1, seed), Hash01(ix + 1, iy + 1, seed), sx);
    return Mix(top, bottom, sy);
}

// Fractal sum of value noise (octaves of halving amplitude), in 0..1.
inline double FractalNoise(double x, double y, int octaves, uint32_t seed = 0) {
    double sum = 0, amplitude = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + static_cast<uint32_t>(i));
        norm += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / norm;
}

} // namespace scr::demo
