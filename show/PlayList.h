#pragma once
// The order in which the show's items come: every item that is not pinned,
// in item order or shuffled, and the position of the item to show next.

#include "platform/RandomSource.h"

#include <vector>

namespace scr {

class PlayList {
public:
    PlayList() = default;
    // The indices of the items whose pinned flag is false, ascending;
    // shuffled when randomOrder is set, with orders drawn from `random`
    // (which outlives the list).
    PlayList(const std::vector<bool>& pinned, bool randomOrder, RandomSource& random);

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    int position() const { return position_; }
    const std::vector<int>& entries() const { return entries_; }

    // The item index at the current position; -1 when the list is empty.
    int CurrentIndex() const;
    // The step after the item at the current position was shown. Forward
    // runs through the list and, past the end, starts again at 0 (drawing a
    // new order when random); backward steps back and wraps from 0 to the end.
    void Step(bool forward);

private:
    std::vector<int> entries_;
    int position_ = 0;
    bool randomOrder_ = false;
    RandomSource* random_ = nullptr;
};

} // namespace scr
