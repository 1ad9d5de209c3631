#include "dialogs/TabButtonLayout.h"

namespace scr {

std::vector<std::optional<TabButtonPlace>> LayoutTabButtons(int barWidth,
                                                            const std::vector<TabButtonState>& buttons) {
    std::vector<std::optional<TabButtonPlace>> places(buttons.size());
    int n = 0;
    int selected = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].visible) continue;
        ++n;
        if (buttons[i].down) selected = static_cast<int>(i);
    }
    if (n == 0) return places;
    int base = (barWidth - 2) / n;
    if (selected >= 0) base = base * 6 / 8;
    int left = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].visible) continue;
        const int width = static_cast<int>(i) == selected ? barWidth - n - 1 - (n - 1) * base : base;
        places[i] = TabButtonPlace{left, width};
        left += width + 1;
    }
    return places;
}

} // namespace scr
