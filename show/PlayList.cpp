#include "show/PlayList.h"

#include "platform/Shuffle.h"

namespace scr {

PlayList::PlayList(const std::vector<bool>& pinned, bool randomOrder, RandomSource& random)
    : randomOrder_(randomOrder), random_(&random) {
    for (int i = 0; i < static_cast<int>(pinned.size()); ++i)
        if (!pinned[static_cast<std::size_t>(i)]) entries_.push_back(i);
    if (randomOrder_) Shuffle(entries_, *random_);
}

int PlayList::CurrentIndex() const {
    if (position_ < 0 || position_ >= size()) return -1;
    return entries_[static_cast<std::size_t>(position_)];
}

void PlayList::Step(bool forward) {
    const int n = size();
    if (n == 0) return;
    position_ = forward ? position_ + 1 : (position_ > 0 ? position_ : n) - 1;
    if (position_ >= n) {
        if (randomOrder_) Shuffle(entries_, *random_);
        position_ = 0;
    }
}

} // namespace scr
