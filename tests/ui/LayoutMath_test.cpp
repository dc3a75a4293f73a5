#include "ui/LayoutMath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

using Slots = std::vector<IntRect>;

TEST(LayoutMath, VerticalLayoutRoundsEachEdgeOnItsOwn) {
    // unit = (400 - 24 - 24) / 35: heights of about 40.2, 271.5 and 40.2.
    LayoutGeometry geometry{1, 0, 24, 0, 24, 0};
    Slots slots;
    ASSERT_TRUE(ComputeLayoutSlots(geometry, {0, 0, 600, 400}, 3, {4, 27, 4}, 1.0, slots));
    EXPECT_EQ(slots, (Slots{{0, 24, 600, 64}, {0, 64, 600, 336}, {0, 336, 600, 376}}));
    const double unit = 352.0 / 35;
    EXPECT_NEAR(4 * unit, 40.2, 0.05);
    EXPECT_NEAR(27 * unit, 271.5, 0.05);
}

TEST(LayoutMath, HorizontalLayoutAppliesScaledMarginsAndSpacing) {
    // At scale 1.5: margins 15/3/7.5/1.5, spacing 15; unit = (300 - 22.5 - 15) / 3.
    LayoutGeometry geometry{2, 10, 2, 5, 1, 10};
    Slots slots;
    ASSERT_TRUE(ComputeLayoutSlots(geometry, {100, 50, 400, 90}, 2, {1, 2}, 1.5, slots));
    EXPECT_EQ(slots, (Slots{{115, 53, 203, 89}, {218, 53, 393, 89}}));
}

TEST(LayoutMath, LayoutMinimumSizeAndRefusals) {
    struct Case {
        const char* what;
        LayoutGeometry geometry;
        IntRect rect;
        size_t children;
        std::vector<uint32_t> weights;
        bool placed;
        size_t slotCount;
    };
    const Case cases[] = {
        // Three children, spacing 10: 3 + 2 * 10 = 23 pixels plus the margins.
        {"exactly the minimum width", {2, 2, 0, 3, 0, 10}, {0, 0, 28, 10}, 3, {1, 1, 1}, true, 3},
        {"one pixel narrower", {2, 2, 0, 3, 0, 10}, {0, 0, 27, 10}, 3, {1, 1, 1}, false, 0},
        {"across smaller than its margins", {1, 6, 0, 6, 0, 0}, {0, 0, 11, 100}, 1, {1}, false, 0},
        {"weights and children differ", {1}, {0, 0, 100, 100}, 2, {1}, false, 0},
        {"no children", {1}, {0, 0, 100, 100}, 0, {}, false, 0},
        {"zero total weight", {2}, {0, 0, 100, 100}, 2, {0, 0}, false, 0},
        {"other orientation places nothing", {3}, {0, 0, 100, 100}, 2, {1, 1}, true, 0},
    };
    for (const Case& c : cases) {
        Slots slots;
        EXPECT_EQ(ComputeLayoutSlots(c.geometry, c.rect, c.children, c.weights, 1.0, slots), c.placed) << c.what;
        EXPECT_EQ(slots.size(), c.slotCount) << c.what;
    }
}

TEST(LayoutMath, ZeroWeightChildGetsAnEmptySlot) {
    Slots slots;
    ASSERT_TRUE(ComputeLayoutSlots({2, 0, 0, 0, 0, 4}, {0, 0, 104, 10}, 3, {1, 0, 1}, 1.0, slots));
    EXPECT_EQ(slots, (Slots{{0, 0, 48, 10}, {52, 0, 52, 10}, {56, 0, 104, 10}}));
}

TEST(LayoutMath, OutsetAndAspect) {
    EXPECT_EQ(ApplyOutset({10, 10, 50, 30}, -4, -4, 1.0), (IntRect{14, 14, 46, 26}));
    EXPECT_EQ(ApplyOutset({10, 10, 50, 30}, -4, 0, 1.5), (IntRect{16, 10, 44, 30}));
    EXPECT_EQ(ApplyOutset({10, 10, 50, 30}, 3, 1, 1.5), (IntRect{6, 9, 54, 31}));
    EXPECT_EQ(FitAspect({0, 0, 40, 20}, 1.0), (IntRect{10, 0, 30, 20}));
    EXPECT_EQ(FitAspect({0, 0, 20, 41}, 1.0), (IntRect{0, 11, 20, 31}));
    EXPECT_EQ(FitAspect({0, 0, 300, 100}, 2.0), (IntRect{50, 0, 250, 100}));
    EXPECT_EQ(FitAspect({0, 0, 40, 20}, 1e-9), (IntRect{0, 0, 40, 20}));
}

TEST(LayoutMath, ImageFitScalesEntirelyInsideCentred) {
    struct Case {
        IntRect rect;
        uint32_t iw, ih;
        IntRect expected;
    };
    const Case cases[] = {
        {{0, 0, 600, 400}, 600, 400, {0, 0, 600, 400}},
        {{0, 0, 600, 400}, 100, 100, {100, 0, 500, 400}},  // wider slot: height decides
        {{0, 0, 200, 400}, 100, 50, {0, 150, 200, 250}},   // taller slot: width decides
        {{10, 20, 31, 41}, 40, 20, {10, 25, 31, 36}},      // each edge rounded on its own
        {{0, 0, 560, 280}, 1120, 560, {0, 0, 560, 280}},
    };
    for (const Case& c : cases) {
        IntRect out;
        ASSERT_TRUE(FitImage(c.rect, c.iw, c.ih, out));
        EXPECT_EQ(out, c.expected);
    }
    IntRect untouched{1, 2, 3, 4};
    EXPECT_FALSE(FitImage({0, 0, 10, 10}, 0, 5, untouched));
    EXPECT_EQ(untouched, (IntRect{1, 2, 3, 4}));
}

TEST(LayoutMath, IconSitsAgainstItsEdgeAndCaptionTakesTheRest) {
    IntRect icon;
    ASSERT_TRUE(PlacePicture({0, 0, 120, 20}, 20, 20, false, icon));
    EXPECT_EQ(icon, (IntRect{0, 0, 20, 20}));
    const TextBox left = CaptionBox({0, 0, 120, 20}, icon.Width(), false);
    EXPECT_DOUBLE_EQ(left.x, 23);
    EXPECT_DOUBLE_EQ(left.width, 97);

    ASSERT_TRUE(PlacePicture({100, 10, 220, 30}, 20, 20, true, icon));
    EXPECT_EQ(icon, (IntRect{200, 10, 220, 30}));
    const TextBox right = CaptionBox({100, 10, 220, 30}, icon.Width(), true);
    EXPECT_DOUBLE_EQ(right.x, 100);
    EXPECT_DOUBLE_EQ(right.width, 97);

    // A picture taller than the slot is scaled down with it.
    ASSERT_TRUE(PlacePicture({0, 0, 100, 10}, 16, 32, false, icon));
    EXPECT_EQ(icon, (IntRect{0, 0, 5, 10}));

    const TextBox narrow = CaptionBox({0, 0, 3, 20}, 2, false);
    EXPECT_DOUBLE_EQ(narrow.x, 2);
    EXPECT_DOUBLE_EQ(narrow.width, 1);
    const TextBox plain = CaptionBox({5, 6, 50, 26}, 0, false);
    EXPECT_DOUBLE_EQ(plain.x, 5);
    EXPECT_DOUBLE_EQ(plain.width, 45);
}

TEST(LayoutMath, ProgressBarWidth) {
    EXPECT_EQ(PlaceBar({10, 5, 310, 15}, 33), (IntRect{10, 5, 109, 15}));
    EXPECT_EQ(PlaceBar({10, 5, 310, 15}, 0), (IntRect{10, 5, 10, 15}));
    EXPECT_EQ(PlaceBar({10, 5, 310, 15}, 100), (IntRect{10, 5, 310, 15}));
    EXPECT_EQ(PlaceBar({0, 0, 7, 1}, 50), (IntRect{0, 0, 3, 1}));  // floor
    // A percentage past the end never draws outside the track.
    EXPECT_EQ(PlaceBar({10, 5, 310, 15}, 250), (IntRect{10, 5, 310, 15}));
}

TEST(LayoutMath, ScaleRule) {
    struct Case {
        const char* what;
        int64_t workW, workH;
        uint32_t dw, dh;
        double dpi;
        ScaledSize expected;
    };
    const Case cases[] = {
        {"96 dpi landscape", 1920, 1040, 600, 400, 1.0, {600, 400, 1.0}},
        {"144 dpi landscape", 1920, 1040, 600, 400, 1.5, {900, 600, 1.5}},
        {"below 96 dpi keeps the design size", 1920, 1040, 600, 400, 0.75, {600, 400, 1.0}},
        {"portrait follows the width", 1040, 1920, 600, 400, 1.25, {750, 500, 1.25}},
        {"portrait dialog at 144 dpi", 800, 1200, 400, 200, 1.5, {600, 300, 1.5}},
        {"square work area counts as portrait", 1000, 1000, 400, 200, 2.0, {800, 400, 2.0}},
    };
    for (const Case& c : cases) {
        const ScaledSize s = ComputeScaledSize(c.workW, c.workH, c.dw, c.dh, c.dpi);
        EXPECT_DOUBLE_EQ(s.width, c.expected.width) << c.what;
        EXPECT_DOUBLE_EQ(s.height, c.expected.height) << c.what;
        EXPECT_DOUBLE_EQ(s.scale, c.expected.scale) << c.what;
    }
}

TEST(LayoutMath, DpiFactorAndCentring) {
    EXPECT_DOUBLE_EQ(DpiFactorFromCaps(1920, 1920, 96), 1.0);
    EXPECT_DOUBLE_EQ(DpiFactorFromCaps(1920, 1920, 144), 1.5);
    EXPECT_DOUBLE_EQ(DpiFactorFromCaps(2880, 1920, 96), 1.5);  // the system scales the process
    EXPECT_DOUBLE_EQ(DpiFactorFromCaps(1920, 0, 120), 1.25);

    int32_t x = 0, y = 0;
    CenteredOrigin({0, 0, 1920, 1040}, 600, 400, x, y);
    EXPECT_EQ(x, 660);
    EXPECT_EQ(y, 320);
    CenteredOrigin({0, 0, 1023, 767}, 900.4, 600.5, x, y);
    EXPECT_EQ(x, 511 - 450);
    EXPECT_EQ(y, 383 - 300);
}

TEST(LayoutMath, RoundedArcs) {
    const auto arcs = RoundedArcs({0, 0, 100, 40}, 8);
    EXPECT_EQ(arcs[0].x, 0);
    EXPECT_EQ(arcs[0].width, 8);
    EXPECT_EQ(arcs[0].startAngle, 180);
    EXPECT_EQ(arcs[1].x, 91);  // 100 - 8 - 1
    EXPECT_EQ(arcs[2].y, 31);
    EXPECT_EQ(arcs[3].startAngle, 90);

    // Diameter 20: the three later arcs are 21 wide and start one pixel earlier.
    const auto wide = RoundedArcs({0, 0, 100, 40}, 20);
    EXPECT_EQ(wide[0].width, 20);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(wide[i].width, 21) << i;
    EXPECT_EQ(wide[1].x, 78);  // 99 - 20 - 1
    EXPECT_EQ(wide[2].y, 18);  // 39 - 20 - 1
    EXPECT_EQ(wide[1].x + wide[1].width, 99);

    // The diameter is clamped to the box: a radius of 100 on a 300 x 12 bar.
    const auto pill = RoundedArcs({0, 0, 300, 12}, 200);
    EXPECT_EQ(pill[0].width, 12);
    EXPECT_EQ(pill[1].x, 287);
}

TEST(LayoutMath, BorderThickensInwards) {
    const auto outlines = BorderOutlines({0, 0, 40, 30}, 3);
    ASSERT_EQ(outlines.size(), 5u);
    const FloatBox expected[] = {{0, 0, 40, 30}, {1, 0, 38, 30}, {1, 1, 38, 28}, {2, 1, 36, 28}, {2, 2, 36, 26}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(outlines[i].x, expected[i].x) << i;
        EXPECT_EQ(outlines[i].y, expected[i].y) << i;
        EXPECT_EQ(outlines[i].width, expected[i].width) << i;
        EXPECT_EQ(outlines[i].height, expected[i].height) << i;
    }
    EXPECT_TRUE(BorderOutlines({0, 0, 40, 30}, 0).empty());
    // A border wider than the box stops at its middle instead of allocating without end.
    EXPECT_LE(BorderOutlines({0, 0, 10, 10}, std::numeric_limits<int32_t>::max()).size(), 12u);
}

TEST(LayoutMath, EdgesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(RoundEdge(2.5), 3);
    EXPECT_EQ(RoundEdge(-2.5), -2);  // trunc(-2.0)
    EXPECT_EQ(RoundEdge(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundEdge(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundEdge(std::numeric_limits<double>::quiet_NaN()), 0);
    const IntRect huge{std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 1};
    Slots slots;
    EXPECT_TRUE(ComputeLayoutSlots({2}, huge, 2, {1, 1}, 1e300, slots));
    EXPECT_EQ(ApplyOutset(huge, 1000, 0, 1e12).right, std::numeric_limits<int32_t>::max());
}

}  // namespace
