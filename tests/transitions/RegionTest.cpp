#include "transitions/Region.h"

#include "platform/RandomSource.h"
#include "transitions/RegionShapes.h"

#include <gtest/gtest.h>
#include <vector>

namespace scr {
namespace {

// Canonical form: bands sorted and disjoint, spans sorted, disjoint and not touching.
void ExpectCanonical(const Region& r) {
    const auto& rects = r.rects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        ASSERT_FALSE(rects[i].isEmpty());
        if (i == 0) continue;
        const Rect& a = rects[i - 1];
        const Rect& b = rects[i];
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom);
            EXPECT_LT(a.right, b.left) << "spans touch or overlap";
        } else {
            EXPECT_LE(a.bottom, b.top);
        }
    }
}

std::vector<Rect> RandomRects(SeededRandom& random, int count) {
    std::vector<Rect> rects;
    for (int i = 0; i < count; ++i) {
        const int x = random.Random(40) - 5;
        const int y = random.Random(40) - 5;
        rects.push_back({x, y, x + random.Random(15) - 3, y + random.Random(15) - 3});
    }
    return rects;
}

bool InAny(const std::vector<Rect>& rects, int x, int y) {
    for (Rect r : rects) {
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        if (r.contains(x, y)) return true;
    }
    return false;
}

TEST(Region, BooleanOperationsMatchPixelSets) {
    SeededRandom random(7);
    for (int round = 0; round < 40; ++round) {
        const std::vector<Rect> ra = RandomRects(random, 1 + random.Random(12));
        const std::vector<Rect> rb = RandomRects(random, 1 + random.Random(12));
        const Region a = Region::FromRects(ra);
        const Region b = Region::FromRects(rb);
        const Region u = a.united(b), i = a.intersected(b), x = a.xored(b), d = a.subtracted(b);
        for (const Region* r : {&a, &b, &u, &i, &x, &d})
            ExpectCanonical(*r);
        int64_t area = 0;
        for (int py = -10; py < 60; ++py) {
            for (int px = -10; px < 60; ++px) {
                const bool inA = InAny(ra, px, py);
                const bool inB = InAny(rb, px, py);
                ASSERT_EQ(a.contains(px, py), inA) << px << "," << py;
                ASSERT_EQ(u.contains(px, py), inA || inB);
                ASSERT_EQ(i.contains(px, py), inA && inB);
                ASSERT_EQ(x.contains(px, py), inA != inB);
                ASSERT_EQ(d.contains(px, py), inA && !inB);
                area += inA;
            }
        }
        EXPECT_EQ(a.area(), area);
        // The same pixels always give the same rectangles.
        EXPECT_EQ(a.united(b), b.united(a));
        EXPECT_EQ(Region::FromRects(u.rects()), u);
    }
}

TEST(Region, RectanglesHaveExclusiveEdgesAndReversedEdgesAreSwapped) {
    const Region r(Rect{5, 8, 2, 3});
    EXPECT_EQ(r.rects(), (std::vector<Rect>{{2, 3, 5, 8}}));
    EXPECT_EQ(r.area(), 15);
    EXPECT_FALSE(r.contains(5, 3));
    EXPECT_TRUE(Region(Rect{4, 4, 4, 9}).isEmpty());
    // Touching rectangles merge into one.
    const Rect pair[] = {{0, 0, 5, 5}, {5, 0, 10, 5}, {0, 5, 10, 7}};
    EXPECT_EQ(Region::FromRects(pair).rects(), (std::vector<Rect>{{0, 0, 10, 7}}));
}

TEST(RegionShapes, RoundRectLosesOnePixelAtRightAndBottom) {
    // Corner ellipse below 2: a plain rectangle, one pixel smaller at right and bottom.
    EXPECT_EQ(CreateRoundRectRgn(0, 0, 11, 11, 1, 1), Region(Rect{0, 0, 10, 10}));
    const Region r = CreateRoundRectRgn(10, 20, 51, 41, 20, 10);
    ExpectCanonical(r);
    EXPECT_EQ(r.bounds(), (Rect{10, 20, 50, 40}));
    // The corners are cut, the middle of each edge is not.
    EXPECT_FALSE(r.contains(10, 20));
    EXPECT_FALSE(r.contains(49, 39));
    EXPECT_TRUE(r.contains(30, 20));
    EXPECT_TRUE(r.contains(10, 30));
    EXPECT_TRUE(r.contains(49, 30));
    EXPECT_TRUE(r.contains(30, 39));
    // Symmetric about both centre lines.
    for (int y = 20; y < 40; ++y)
        for (int x = 10; x < 50; ++x)
            ASSERT_EQ(r.contains(x, y), r.contains(59 - x, 59 - y)) << x << "," << y;
}

TEST(RegionShapes, RoundRectWithLargeCornersIsAnEllipse) {
    // The ellipse is limited to the (shrunk) rectangle: 100 x 50.
    const Region r = CreateRoundRectRgn(0, 0, 101, 51, 1000, 1000);
    EXPECT_EQ(r.bounds(), (Rect{0, 0, 100, 50}));
    const double ellipse = 3.14159265 * 50 * 25;
    EXPECT_NEAR(static_cast<double>(r.area()), ellipse, ellipse * 0.02);
    EXPECT_TRUE(r.contains(0, 25));
    EXPECT_TRUE(r.contains(50, 0));
    EXPECT_FALSE(r.contains(3, 3));
}

TEST(RegionShapes, PolygonRowsTakeTheirTopLeftPixelEdges) {
    const Point triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    const Region r = CreatePolygonRgn(triangle, PolygonFillMode::Winding);
    EXPECT_EQ(r.area(), 55);
    for (int y = 0; y < 10; ++y) {
        EXPECT_TRUE(r.contains(9 - y, y));
        EXPECT_FALSE(r.contains(10 - y, y));
    }
    EXPECT_FALSE(r.contains(0, 10));
}

TEST(RegionShapes, WindingFillsWhatAlternateLeavesOpen) {
    // A five-pointed star drawn in one stroke: its centre is wound twice.
    const Point star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    const Region winding = CreatePolygonRgn(star, PolygonFillMode::Winding);
    const Region alternate = CreatePolygonRgn(star, PolygonFillMode::Alternate);
    EXPECT_TRUE(winding.contains(50, 50));
    EXPECT_FALSE(alternate.contains(50, 50));
    EXPECT_TRUE(alternate.contains(50, 10));
    EXPECT_EQ(alternate.subtracted(winding).area(), 0);
}

} // namespace
} // namespace scr
