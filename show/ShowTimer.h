#pragma once
// The show window's timers, named by what they pace. A window timer's
// messages carry its id; these are the ids.

namespace scr {

enum class ShowTimer : unsigned {
    Item = 1,     // the current item's display time; its tick advances the show
    Movement = 2, // one step of the bouncing movement
};

constexpr unsigned TimerId(ShowTimer timer) {
    return static_cast<unsigned>(timer);
}

} // namespace scr
