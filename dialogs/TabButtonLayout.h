#pragma once
// The arithmetic of the configuration dialog's tab-button bar: the visible
// buttons share the bar's width, and the selected one (the last visible
// button that is down) stands out wider than the others.

#include <optional>
#include <vector>

namespace scr {

struct TabButtonState {
    bool visible = false;
    bool down = false;
};

struct TabButtonPlace {
    int left = 0;
    int width = 0;
    bool operator==(const TabButtonPlace&) const = default;
};

// For a bar `barWidth` pixels wide: n = visible buttons; base width
// b = (barWidth - 2) / n, reduced to b * 6 / 8 when a button is selected; the
// selected button is barWidth - n - 1 - (n - 1) * b wide, every other visible
// button b. Visible buttons are placed from left 0 in order with a 1-pixel
// gap; hidden buttons get no place (nullopt). No visible button: all nullopt.
std::vector<std::optional<TabButtonPlace>> LayoutTabButtons(int barWidth,
                                                            const std::vector<TabButtonState>& buttons);

} // namespace scr
