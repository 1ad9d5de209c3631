#include "package/StretchBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace scr {
namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
// The intermediate picture keeps four extra bits of precision.
constexpr int kMidShift = kWeightBits - 4;
constexpr int kFinalShift = kWeightBits + 4;

// For one axis: which source samples make each target sample, and with which
// weights (fixed point, summing to kWeightOne).
struct AxisFilter {
    std::vector<int> first; // per target sample: index into taps
    std::vector<int> count; // per target sample: number of taps
    std::vector<int> source;
    std::vector<int> weight;
};

void AddSample(AxisFilter& filter, const std::vector<std::pair<int, double>>& taps) {
    filter.first.push_back(static_cast<int>(filter.source.size()));
    filter.count.push_back(static_cast<int>(taps.size()));
    int sum = 0;
    for (std::size_t i = 0; i < taps.size(); ++i) {
        int w = static_cast<int>(std::lround(taps[i].second * kWeightOne));
        if (i + 1 == taps.size()) w = kWeightOne - sum; // exact normalisation
        sum += w;
        filter.source.push_back(taps[i].first);
        filter.weight.push_back(w);
    }
}

AxisFilter MakeFilter(int from, int to) {
    AxisFilter filter;
    std::vector<std::pair<int, double>> taps;
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        taps.clear();
        if (to < from) {
            // Area averaging: the target sample covers [i * scale, (i + 1) * scale) of the source.
            const double begin = i * scale;
            const double end = (i + 1) * scale;
            for (int s = static_cast<int>(begin); s < from && s < end; ++s) {
                const double overlap = std::min<double>(s + 1, end) - std::max<double>(s, begin);
                if (overlap > 0) taps.emplace_back(s, overlap / scale);
            }
        } else {
            // Bilinear: sample centres mapped onto the source, clamped at the edges.
            const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(from - 1));
            const int left = static_cast<int>(centre);
            const double fraction = centre - left;
            if (left + 1 < from && fraction > 0) {
                taps.emplace_back(left, 1.0 - fraction);
                taps.emplace_back(left + 1, fraction);
            } else {
                taps.emplace_back(left, 1.0);
            }
        }
        AddSample(filter, taps);
    }
    return filter;
}

} // namespace

void StretchBitmap(Bitmap24& bitmap, int width, int height) {
    if (width <= 0 || height <= 0 || (bitmap.width() == width && bitmap.height() == height)) return;
    if (bitmap.isEmpty()) {
        bitmap.setSize(width, height);
        return;
    }
    const int srcW = bitmap.width();
    const int srcH = bitmap.height();
    const AxisFilter horizontal = MakeFilter(srcW, width);
    const AxisFilter vertical = MakeFilter(srcH, height);

    // Pass 1: rows to the target width, kept at 16 times the 8-bit range.
    std::vector<uint16_t> mid(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(srcH));
    for (int y = 0; y < srcH; ++y) {
        const uint8_t* in = bitmap.row(y);
        uint16_t* out = mid.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            int acc[3] = {0, 0, 0};
            const int first = horizontal.first[static_cast<std::size_t>(x)];
            for (int t = first, end = first + horizontal.count[static_cast<std::size_t>(x)]; t < end; ++t) {
                const uint8_t* p =
                    in + static_cast<std::size_t>(horizontal.source[static_cast<std::size_t>(t)]) * 3;
                const int w = horizontal.weight[static_cast<std::size_t>(t)];
                acc[0] += p[0] * w;
                acc[1] += p[1] * w;
                acc[2] += p[2] * w;
            }
            for (int c = 0; c < 3; ++c)
                out[x * 3 + c] = static_cast<uint16_t>(
                    std::clamp((acc[c] + (1 << (kMidShift - 1))) >> kMidShift, 0, 255 * 16));
        }
    }

    // Pass 2: columns to the target height.
    Bitmap24 result(width, height);
    const std::size_t midStride = static_cast<std::size_t>(width) * 3;
    std::vector<int> acc(midStride);
    for (int y = 0; y < height; ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const int first = vertical.first[static_cast<std::size_t>(y)];
        for (int t = first, end = first + vertical.count[static_cast<std::size_t>(y)]; t < end; ++t) {
            const uint16_t* in =
                mid.data() +
                static_cast<std::size_t>(vertical.source[static_cast<std::size_t>(t)]) * midStride;
            const int w = vertical.weight[static_cast<std::size_t>(t)];
            for (std::size_t i = 0; i < midStride; ++i)
                acc[i] += in[i] * w;
        }
        uint8_t* out = result.row(y);
        for (std::size_t i = 0; i < midStride; ++i)
            out[i] =
                static_cast<uint8_t>(std::clamp((acc[i] + (1 << (kFinalShift - 1))) >> kFinalShift, 0, 255));
    }
    bitmap = std::move(result);
}

} // namespace scr
