#include "package/LayoutFit.h"

#include "package/PackageRecords.h"

namespace scr {

std::optional<LayoutScale> FittingScale(int w, int h, const ScreenSize& screen) {
    if (!screen.isKnown() || w <= 0 || h <= 0) return std::nullopt;
    const double W = screen.width, H = screen.height;
    if (H / h > W / w) {
        const double f = W / w;
        return LayoutScale{0, TruncToInt32((H - h * f) * 0.5), f};
    }
    const double f = H / h;
    return LayoutScale{TruncToInt32((W - w * f) * 0.5), 0, f};
}

std::optional<LayoutScale> ScaleForScreen(int formatLevel, int designWidth, int designHeight,
                                          const ScreenSize& screen) {
    if (!screen.isKnown()) return std::nullopt;
    if (formatLevel >= 4) {
        if (screen.width == designWidth && screen.height == designHeight) return std::nullopt;
        return FittingScale(designWidth, designHeight, screen);
    }
    if (screen.width == designWidth || designWidth <= 0) return std::nullopt;
    return LayoutScale{0, 0, static_cast<double>(screen.width) / designWidth};
}

void ApplyLayoutScale(ShowItem& item, const LayoutScale& scale) {
    item.left = TruncToInt32(scale.dx + item.left * scale.factor);
    item.top = TruncToInt32(scale.dy + item.top * scale.factor);
    item.width = TruncToInt32(item.width * scale.factor);
    item.height = TruncToInt32(item.height * scale.factor);
}

} // namespace scr
