#include <gtest/gtest.h>

#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

// The start-up design case, every value to the full double given by the worked example.
TEST(Eccentricity, StartUpCaseMatchesTheWorkedExample) {
    const ColumnCalculator c = step1(DesignCase{});
    EXPECT_EQ(c.e0x, 610.0);
    EXPECT_EQ(c.eax, 20.0);
    EXPECT_EQ(c.eix, 630.0);
    EXPECT_EQ(c.zetaX1, 1.0);
    EXPECT_EQ(c.zetaX2, 1.0);
    EXPECT_EQ(c.etaX, 1.0634920634920635);
    EXPECT_EQ(c.e0y, 300.0);
    EXPECT_EQ(c.eay, 20.0);
    EXPECT_EQ(c.eiy, 320.0);
    EXPECT_EQ(c.zetaY1, 1.0);
    EXPECT_EQ(c.zetaY2, 0.9999999999999999);  // not above 1, and 15 is not below 15
    EXPECT_EQ(c.etaY, 1.1808035714285714);
}

struct DepthCase {
    double depth;
    double ea;
};

class AdditionalEccentricity : public testing::TestWithParam<DepthCase> {};

// ea is depth times the double nearest 1/30 (not depth / 30) when that exceeds 20 mm.
TEST_P(AdditionalEccentricity, IsTheLargerOfTwentyAndDepthOverThirty) {
    ColumnCalculator c;
    loadCase(c, DesignCase{});
    c.h = GetParam().depth;
    c.b = GetParam().depth;
    c.computeEccentricity(Direction::X);
    c.computeEccentricity(Direction::Y);
    EXPECT_EQ(c.eax, GetParam().ea);
    EXPECT_EQ(c.eay, GetParam().ea);
    EXPECT_EQ(c.eix, 610.0 + GetParam().ea);
}

INSTANTIATE_TEST_SUITE_P(Depths, AdditionalEccentricity,
                         testing::Values(DepthCase{600.0, 20.0}, DepthCase{599.0, 20.0},
                                         DepthCase{601.0, 20.03333333333333},
                                         DepthCase{630.0, 21.0}, DepthCase{400.0, 20.0}));

struct SlendernessCase {
    double l0;
    double depth;  // b, y direction
    double zeta2;
};

class SlendernessFactor : public testing::TestWithParam<SlendernessCase> {};

TEST_P(SlendernessFactor, HasNoLowerLimit) {
    DesignCase d;
    d.l0 = GetParam().l0;
    d.b = GetParam().depth;
    ColumnCalculator c = step1(d);
    EXPECT_EQ(c.zetaY2, GetParam().zeta2);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SlendernessFactor,
                         testing::Values(SlendernessCase{4000.0, 400.0, 1.0},  // ratio 10 < 15
                                         SlendernessCase{12000.0, 400.0, 0.8499999999999999},
                                         SlendernessCase{46000.0, 400.0, 0.0}));

TEST(Magnification, ZeroSlendernessFactorGivesEtaOneExactly) {
    DesignCase d;
    d.l0 = 46000.0;
    const ColumnCalculator c = step1(d);
    EXPECT_EQ(c.etaY, 1.0);
}

TEST(Magnification, CurvatureFactorUsesKilonewtonsAsTyped) {
    // fc b h / 2 = 14.3 * 400 * 400 / 2 = 1144000: N above that keeps zeta1 below 1.
    DesignCase d;
    d.h = 400.0;
    d.N = 2288000.0;
    ColumnCalculator c;
    loadCase(c, d);
    c.computeEccentricity(Direction::X);
    c.computeMagnification(Direction::X);
    EXPECT_EQ(c.zetaX1, 0.5);
}

TEST(Magnification, UnknownDirectionChangesNothing) {
    ColumnCalculator c;
    loadCase(c, DesignCase{});
    const ColumnCalculator before = c;
    for (int direction : {0, 3, -1}) {
        c.computeEccentricity(static_cast<Direction>(direction));
        c.computeMagnification(static_cast<Direction>(direction));
    }
    EXPECT_EQ(c.e0x, before.e0x);
    EXPECT_EQ(c.eix, before.eix);
    EXPECT_EQ(c.eiy, before.eiy);
    EXPECT_EQ(c.etaX, before.etaX);
    EXPECT_EQ(c.etaY, before.etaY);
    EXPECT_EQ(c.zetaY1, before.zetaY1);
}

}  // namespace
