#include "engine/gb2010/bar_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numbers>
#include <vector>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {
namespace {

DetailingLimits spacingOnly();

// 4Φ25 + 3Φ20 on each face of length b + 2Φ20 on each face of length h in 400 x 600, c = 20,
// ds = 8. Corner centres 20 + 8 + 12.5 = 40.5 from the faces: u = +-259.5, v = +-159.5. Web bars
// 38 from their face: faces along b at u = +-262 with v = -159.5 + 319 k / 4 = -79.75, 0, 79.75;
// faces along h at v = +-162 with u = -259.5 + 519 k / 3 = -86.5, 86.5.
// As = pi/4 (4 * 625 + 10 * 400) = pi/4 * 6500 = 5105.088 mm^2, rho = 5105.088 / 240000 = 2.127 %.
// One face along b: 2 * 490.874 + 3 * 314.159 = 1924.226 -> 0.8018 %; along h: 1610.066 -> 0.6709
// %. Spacing along b: centre 79.75, clear 79.75 - 22.5 = 57.25; along h: 173, clear 150.5.
TEST(BarLayout, PlacesEveryBarAgainstTheStirrup) {
    const BarLayout l = placeLayout({400.0, 600.0, 20.0, 8.0}, {25, 20, 3, 2});
    ASSERT_EQ(l.bars.size(), 14u);
    const PlacedBar expected[] = {
        {259.5, 159.5, 25, true},   {259.5, -159.5, 25, true},   {-259.5, 159.5, 25, true},
        {-259.5, -159.5, 25, true}, {262.0, -79.75, 20, false},  {262.0, 0.0, 20, false},
        {262.0, 79.75, 20, false},  {-262.0, -79.75, 20, false}, {-262.0, 0.0, 20, false},
        {-262.0, 79.75, 20, false}, {-86.5, 162.0, 20, false},   {86.5, 162.0, 20, false},
        {-86.5, -162.0, 20, false}, {86.5, -162.0, 20, false},
    };
    for (std::size_t i = 0; i < l.bars.size(); ++i) {
        EXPECT_NEAR(l.bars[i].u, expected[i].u, 1e-9) << i;
        EXPECT_NEAR(l.bars[i].v, expected[i].v, 1e-9) << i;
        EXPECT_EQ(l.bars[i].d, expected[i].d) << i;
        EXPECT_EQ(l.bars[i].corner, expected[i].corner) << i;
    }
    EXPECT_NEAR(l.steelArea, 5105.088, 1e-3);
    EXPECT_NEAR(l.ratio, 0.021271, 1e-6);
    EXPECT_NEAR(l.oneSideRatioB, 0.0080176, 1e-7);
    EXPECT_NEAR(l.oneSideRatioH, 0.0067086, 1e-7);
    EXPECT_NEAR(l.centreSpacingB, 79.75, 1e-9);
    EXPECT_NEAR(l.clearSpacingB, 57.25, 1e-9);
    EXPECT_NEAR(l.centreSpacingH, 173.0, 1e-9);
    EXPECT_NEAR(l.clearSpacingH, 150.5, 1e-9);
}

// Each rule on its own, on a 300 x 300 section (c = 20, ds = 8; the corner centres of 25 mm bars
// 219 apart): 2 web bars of 22 mm leave 73 - 23.5 = 49.5 clear, 1 of 25 mm leaves 84.5.
TEST(BarLayout, DetailingRulesOneAtATime) {
    DetailingLimits limits;
    limits.minimumTotalRatio = 0.0055;
    limits.minimumOneSideRatio = 0.002;
    limits.maximumTotalRatio = 0.05;
    limits.minimumClearSpacing = 50.0;
    limits.maximumCentreSpacingB = 300.0;
    limits.maximumCentreSpacingH = 300.0;
    limits.maximumBarDiameter = 28.0;
    const LayoutFrame frame{300.0, 300.0, 20.0, 8.0};
    struct Case {
        LayoutChoice choice;
        bool cover, clear, centre, minimum, maximum, oneSide;
    };
    const Case cases[] = {
        {{25, 25, 1, 1}, true, true, true, true, true, true},  // 8Φ25: 4.36 %, clear 84.5
        // 4Φ25 + 6Φ22 = 1963.5 + 2280.8 = 4244.3 mm^2 (4.72 %), clear 49.5 < 50
        {{25, 22, 2, 1}, true, false, true, true, true, true},
        // 16Φ25 = 7854 mm^2: 8.7 % > 5 %; 3 bars leave 54.75 - 25 = 29.75 clear
        {{25, 25, 3, 3}, true, false, true, true, false, true},
        {{32, 12, 0, 0}, false, true, true, true, true, true},  // 32 > c + ds = 28
        // 4Φ12 = 452.4 mm^2: 0.503 % < 0.55 %; one face 226.2 / 90000 = 0.251 % >= 0.2 %
        {{12, 12, 0, 0}, true, true, true, false, true, true},
    };
    for (const Case& c : cases) {
        const DetailingFindings f = checkDetailing(placeLayout(frame, c.choice), limits);
        const std::string name =
            std::to_string(c.choice.cornerDiameter) + "/" + std::to_string(c.choice.webBarsAlongB);
        EXPECT_EQ(f.coverAtLeastDiameter, c.cover) << name;
        EXPECT_EQ(f.clearSpacing, c.clear) << name;
        EXPECT_EQ(f.centreSpacing, c.centre) << name;
        EXPECT_EQ(f.minimumTotalRatio, c.minimum) << name;
        EXPECT_EQ(f.maximumTotalRatio, c.maximum) << name;
        EXPECT_EQ(f.minimumOneSideRatio, c.oneSide) << name;
    }
    // A face of 1000 mm with only corner bars: 1000 - 56 - 12 = 932 apart, above 300.
    limits.minimumTotalRatio = 0.0;
    limits.minimumOneSideRatio = 0.0;
    EXPECT_FALSE(checkDetailing(placeLayout({1000.0, 300.0, 20.0, 8.0}, {12, 12, 0, 0}), limits)
                     .centreSpacing);
}

// The spacing limit decides between two layouts. 500 x 500, C30, HRB400, c = 20, ds = 8:
// rho >= 0.55 % needs 1375 mm^2, i.e. sum d^2 >= 1375 / (pi/4) = 1750.7; one face >= 500 mm^2.
// Corner centres 444 - dc apart (about 430), so one web bar per face at least (300 mm limit).
// - 300 mm: 8 bars 4 dc^2 + 4 dw^2 >= 1750.7 -> dc^2 + dw^2 >= 437.7: 16/14 gives 452 (sum 1808,
//   1420.0 mm^2) and is the least; 12 bars need at least 4*16^2 + 6*12^2 = 1888.
// - 200 mm (seismic, sides above 400): 16 mm corners 428 apart, 214 > 200 with one web bar, so two
//   per face: 12 bars 4 dc^2 + 8 dw^2: 12/12 gives 1728 < 1750.7, 14/12 gives 1936 (1520.5 mm^2).
TEST(BarLayout, SpacingLimitDecidesBetweenTwoLayouts) {
    Gb2010Column column;
    column.b = 500.0;
    column.h = 500.0;
    DetailingLimits limits = detailingLimits(column, 20.0);
    const LayoutFrame frame{500.0, 500.0, 20.0, 8.0};
    const std::vector<BarLayout> wide = detailedLayouts(frame, limits);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.front().choice, (LayoutChoice{16, 14, 1, 1}));
    EXPECT_NEAR(wide.front().steelArea, 1420.0, 0.1);

    limits.maximumCentreSpacingB = 200.0;
    limits.maximumCentreSpacingH = 200.0;
    const std::vector<BarLayout> narrow = detailedLayouts(frame, limits);
    ASSERT_FALSE(narrow.empty());
    EXPECT_EQ(narrow.front().choice, (LayoutChoice{14, 12, 2, 2}));
    EXPECT_NEAR(narrow.front().steelArea, 1520.5, 0.1);
}

// The preferences narrow the family of the 500 x 500 section above (300 mm spacing: one web bar
// a face at least; sum d^2 >= 1750.7; the same bars on all four faces of a square):
// - defaults: 4C16 + 4C14 = 4 x 256 + 4 x 196 = 1808 (14 one size below 16);
// - step 0 (middle bars of the corner's size): 2 dc^2 >= 437.7 -> dc = 16, 2048;
// - smallest middle bar 16: 16 corners with 16 middles, 2048 (18/16 gives 2320);
// - only 20 and 25: 4C20 + 4C20 = 3200 (25 corners give at least 2500 + 4 x 400);
// - only 12 and 25, step 1: 12s alone need 576 + 4 n 144 >= 1750.7, n = 3 a face: 2304 (16
//   bars, 432 / 4 - 12 = 96 mm clear); 4C25 + 4C12 gives 3076.
TEST(BarLayout, PreferencesNarrowTheFamily) {
    Gb2010Column column;
    column.b = 500.0;
    column.h = 500.0;
    const DetailingLimits limits = detailingLimits(column, 20.0);
    const LayoutFrame frame{500.0, 500.0, 20.0, 8.0};
    const auto with = [](auto change) {
        BarPreferences p;
        change(p);
        return p;
    };
    struct Case {
        const char* name;
        BarPreferences preferences;
        LayoutChoice expected;
        int squaredSum;
    };
    const Case cases[] = {
        {"defaults", {}, {16, 14, 1, 1}, 1808},
        {"step 0", with([](BarPreferences& p) { p.maximumSizeStep = 0; }), {16, 16, 1, 1}, 2048},
        {"middle >= 16",
         with([](BarPreferences& p) { p.smallestMiddleBar = 16; }),
         {16, 16, 1, 1},
         2048},
        {"20 and 25",
         with([](BarPreferences& p) {
             p.diameters = {20, 25};
         }),
         {20, 20, 1, 1},
         3200},
        {"12 and 25, step 1",
         with([](BarPreferences& p) {
             p.diameters = {12, 25};
             p.maximumSizeStep = 1;
         }),
         {12, 12, 3, 3},
         2304},
    };
    for (const Case& c : cases) {
        const std::vector<LayoutChoice> choices = detailedChoices(frame, limits, c.preferences);
        ASSERT_FALSE(choices.empty()) << c.name;
        EXPECT_EQ(choices.front(), c.expected) << c.name;
        EXPECT_EQ(squaredDiameterSum(choices.front()), c.squaredSum) << c.name;
        for (const LayoutChoice& choice : choices) {
            // Every layout keeps to the preferences.
            const int corner = allowedIndex(c.preferences, choice.cornerDiameter);
            ASSERT_GE(corner, 0) << c.name;
            for (const auto& [bars, d] : {std::pair{choice.webBarsAlongB, choice.webDiameterB},
                                          std::pair{choice.webBarsAlongH, choice.webDiameterH}}) {
                if (bars == 0) continue;
                EXPECT_TRUE(middleBarAllowed(c.preferences, choice.cornerDiameter, d)) << c.name;
            }
            EXPECT_EQ(choice.webBarsAlongB, choice.webBarsAlongH) << c.name;  // square
        }
    }
}

// Middle bars that differ between the faces, 400 x 600, c = 20, ds = 8: 2C25 on each b face
// (corner centres 400 - 56 - 25 = 319 apart, 106.3 between centres, 81.3 clear) and 2C20 on each
// h face (519 apart, 173 between centres, 150.5 clear) meet the spacing rules; the family holds
// that layout only when the faces may differ.
TEST(BarLayout, FacesMayDifferOnlyWhenAllowed) {
    const LayoutFrame frame{400.0, 600.0, 20.0, 8.0};
    const LayoutChoice mixed(25, 25, 2, 20, 2);
    BarPreferences apart;
    BarPreferences alike;
    alike.middleBarsMayDiffer = false;
    const auto holds = [&](const BarPreferences& p) {
        const std::vector<LayoutChoice> c = detailedChoices(frame, spacingOnly(), p);
        return std::find(c.begin(), c.end(), mixed) != c.end();
    };
    EXPECT_TRUE(holds(apart));
    EXPECT_FALSE(holds(alike));
    EXPECT_EQ(mixed.diameterCount(), 2);
    EXPECT_TRUE(mixed.webDiametersDiffer());
    // 4 x 625 + 4 x 625 + 4 x 400 = 6600.
    EXPECT_EQ(squaredDiameterSum(mixed), 6600);
    // A face without web bars takes the corner diameter: one record per layout.
    EXPECT_EQ(LayoutChoice(25, 20, 0, 20, 2), LayoutChoice(25, 25, 0, 20, 2));
    EXPECT_EQ(LayoutChoice(25, 20, 0, 20, 2).diameterCount(), 2);
    EXPECT_EQ(LayoutChoice(25, 22, 1, 20, 2).diameterCount(), 3);
}

// Order of preference: least steel (sum of d^2), then fewest bars, then one diameter.
TEST(BarLayout, OrderOfPreference) {
    // 4Φ25 + 2Φ12 (2500 + 288 = 2788) before 4Φ20 + 4Φ20 (3200).
    EXPECT_TRUE(preferredLayout({25, 12, 1, 0}, {20, 20, 1, 1}));
    // 4Φ20 + 8Φ14 (1600 + 1568 = 3168) before 3200, though it has 12 bars against 8.
    EXPECT_TRUE(preferredLayout({20, 14, 2, 2}, {20, 20, 1, 1}));
    // Equal steel, fewer bars first: 4Φ20 (1600, 4 bars) before 4Φ16 + 4Φ12 (1024 + 576 = 1600).
    EXPECT_TRUE(preferredLayout({20, 20, 0, 0}, {16, 12, 1, 1}));
    EXPECT_FALSE(preferredLayout({16, 12, 1, 1}, {20, 20, 0, 0}));
    // Equal steel and count, one diameter first: 10Φ20 (4000) before 4Φ28 + 6Φ12 (3136 + 864).
    EXPECT_TRUE(preferredLayout({20, 20, 2, 1}, {28, 12, 2, 1}));
    EXPECT_FALSE(preferredLayout({28, 12, 2, 1}, {20, 20, 2, 1}));
    // The same steel, count and diameters on other faces tie.
    EXPECT_TRUE(equallyPreferred({20, 20, 1, 1}, {20, 20, 2, 0}));
    EXPECT_FALSE(equallyPreferred({20, 20, 2, 1}, {28, 12, 2, 1}));
}

// Limits that keep only the spacing and diameter rules, so that the count of web bars decides.
DetailingLimits spacingOnly() {
    DetailingLimits limits;
    limits.maximumTotalRatio = 1.0;
    limits.minimumClearSpacing = 50.0;
    limits.maximumCentreSpacingB = 300.0;
    limits.maximumCentreSpacingH = 300.0;
    limits.maximumBarDiameter = 40.0;
    return limits;
}

// The bound on web bars never removes a layout of a validated column: on a 5000 mm face with
// c = 15, ds = 6 and 12 mm bars the corner centres stand 5000 - 2 * 21 - 12 = 4946 apart, and
// n web bars leave 4946 / (n + 1) - 12 >= 50 clear up to n + 1 = 79.77, so n = 78 at most, below
// kMaxWebBarsPerFace.
TEST(BarLayout, WebBarBoundLiesBeyondTheLongestValidatedFace) {
    const std::vector<LayoutChoice> choices =
        detailedChoices({5000.0, 5000.0, 15.0, 6.0}, spacingOnly());
    int most = 0;
    for (const LayoutChoice& c : choices) most = std::max({most, c.webBarsAlongB, c.webBarsAlongH});
    EXPECT_EQ(most, 78);
    EXPECT_LT(most, kMaxWebBarsPerFace);
    // The fewest: 4946 / (n + 1) <= 300 from n = 16 (290.9; n = 15 gives 309.1).
    int fewest = kMaxWebBarsPerFace;
    for (const LayoutChoice& c : choices) {
        fewest = std::min({fewest, c.webBarsAlongB, c.webBarsAlongH});
    }
    EXPECT_EQ(fewest, 16);
}

// Whatever section the search is given it ends: a side of a kilometre (which would need 3,333
// web bars a face for the 300 mm spacing, and allowed 16,000 at the clear distance) or a side
// that is no number gives no layout at once.
TEST(BarLayout, SearchEndsForAnySection) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const LayoutFrame frames[] = {
        {1e6, 1e6, 20.0, 8.0}, {nan, 600.0, 20.0, 8.0},  {400.0, nan, 20.0, 8.0},
        {inf, inf, 20.0, 8.0}, {400.0, 600.0, nan, 8.0},
    };
    for (const LayoutFrame& frame : frames) {
        EXPECT_TRUE(detailedChoices(frame, spacingOnly()).empty()) << frame.b << " x " << frame.h;
    }
}

}  // namespace
}  // namespace tessarin
