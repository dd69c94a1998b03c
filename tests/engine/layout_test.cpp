#include <gtest/gtest.h>

#include <string>

#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

struct Layout {
    std::string asc;
    std::string aswx;
    std::string aswy;
    std::string asx;
    std::string asy;
};

struct LayoutCase {
    const char* name;
    int scheme;
    double diameter;
    double ratioX;
    double ratioY;
    Layout printed;  // as the report prints them ("%f")
};

class WorkedLayout : public testing::TestWithParam<LayoutCase> {};

// Step 2 of the start-up design case, compared as the report prints the areas.
TEST_P(WorkedLayout, DistributesTheEquivalentAreas) {
    const LayoutCase& l = GetParam();
    ColumnCalculator c = step1(DesignCase{});
    ASSERT_EQ(c.Asex, 1652.756706539872);
    ASSERT_EQ(c.Asey, 1462.0413210487427);
    c.computeStep2(l.scheme, l.diameter, l.ratioX, l.ratioY);
    EXPECT_EQ(c.scheme, l.scheme);
    if (!l.printed.asc.empty()) {
        EXPECT_EQ(sixDecimals(c.Asc), l.printed.asc);
    }
    EXPECT_EQ(sixDecimals(c.Aswx), l.printed.aswx);
    EXPECT_EQ(sixDecimals(c.Aswy), l.printed.aswy);
    EXPECT_EQ(sixDecimals(c.Asx), l.printed.asx);
    EXPECT_EQ(sixDecimals(c.Asy), l.printed.asy);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, WorkedLayout,
    testing::Values(
        LayoutCase{"Scheme1Diameter20",
                   1,
                   20.0,
                   0.0,
                   0.0,
                   {"314.159260", "793.793411", "458.824227", "1422.111931", "1087.142747"}},
        LayoutCase{"Scheme1Diameter22",
                   1,
                   22.0,
                   0.0,
                   0.0,
                   {"380.132705", "707.745633", "367.516613", "1468.011042", "1127.782023"}},
        LayoutCase{"Scheme1Diameter40",
                   1,
                   40.0,
                   0.0,
                   0.0,
                   {"1256.637040", "-435.460568", "-845.570248", "2077.813512", "1667.703832"}},
        LayoutCase{"Scheme2HalfRatios",
                   2,
                   22.0,
                   0.5,
                   0.5,
                   {"", "683.190724", "569.689497", "1366.381449", "1139.378995"}}),
    [](const testing::TestParamInfo<LayoutCase>& p) { return std::string(p.param.name); });

TEST(Layout, CornerBarUsesTheEightDigitFactor) {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(1, 20.0, 0.0, 0.0);
    EXPECT_EQ(c.Asc, 400.0 * 0.78539815);
    EXPECT_NE(c.Asc, 314.1592653589793);
}

TEST(Layout, SchemeTwoWithoutWebSteelKeepsTheEquivalentAreas) {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(2, 22.0, 0.0, 0.0);
    EXPECT_EQ(c.Asx, c.Asex);
    EXPECT_EQ(c.Asy, c.Asey);
    EXPECT_EQ(c.Aswx, 0.0);
    EXPECT_EQ(c.Aswy, 0.0);
}

TEST(Layout, SchemeTwoWithAllWebSteelMatchesSchemeOnesDenominator) {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(2, 22.0, 1.0, 1.0);
    EXPECT_EQ(c.Aswx, c.Asx);
    EXPECT_EQ(c.Aswy, c.Asy);
    // Both relations of the layout hold: Asex = Asx + 2 cX Aswy, Asey = Asy + 2 cY Aswx, with the
    // worked direction coefficients.
    const double cX = 0.25134328358208957;
    const double cY = 0.23614366729678637;
    EXPECT_NEAR(c.Asx + 2.0 * cX * c.Aswy, c.Asex, 1e-9);
    EXPECT_NEAR(c.Asy + 2.0 * cY * c.Aswx, c.Asey, 1e-9);
}

TEST(Layout, UnknownSchemeStoresOnlyTheCornerBar) {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(1, 22.0, 0.0, 0.0);
    const double asx = c.Asx, asy = c.Asy, aswx = c.Aswx, aswy = c.Aswy;
    c.computeStep2(3, 40.0, 0.5, 0.5);
    EXPECT_EQ(c.scheme, 3);
    EXPECT_EQ(sixDecimals(c.Asc), "1256.637040");
    EXPECT_EQ(c.Asx, asx);
    EXPECT_EQ(c.Asy, asy);
    EXPECT_EQ(c.Aswx, aswx);
    EXPECT_EQ(c.Aswy, aswy);
}

}  // namespace
