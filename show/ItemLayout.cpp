#include "show/ItemLayout.h"

#include "platform/RandomSource.h"

#include <algorithm>
#include <limits>

namespace scr {

Size ItemScreenSize(int storedWidth, int storedHeight, double showScale, Size primaryScreen) {
    if (storedWidth > 0 && storedHeight > 0)
        return {static_cast<int>(storedWidth * showScale), static_cast<int>(storedHeight * showScale)};
    return {primaryScreen.width / 2, primaryScreen.height / 2};
}

Point DefaultItemPosition(Size primaryScreen) {
    return {primaryScreen.width / 2 / 2, primaryScreen.height / 2 / 2};
}

Rect FitRect(const Rect& inner, const Rect& box) {
    const int boxW = box.width();
    const int boxH = box.height();
    if (boxW <= 0 || boxH <= 0) return {};
    int w = inner.width();
    int h = inner.height();
    if (w > boxW || h > boxH) {
        if (w <= 0 || h <= 0) return {};
        if (static_cast<double>(boxW) / boxH >= static_cast<double>(w) / h) {
            w = static_cast<int>(static_cast<long long>(w) * boxH / h);
            h = boxH;
        } else {
            h = static_cast<int>(static_cast<long long>(h) * boxW / w);
            w = boxW;
        }
    }
    const int left = box.left + (boxW - w) / 2;
    const int top = box.top + (boxH - h) / 2;
    return {left, top, left + w, top + h};
}

Size FitIntoHalfWindow(Size item, Size window) {
    const Size half{window.width / 2, window.height / 2};
    if (item.width <= half.width && item.height <= half.height) return item;
    const Rect fitted = FitRect({0, 0, item.width, item.height}, {0, 0, half.width, half.height});
    return {fitted.width(), fitted.height()};
}

int RandomOffset(int space, RandomSource& random) {
    return space >= 1 ? random.Random(space) : 0;
}

Point FromOrigin(Point origin, int64_t x, int64_t y) {
    auto held = [](int64_t v) {
        return static_cast<int>(
            std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return {held(origin.x + x), held(origin.y + y)};
}

} // namespace scr
