// The demo package's pictures, rendered from formulas: aurora, fractals,
// mountains at sunset, silk, stained glass, a spiral, Truchet tiles, and a
// small seamless background tile. Each renderer answers the colour of one
// point; the table below says the size and how many samples per pixel smooth
// the edges.

#include "assets/generators/DemoPictures.h"

#include "assets/generators/Shading.h"

#include <complex>

namespace scr::demo {
namespace {

constexpr double kWidth = 1280, kHeight = 800;

// --- Northern lights over hills and a still lake -------------------------------

Rgb SkyAndHills(double x, double y) {
    const double u = x / kWidth, v = y / kHeight;
    Rgb colour = Mix(Hex(0x02040F), Hex(0x0A2C3E), SmoothStep(0.0, 0.9, v));
    // Sparse stars, fewer towards the horizon.
    const auto cx = static_cast<int32_t>(x / 4), cy = static_cast<int32_t>(y / 4);
    const double star = Hash01(cx, cy, 7);
    if (star > 0.996) {
        const double dx = x - (cx * 4 + 2), dy = y - (cy * 4 + 2);
        const double glow = std::exp(-(dx * dx + dy * dy) / 1.2) * (star - 0.996) / 0.004;
        colour = colour + Rgb{0.9, 0.95, 1.0} * (glow * (1 - SmoothStep(0.3, 0.7, v)));
    }
    // Three curtains of light: a sharp lower edge and a slow fade upwards,
    // streaked by vertical rays.
    for (int k = 0; k < 3; ++k) {
        const double edge =
            0.36 + 0.09 * k + 0.07 * std::sin(u * 5.1 + k * 1.7) + 0.035 * std::sin(u * 12.7 + k);
        const double d = v - edge;
        const double intensity = d > 0 ? std::exp(-d * d / 0.0005) : std::exp(d / 0.17);
        const double rays = 0.35 + 0.65 * FractalNoise(u * 70 + k * 13.0, v * 1.5 + k, 4, 11);
        const Rgb tint = Mix(Hex(0x3DFFA2), Hex(0xB04CFF), SmoothStep(0.0, 0.3, -d));
        colour = colour + tint * (intensity * rays * (0.75 - 0.18 * k));
    }
    // Hills in front of the sky.
    const double ridge = 0.72 + 0.12 * (FractalNoise(u * 5.0, 3.3, 6, 21) - 0.5);
    if (v > ridge) colour = Mix(Hex(0x06101A), Hex(0x02050A), SmoothStep(ridge, 0.82, v));
    return colour;
}

Rgb Aurora(double x, double y) {
    constexpr double shore = 0.82 * kHeight;
    if (y < shore) return SkyAndHills(x, y);
    // The lake mirrors the scene, darker and rippled.
    // Seen from above, the lake mirrors much of the sky, so its reflection is stretched.
    const double depth = (y - shore) / (kHeight - shore);
    const double ripple = 3.0 * std::sin(y * 0.9) * (0.3 + depth);
    return SkyAndHills(x + ripple, shore - 3 * (y - shore)) * (0.6 - 0.3 * depth) + Hex(0x01060C);
}

// --- Fractals -----------------------------------------------------------------

// Smooth escape count of z -> z^2 + c, or a negative value inside the set.
double EscapeCount(std::complex<double> z, std::complex<double> c, int limit) {
    for (int n = 0; n < limit; ++n) {
        z = z * z + c;
        const double m = std::norm(z);
        if (m > 256.0) return n + 1 - std::log2(0.5 * std::log2(m));
    }
    return -1;
}

Rgb Mandelbrot(double x, double y) {
    constexpr double span = 0.0105;
    const std::complex<double> c(-0.7453 + (x / kWidth - 0.5) * span,
                                 0.1127 + (y / kHeight - 0.5) * span * kHeight / kWidth);
    const double n = EscapeCount({0, 0}, c, 1200);
    if (n < 0) return Hex(0x050208);
    static const CosinePalette palette{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, {0.0, 0.10, 0.20}};
    const double t = std::sqrt(n) * 0.22;
    return palette(t) * SmoothStep(0.0, 6.0, n);
}

Rgb Julia(double x, double y) {
    const double scale = 3.1 / kWidth;
    const std::complex<double> z((x - kWidth / 2) * scale, (y - kHeight / 2) * scale);
    const double n = EscapeCount(z, {-0.7269, 0.1889}, 600);
    if (n < 0) return Hex(0x1A0526);
    static const CosinePalette palette{{0.5, 0.4, 0.5}, {0.5, 0.4, 0.4}, {1.0, 1.0, 1.0}, {0.75, 0.92, 0.15}};
    return palette(std::log(n + 1) * 0.55) * (0.25 + 0.75 * SmoothStep(0.0, 25.0, n));
}

// --- Mountains at sunset --------------------------------------------------------

Rgb Sunset(double x, double y) {
    const double u = x / kWidth, v = y / kHeight;
    Rgb colour = v < 0.45 ? Mix(Hex(0x24174A), Hex(0xE4587C), SmoothStep(0.0, 0.45, v))
                          : Mix(Hex(0xE4587C), Hex(0xFFBE6A), SmoothStep(0.45, 0.62, v));
    const double sunDx = (x - 0.66 * kWidth) / kHeight, sunDy = (y - 0.5 * kHeight) / kHeight;
    const double sunDistance = std::sqrt(sunDx * sunDx + sunDy * sunDy);
    colour = colour + Hex(0xFFB36B) * (0.55 * std::exp(-sunDistance * 7));
    colour = Mix(colour, Hex(0xFFF3CF), SmoothStep(0.062, 0.058, sunDistance));
    // Five ranges, the nearest drawn last and darkest; haze fades the far ones.
    for (int i = 0; i < 5; ++i) {
        const double ridge =
            0.47 + 0.09 * i + (0.26 - 0.03 * i) * (FractalNoise(u * (2.5 + 1.5 * i), i * 3.7, 7, 31) - 0.5);
        if (v < ridge) continue;
        const double haze = (4 - i) / 4.0;
        const Rgb body = Mix(Hex(0x170C26), Hex(0xB86A86), haze * 0.8);
        colour = Mix(body, Mix(body, Hex(0xF5A07A), 0.35 * haze), SmoothStep(ridge + 0.06, ridge, v));
    }
    return colour;
}

// --- Silk: flowing ribbons, each shaded as a rounded fold ------------------------

Rgb Silk(double x, double y) {
    const double t =
        y / kHeight * 7 + 0.9 * std::sin(x * 0.0045 + 0.8) + 0.35 * std::sin(x * 0.011 + y * 0.003 + 2.0);
    const double band = std::floor(t), f = t - band;
    const double fold = std::sin(kPi * f);
    static const CosinePalette palette{
        {0.55, 0.4, 0.5}, {0.45, 0.35, 0.4}, {1.0, 0.9, 0.8}, {0.0, 0.15, 0.3}};
    const Rgb hue = palette(band * 0.11 + x / kWidth * 0.12);
    const Rgb shaded = hue * (0.25 + 0.8 * fold) + Rgb{1, 0.96, 0.92} * (0.35 * std::pow(fold, 14));
    return shaded * SmoothStep(0.0, 0.04, std::min(f, 1 - f));
}

// --- Stained glass: Voronoi cells in lead ---------------------------------------

Rgb StainedGlass(double x, double y) {
    constexpr double cell = 96;
    const auto cx = static_cast<int32_t>(std::floor(x / cell)),
               cy = static_cast<int32_t>(std::floor(y / cell));
    double nearest = 1e9, second = 1e9;
    uint32_t owner = 0;
    for (int32_t j = cy - 1; j <= cy + 1; ++j) {
        for (int32_t i = cx - 1; i <= cx + 1; ++i) {
            const double px = (i + 0.1 + 0.8 * Hash01(i, j, 1)) * cell,
                         py = (j + 0.1 + 0.8 * Hash01(i, j, 2)) * cell;
            const double d = std::hypot(x - px, y - py);
            if (d < nearest) {
                second = nearest;
                nearest = d;
                owner = Hash(i, j, 3);
            } else if (d < second) {
                second = d;
            }
        }
    }
    static const uint32_t jewels[] = {0xB3123A, 0xE89A1E, 0x1E8C5A, 0x1D4FA8,
                                      0x6E2C9C, 0x1BA3A8, 0xE8C547, 0xC2452D};
    const double edge = (second - nearest) * 0.5;
    const double sun = 0.5 + 0.7 * std::exp(-std::hypot(x - 320, y - 140) / 650);
    const double grain = 0.85 + 0.3 * FractalNoise(x * 0.04, y * 0.04, 4, owner);
    const Rgb glass = Hex(jewels[owner % 8]) * (sun * grain * (0.7 + 0.3 * SmoothStep(3, 24, edge)));
    return Mix(Hex(0x16110E), glass, SmoothStep(3.0, 4.5, edge));
}

// --- A logarithmic spiral of tiles ----------------------------------------------

Rgb Spiral(double x, double y) {
    const double dx = x - kWidth / 2, dy = y - kHeight / 2;
    const double r = std::max(std::hypot(dx, dy), 1e-3), turn = std::atan2(dy, dx) / (2 * kPi);
    const double lr = std::log(r);
    const double p = 7 * turn + 1.6 * lr, q = 7 * turn - 2.4 * lr;
    const bool light = (static_cast<int64_t>(std::floor(p)) + static_cast<int64_t>(std::floor(q))) % 2 == 0;
    static const CosinePalette palette{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, {0.0, 0.33, 0.67}};
    const Rgb hue = palette(lr * 0.22 + turn);
    const Rgb colour = light ? Mix(hue, Rgb{1, 1, 1}, 0.25) : hue * 0.35;
    return Mix(Rgb{1, 0.97, 0.9}, colour, SmoothStep(2, 40, r));
}

// --- Truchet tiles: quarter arcs woven into endless tubes -----------------------

Rgb Truchet(double x, double y) {
    constexpr double tile = 80, radius = tile / 2, band = 11;
    const auto tx = static_cast<int32_t>(std::floor(x / tile)),
               ty = static_cast<int32_t>(std::floor(y / tile));
    double lx = x - tx * tile;
    const double ly = y - ty * tile;
    if (Hash(tx, ty, 5) & 1) lx = tile - lx;
    const double d =
        std::min(std::abs(std::hypot(lx, ly) - radius), std::abs(std::hypot(tile - lx, tile - ly) - radius));
    const double dot = std::hypot(std::remainder(x, tile), std::remainder(y, tile));
    Rgb colour = Hex(0x0E1022) + Hex(0x2A2F5C) * (0.5 * SmoothStep(9, 6, dot));
    if (d < band + 1.5) {
        static const CosinePalette palette{
            {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, {0.0, 0.33, 0.67}};
        const double tube = std::sqrt(Clamp01(1 - (d / band) * (d / band)));
        const Rgb hue = palette((x + 0.6 * y) / 2200.0);
        const Rgb shaded = hue * (0.35 + 0.65 * tube) + Rgb{1, 1, 1} * (0.3 * std::pow(tube, 12));
        colour = Mix(colour, shaded, SmoothStep(band + 1.5, band - 0.5, d));
    }
    return colour;
}

// --- Background: a seamless diamond lattice -------------------------------------

Rgb Lattice(double x, double y) {
    constexpr double period = 80;
    auto line = [](double t) { return std::abs(t - std::floor(t) - 0.5); };
    const double d = std::min(line((x + y) / period), line((x - y) / period)) * period;
    const double glow = SmoothStep(2.5, 0.5, d) + 0.25 * SmoothStep(10, 0, d);
    return Mix(Hex(0x0B1024), Hex(0x3A4C8A), Clamp01(glow));
}

} // namespace

const std::vector<DemoPicture>& DemoPictures() {
    static const std::vector<DemoPicture> pictures = {
        {"aurora.jpg", 1280, 800, 2, Aurora},     {"mandelbrot.jpg", 1280, 800, 2, Mandelbrot},
        {"sunset.jpg", 1280, 800, 2, Sunset},     {"glass.jpg", 1280, 800, 3, StainedGlass},
        {"julia.jpg", 1280, 800, 2, Julia},       {"silk.jpg", 1280, 800, 3, Silk},
        {"spiral.jpg", 1280, 800, 3, Spiral},     {"truchet.jpg", 1280, 800, 3, Truchet},
        {"background.jpg", 160, 160, 3, Lattice},
    };
    return pictures;
}

} // namespace scr::demo
