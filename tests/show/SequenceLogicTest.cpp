// Play order, timing and layout rules of the show sequence.
#include "platform/RandomSource.h"
#include "show/ItemLayout.h"
#include "show/ItemTiming.h"
#include "show/PlayList.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace scr {
namespace {

// Shows the item at the position, then steps; returns the letters shown.
std::string Play(PlayList& list, const std::string& directions) {
    std::string shown;
    for (char d : directions) {
        shown += static_cast<char>('A' + list.CurrentIndex());
        list.Step(d == 'f');
    }
    return shown;
}

TEST(PlayListTest, ForwardAndBackwardExample) {
    SeededRandom random(1);
    PlayList list({false, false, false, false}, false, random);
    EXPECT_EQ(Play(list, "fffff"), "ABCDA");

    PlayList example({false, false, false, false}, false, random);
    EXPECT_EQ(Play(example, "ff"), "AB");
    EXPECT_EQ(example.position(), 2);
    EXPECT_EQ(Play(example, "b"), "C");
    EXPECT_EQ(example.position(), 1);
    EXPECT_EQ(Play(example, "bbb"), "BAD");
}

TEST(PlayListTest, PinnedItemsAreNotInTheSequence) {
    SeededRandom random(1);
    PlayList list({true, false, true, false, false}, false, random);
    EXPECT_EQ(list.entries(), (std::vector<int>{1, 3, 4}));
    PlayList none({true, true}, false, random);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.CurrentIndex(), -1);
    none.Step(true);
    none.Step(false);
    EXPECT_EQ(none.position(), 0);
}

TEST(PlayListTest, RandomOrderDrawsNewPermutationOnForwardWrapOnly) {
    SeededRandom random(7);
    const int n = 12;
    PlayList list(std::vector<bool>(n, false), true, random);
    auto sorted = [](std::vector<int> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    std::vector<int> all(n);
    for (int i = 0; i < n; ++i)
        all[static_cast<size_t>(i)] = i;
    EXPECT_EQ(sorted(list.entries()), all);

    std::set<std::vector<int>> orders{list.entries()};
    for (int pass = 0; pass < 5; ++pass) {
        for (int i = 0; i < n; ++i)
            list.Step(true);
        EXPECT_EQ(list.position(), 0);
        EXPECT_EQ(sorted(list.entries()), all);
        orders.insert(list.entries());
        // Backward steps, wrapping from 0 to the end, keep the order.
        const std::vector<int> current = list.entries();
        for (int i = 0; i < n + 3; ++i)
            list.Step(false);
        EXPECT_EQ(list.entries(), current);
        for (int i = 0; i < 3; ++i)
            list.Step(true);
    }
    EXPECT_GE(orders.size(), 5u); // a fresh permutation per pass, not one repeated
}

TEST(ItemTimingTest, Intervals) {
    struct Case {
        int kind, seconds, packageDefault, expectedMs;
    };
    const Case cases[] = {
        {0, 4, 9, 4000},  {0, 0, 9, 9000},  {0, 0, 0, 1000},
        {0, -3, 0, 1000}, {1, -7, 9, 7000}, {1, 7, 9, 7000},
        {1, 0, 5, 5000},  {2, 0, -2, 1000}, {0, 2147483647, 0, 2147483647}, // clamped, not overflowed
    };
    for (const Case& c : cases)
        EXPECT_EQ(ItemIntervalMs(c.kind, c.seconds, c.packageDefault), c.expectedMs)
            << c.kind << " " << c.seconds << " " << c.packageDefault;
}

TEST(ItemTimingTest, PlayingMovieHoldsTheNextItemBack) {
    const MovieProgress playing{true, 50, 10, true};
    EXPECT_FALSE(ItemIsFinished(7, playing));
    EXPECT_FALSE(ItemIsFinished(0, playing));
    EXPECT_TRUE(ItemIsFinished(-7, playing));              // a fixed time is not waited for
    EXPECT_TRUE(ItemIsFinished(7, {true, 50, 49, true}));  // on its last frame
    EXPECT_TRUE(ItemIsFinished(7, {true, 50, 10, false})); // stopped
    EXPECT_TRUE(ItemIsFinished(7, {true, 1, 0, true}));    // one-frame movie
    EXPECT_TRUE(ItemIsFinished(7, {false, 50, 10, true})); // no host (picture, or no player)
}

TEST(ItemLayoutTest, SizesScaleFromDesignPixels) {
    EXPECT_EQ(ItemScreenSize(300, 200, 1.25, {1920, 1080}), (Size{375, 250}));
    EXPECT_EQ(ItemScreenSize(0, 200, 1.25, {1920, 1080}), (Size{960, 540}));
    EXPECT_EQ(ItemScreenSize(301, 201, 0.5, {1025, 769}), (Size{150, 100}));
    EXPECT_EQ(ItemScreenSize(-1, -1, 1.0, {1025, 769}), (Size{512, 384}));
    EXPECT_EQ(DefaultItemPosition({1025, 769}), (Point{256, 192}));
}

TEST(ItemLayoutTest, MovingModeFitsIntoHalfTheWindow) {
    EXPECT_EQ(FitIntoHalfWindow({1000, 400}, {1024, 768}), (Size{512, 204}));
    EXPECT_EQ(FitIntoHalfWindow({300, 600}, {1024, 768}), (Size{192, 384}));
    EXPECT_EQ(FitIntoHalfWindow({500, 300}, {1024, 768}), (Size{500, 300}));
}

TEST(ItemLayoutTest, FitRectKeepsAspectAndCentres) {
    EXPECT_EQ(FitRect({0, 0, 1000, 400}, {0, 0, 512, 384}), (Rect{0, 90, 512, 294}));
    EXPECT_EQ(FitRect({0, 0, 100, 50}, {10, 10, 210, 110}), (Rect{60, 35, 160, 85})); // fits: centred
    EXPECT_TRUE(FitRect({0, 0, 100, 50}, {0, 0, 0, 100}).isEmpty());
}

TEST(ItemLayoutTest, RandomOffsetStaysInsideTheRoom) {
    SeededRandom random(1);
    EXPECT_EQ(RandomOffset(0, random), 0);
    EXPECT_EQ(RandomOffset(-5, random), 0);
    for (int i = 0; i < 200; ++i) {
        const int v = RandomOffset(7, random);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 7);
    }
}

TEST(ItemLayoutTest, PlacesCountFromTheOriginWithinInt) {
    const struct {
        Point origin;
        int64_t x, y;
        Point expected;
    } cases[] = {
        {{0, 0}, 100, 40, {100, 40}},
        {{1280, 56}, 100, 40, {1380, 96}},
        {{1280, 0}, -300, -20, {980, -20}},
        {{1280, 56}, INT32_MAX, INT32_MIN, {INT32_MAX, INT32_MIN + 56}}, // stored places are any 32-bit value
        {{-5, 5}, INT32_MIN, INT32_MAX, {INT32_MIN, INT32_MAX}},
        {{INT32_MAX, 0}, INT32_MAX, 0, {INT32_MAX, 0}}, // a far corner of a huge item
    };
    for (const auto& c : cases) {
        const Point p = FromOrigin(c.origin, c.x, c.y);
        EXPECT_EQ(p, c.expected) << c.origin.x << "," << c.origin.y << " + " << c.x << "," << c.y;
    }
}

} // namespace
} // namespace scr
