// The order of the music tracks: package order or a random order per pass,
// one pass or repeated.
#include "show/MusicTrackOrder.h"

#include "platform/RandomSource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace scr {
namespace {

std::vector<int> Turns(MusicTrackOrder& order, int turns) {
    std::vector<int> tracks;
    for (int i = 0; i < turns; ++i)
        tracks.push_back(order.Next().value_or(-1));
    return tracks;
}

TEST(MusicTrackOrder, PackageOrderPlaysOnePassOrRepeats) {
    SeededRandom random(1);
    MusicTrackOrder once(3, MusicSettings{false, false, false}, random);
    EXPECT_EQ(Turns(once, 5), (std::vector<int>{0, 1, 2, -1, -1}));
    MusicTrackOrder repeated(3, MusicSettings{false, true, false}, random);
    EXPECT_EQ(Turns(repeated, 7), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    MusicTrackOrder none(0, MusicSettings{true, true, false}, random);
    EXPECT_FALSE(none.Next());
}

TEST(MusicTrackOrder, RandomOrderPlaysEveryTrackOncePerPassAndDrawsEachPassAnew) {
    SeededRandom random(7);
    MusicTrackOrder order(6, MusicSettings{true, true, false}, random);
    EXPECT_EQ(order.order().size(), 6u);
    bool anotherOrder = false;
    std::vector<int> first = Turns(order, 6);
    for (int pass = 0; pass < 8; ++pass) {
        std::vector<int> next = Turns(order, 6);
        anotherOrder |= next != first;
        std::sort(next.begin(), next.end());
        EXPECT_EQ(next, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    }
    EXPECT_TRUE(anotherOrder);
    // A single track has no order to draw.
    EXPECT_TRUE(MusicTrackOrder(1, MusicSettings{true, true, false}, random).order().empty());
}

} // namespace
} // namespace scr
