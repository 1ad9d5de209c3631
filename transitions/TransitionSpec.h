#pragma once
// One transition as the player is asked to run it: which of the 128 styles,
// how far each step moves the progress, how long a step lasts at least, and
// the direction.

namespace scr {

struct TransitionSpec {
    // 0..127; a style above the table composes the old picture only.
    int style = 51;
    // Progress added (or, with reverse, taken) per step; the player keeps it in 1..100.
    int step = 4;
    // Minimum time between the starts of two steps, in milliseconds (0 or more).
    int delay = 40;
    // Run the progress from 100 down to 0: from the new picture back to the old.
    bool reverse = false;

    bool operator==(const TransitionSpec&) const = default;
};

} // namespace scr
