#include "transitions/FrameComposer.h"

#include "TestPictures.h"
#include "transitions/FrameGeometry.h"
#include "transitions/RectangleStyles.h"
#include "transitions/RowSplit.h"
#include "transitions/StyleTable.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace scr {
namespace {

using test::CoordinateColour;
using test::CoordinatePicture;

// A random source that answers from a script, then with a fixed value, and counts calls.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::vector<int> script, int otherwise)
        : script_(std::move(script)), otherwise_(otherwise) {}
    int Random(int n) override {
        ++calls;
        lastLimit = n;
        const int v = next_ < script_.size() ? script_[next_++] : otherwise_;
        return n <= 0 ? 0 : std::min(v, n - 1);
    }
    int calls = 0;
    int lastLimit = 0;

private:
    std::vector<int> script_;
    std::size_t next_ = 0;
    int otherwise_;
};

// Composes frames of one transition between two coordinate pictures.
struct Transition {
    Transition(int w, int h)
        : oldPicture(CoordinatePicture(w, h, false)), newPicture(CoordinatePicture(w, h, true)) {}

    FrameResult compose(int style, int progress, RandomSource& random, int step = 4) {
        frame = Bitmap24(newPicture.width(), newPicture.height());
        invalidated.clear();
        FrameHooks hooks;
        hooks.invalidate = [this](const Rect& r) { invalidated.push_back(r); };
        return ComposeFrame(frame, {oldPicture, newPicture, progress, step, style, {}}, random, hooks);
    }
    FrameResult compose(int style, int progress) {
        SeededRandom random(1);
        return compose(style, progress, random);
    }
    bool isNew(int x, int y) const { return frame.pixel(x, y) == newPicture.pixel(x, y); }
    bool isOld(int x, int y) const { return frame.pixel(x, y) == oldPicture.pixel(x, y); }

    Bitmap24 oldPicture;
    Bitmap24 newPicture;
    Bitmap24 frame;
    std::vector<Rect> invalidated;
};

TEST(FrameGeometry, LongerSideAdvancesInWholePercent) {
    FrameGeometry g = MakeFrameGeometry(800, 600, 50, 4);
    EXPECT_EQ(g.ph, 400);
    EXPECT_EQ(g.pv, 300);
    EXPECT_EQ(g.J, 36);
    g = MakeFrameGeometry(800, 600, 1, 4);
    EXPECT_EQ(g.ph, 8);
    EXPECT_EQ(g.pv, 6);
    g = MakeFrameGeometry(300, 500, 33, 9);
    EXPECT_EQ(g.pv, 165);
    EXPECT_EQ(g.ph, 99);
    EXPECT_EQ(g.J, 50);
    g = MakeFrameGeometry(333, 101, 100, 4);
    EXPECT_EQ(g.ph, 333);
    EXPECT_EQ(g.pv, 101);
}

TEST(FrameComposer, EveryStyleStartsFromTheOldPictureAndEndsWithTheNew) {
    Transition t(47, 31);
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(style);
        SeededRandom random(static_cast<uint32_t>(style));
        t.compose(style, 100, random);
        EXPECT_EQ(t.frame, t.newPicture);

        t.compose(style, 0, random);
        if (style == 0) {
            EXPECT_EQ(t.frame, t.newPicture); // without a handler style 0 is an instant cut
            continue;
        }
        // Only the pieces copied whatever the progress (all reported areas but
        // the last) may differ from the old picture.
        const std::vector<Rect> pieces(t.invalidated.begin(), t.invalidated.end() - 1);
        for (int y = 0; y < 31; ++y) {
            for (int x = 0; x < 47; ++x) {
                bool inPiece = false;
                for (Rect r : pieces) {
                    if (r.left > r.right) std::swap(r.left, r.right);
                    inPiece =
                        inPiece || Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}.contains(x, y);
                }
                if (!inPiece) {
                    ASSERT_TRUE(t.isOld(x, y)) << x << "," << y;
                }
            }
        }
    }
}

TEST(FrameComposer, TwoPieceStyleCopiesItsFirstPieceAtZero) {
    Transition t(40, 10);
    t.compose(12, 0);
    // The first piece is a column one pixel wide at the left edge; the last is not copied.
    for (int y = 0; y < 10; ++y) {
        EXPECT_TRUE(t.isNew(0, y));
        EXPECT_TRUE(t.isOld(1, y));
        EXPECT_TRUE(t.isOld(39, y));
    }
    ASSERT_EQ(t.invalidated.size(), 2u);
    EXPECT_EQ(t.invalidated[0], (Rect{0, 0, 1, 10}));
    EXPECT_EQ(t.invalidated[1], (Rect{39, 0, 40, 10}));
}

TEST(FrameComposer, CentreZoomAtHalfShowsTheMiddleFourTimesEnlarged) {
    Transition t(800, 600);
    const FrameResult r = t.compose(51, 50);
    // (200, 150, 600, 450) stretched into (-400, -300, 1200, 900): the frame
    // shows source columns 300 .. 499 and rows 225 .. 374.
    EXPECT_EQ(r.changed, (Rect{-400, -300, 1200, 900}));
    for (int y : {0, 1, 3, 4, 299, 599})
        for (int x : {0, 3, 4, 5, 400, 799})
            ASSERT_EQ(t.frame.pixel(x, y), CoordinateColour(300 + x / 4, 225 + y / 4, true)) << x << "," << y;
}

TEST(FrameComposer, FoldWidthGrowsHoldsAndShrinks) {
    EXPECT_EQ(FoldWidth(100, 1000), 50);
    EXPECT_EQ(FoldWidth(200, 1000), 100);
    EXPECT_EQ(FoldWidth(500, 1000), 100);
    EXPECT_EQ(FoldWidth(800, 1000), 100);
    EXPECT_EQ(FoldWidth(900, 1000), 50);

    // Style 14 on 100 x 4 at p = 30: the fold (30, 40) <- (40, 50) is
    // mirrored over 30 .. 41, then the wipe covers 0 .. 29.
    Transition t(100, 4);
    t.compose(14, 30);
    for (int x = 0; x < 30; ++x)
        EXPECT_TRUE(t.isNew(x, 2)) << x;
    EXPECT_EQ(t.frame.pixel(41, 2), CoordinateColour(40, 2, true));
    EXPECT_EQ(t.frame.pixel(30, 2), CoordinateColour(49, 2, true));
    EXPECT_TRUE(t.isOld(42, 2));
    // The report covers the fold's whole mirrored copy, 30 .. 41.
    EXPECT_EQ(t.invalidated.front(), (Rect{30, 0, 42, 4}));
}

TEST(FrameComposer, HorizontalStripsInTwoPasses) {
    Transition t(800, 600);
    // p = 25: hx = 400; strips 0-5, 10-15, ... cover x 400 .. 800.
    t.compose(60, 25);
    for (int y : {0, 4, 10, 594}) {
        EXPECT_TRUE(t.isOld(399, y)) << y;
        EXPECT_TRUE(t.isNew(400, y)) << y;
        EXPECT_TRUE(t.isNew(799, y)) << y;
    }
    for (int y : {5, 9, 15, 599})
        EXPECT_TRUE(t.isOld(799, y)) << y;

    // p = 75: hx = 1200; the first strips are full, those between cover 400 .. 800.
    t.compose(60, 75);
    for (int y : {0, 4, 590}) {
        EXPECT_TRUE(t.isNew(0, y));
        EXPECT_TRUE(t.isNew(799, y));
    }
    for (int y : {5, 9, 595}) {
        EXPECT_TRUE(t.isOld(399, y)) << y;
        EXPECT_TRUE(t.isNew(400, y)) << y;
    }

    // p = 48 with step 4 (J = 36): 768 + 36 > 800, so the first pass snaps shut.
    SeededRandom random(1);
    t.compose(60, 48, random, 4);
    EXPECT_TRUE(t.isNew(0, 0));
    EXPECT_TRUE(t.isOld(799, 5));
    t.compose(60, 47, random, 4); // 752 + 36 < 800: not yet
    EXPECT_TRUE(t.isOld(0, 0));
    EXPECT_TRUE(t.isNew(799, 0));
}

TEST(FrameComposer, BlocksStyleDrawsOneSquarePerChosenGridPoint) {
    Transition t(800, 600);
    // p = 10 on 800 x 600: pitch d = 12 + 1 = 13, 62 x 47 grid points; only the first is chosen.
    ScriptedRandom random({0}, 99);
    t.compose(127, 10, random);
    EXPECT_EQ(random.calls, 62 * 47);
    EXPECT_EQ(random.lastLimit, 100);
    // The square (-13, -13, 13, 13).
    EXPECT_TRUE(t.isNew(12, 12));
    EXPECT_TRUE(t.isOld(13, 0));
    EXPECT_TRUE(t.isOld(0, 13));

    // When no point is chosen nothing of the new picture is drawn.
    ScriptedRandom never({}, 99);
    t.compose(127, 10, never);
    EXPECT_EQ(t.frame, t.oldPicture);
}

TEST(FrameComposer, SeededRandomStylesRepeat) {
    Transition a(120, 90);
    Transition b(120, 90);
    for (int style : {65, 68, 100, 109, 123, 126, 127}) {
        SeededRandom ra(42), rb(42);
        a.compose(style, 37, ra);
        b.compose(style, 37, rb);
        EXPECT_EQ(a.frame, b.frame) << style;
        EXPECT_NE(a.frame, a.oldPicture) << style;
    }
}

TEST(FrameComposer, CrossFadeBlendsAtTheProgress) {
    const Bitmap24 before = test::Uniform(6, 4, 0xC8C8C8);
    const Bitmap24 after = test::Uniform(6, 4, 0x646464);
    Bitmap24 frame(6, 4);
    SeededRandom random(1);
    ComposeFrame(frame, {before, after, 30, 4, 118, {}}, random, {});
    EXPECT_EQ(frame, test::Uniform(6, 4, 0xAAAAAA));
}

TEST(FrameComposer, StylesAboveTheTableComposeOnlyTheOldPicture) {
    Transition t(30, 20);
    const FrameResult r = t.compose(200, 50);
    EXPECT_FALSE(r.composed);
    EXPECT_TRUE(t.invalidated.empty());
    EXPECT_EQ(t.frame, t.oldPicture);
}

TEST(FrameComposer, StyleZeroIsCustomOrAnInstantCut) {
    Transition t(30, 20);
    SeededRandom random(1);
    Bitmap24 frame(30, 20);
    int customCalls = 0;
    bool beforeSawOld = false;
    FrameHooks hooks;
    hooks.beforeNewFrame = [&] { beforeSawOld = frame == t.oldPicture; };
    hooks.customDraw = [&] {
        ++customCalls;
        frame.fill(0x00FF00);
    };
    FrameResult r = ComposeFrame(frame, {t.oldPicture, t.newPicture, 50, 10, 0, {}}, random, hooks);
    EXPECT_TRUE(beforeSawOld);
    EXPECT_EQ(customCalls, 1);
    EXPECT_FALSE(r.reachedEnd);
    EXPECT_EQ(frame, test::Uniform(30, 20, 0x00FF00));
    ComposeFrame(frame, {t.oldPicture, t.newPicture, 100, 10, 0, {}}, random, hooks);
    EXPECT_EQ(frame, t.newPicture);

    r = t.compose(0, 10);
    EXPECT_TRUE(r.reachedEnd);
    EXPECT_EQ(t.frame, t.newPicture);
}

TEST(FrameComposer, RotationStylesStartOutsideAndTurnIntoPlace) {
    Transition t(64, 48);
    for (int style = 119; style <= 122; ++style) {
        t.compose(style, 0);
        EXPECT_EQ(t.frame, t.oldPicture) << style;
        t.compose(style, 50);
        EXPECT_NE(t.frame, t.oldPicture) << style;
        EXPECT_NE(t.frame, t.newPicture) << style;
    }
    // An eighth turn about (-1, -1): (10, 0) takes source (round(11c - s) - 1, round(11s + c) - 1) = (6, 7).
    t.compose(119, 50);
    EXPECT_EQ(t.frame.pixel(10, 0), CoordinateColour(6, 7, true));
    EXPECT_TRUE(t.isOld(0, 0));
}

// A frame composed from the memory of the previous one, or by a pixel style
// in one pass, must equal a frame composed step by step from scratch, for every style and any order of
// progress values (forward, backward, jumps, both ends), and what it reports must cover every pixel that
// differs from the frame before: the screen is repainted only there.
TEST(FrameComposer, FramesFromMemoryEqualFramesFromScratchAndReportEveryChange) {
    const std::vector<int> progresses = {0, 3, 7, 20, 21, 50, 35, 36, 90, 100, 60, 0, 100, 99, 1};
    for (const auto& [w, h] : {std::pair{61, 37}, std::pair{23, 50}}) {
        const Bitmap24 oldPicture = CoordinatePicture(w, h, false);
        const Bitmap24 newPicture = CoordinatePicture(w, h, true);
        for (int style = 0; style < kStyleCount + 1; ++style) {
            SCOPED_TRACE(testing::Message() << "style " << style << " at " << w << " x " << h);
            Bitmap24 fromScratch(w, h);
            Bitmap24 fromMemory(w, h);
            fromMemory.fill(0x123456); // whatever the frame held before the first composition
            Bitmap24 inPlace(w, h);
            SeededRandom scratchRandom(7);
            SeededRandom inPlaceRandom(7);
            SeededRandom memoryRandom(7);
            FrameMemory memory;
            for (std::size_t i = 0; i < progresses.size(); ++i) {
                const int progress = progresses[i];
                SCOPED_TRACE(testing::Message() << "progress " << progress);
                const Bitmap24 before = fromMemory;
                std::vector<Rect> reported;
                FrameHooks hooks;
                hooks.invalidate = [&](const Rect& r) { reported.push_back(r); };
                ComposeFrame(fromScratch, {oldPicture, newPicture, progress, 3, style, {}}, scratchRandom,
                             {});
                // A hook that draws nothing makes the composer take every
                // step in turn, in place.
                FrameHooks stepByStep;
                stepByStep.beforeNewFrame = [] {};
                ComposeFrame(inPlace, {oldPicture, newPicture, progress, 3, style, {}}, inPlaceRandom,
                             stepByStep);
                ASSERT_EQ(fromScratch, inPlace);
                ComposeFrame(fromMemory, {oldPicture, newPicture, progress, 3, style, {}}, memoryRandom,
                             hooks, &memory);
                ASSERT_EQ(fromMemory, fromScratch);
                if (i == 0) continue; // the frame held something else before
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        if (fromMemory.pixel(x, y) == before.pixel(x, y)) continue;
                        const bool covered =
                            std::any_of(reported.begin(), reported.end(), [&](const Rect& r) {
                                return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom),
                                            std::max(r.left, r.right), std::max(r.top, r.bottom)}
                                    .contains(x, y);
                            });
                        ASSERT_TRUE(covered) << "pixel " << x << ", " << y << " changed unreported";
                    }
            }
        }
    }
}

// Frames of a full-screen size are composed by two threads, each taking bands
// of rows; they must equal the frames one thread composes, for every style.
TEST(FrameComposer, TwoThreadsComposeTheFramesOneThreadDoes) {
    constexpr int W = 1000, H = 600;
    const Bitmap24 oldPicture = CoordinatePicture(W, H, false);
    const Bitmap24 newPicture = CoordinatePicture(W, H, true);
    const auto compose = [&](int threads, int style) {
        std::vector<Bitmap24> frames;
        Bitmap24 frame(W, H);
        FrameMemory memory;
        SeededRandom random(3);
        for (int progress : {0, 20, 45, 46, 80, 30, 100}) {
            ComposeFrame(frame, {oldPicture, newPicture, progress, 1, style, PixelOptions{true, threads}},
                         random, {}, &memory);
            frames.push_back(frame);
        }
        return frames;
    };
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(testing::Message() << "style " << style);
        EXPECT_TRUE(compose(1, style) == compose(2, style));
    }
}

} // namespace
} // namespace scr
