#include "show/MusicTrackOrder.h"

#include "platform/Shuffle.h"

#include <numeric>

namespace scr {

MusicTrackOrder::MusicTrackOrder(int trackCount, const MusicSettings& settings, RandomSource& random)
    : count_(trackCount), repeat_(settings.repeat), random_(&random) {
    if (count_ > 1 && settings.randomOrder) {
        order_.resize(static_cast<size_t>(count_));
        std::iota(order_.begin(), order_.end(), 0);
        Shuffle(order_, *random_);
    }
}

std::optional<int> MusicTrackOrder::Next() {
    if (count_ <= 0 || (!repeat_ && position_ >= count_)) return std::nullopt;
    position_ %= count_;
    const int track = order_.empty() ? position_ : order_[static_cast<size_t>(position_)];
    ++position_;
    // A new pass draws a new order.
    if (!order_.empty() && position_ >= count_ && repeat_) {
        Shuffle(order_, *random_);
        position_ = 0;
    }
    return track;
}

} // namespace scr
