#include "engine/gb2010/second_order.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

// The 400 x 600 column of C30 (fc 14.3, A = 240000 mm^2), bending about x (D = h = 600,
// i = 600 / sqrt(12) = 173.205 mm), corner bars 25 mm: a = 20 + 8 + 12.5 = 40.5 mm.
AxisLoad xLoad(double N, double M2, double m1m2, double lc) {
    return {N, M2, m1m2, lc, 600.0, 40.5, 14.3, 240000.0};
}

// Screening of 6.2.3 on both sides of each condition. Base: N = 1000 kN (N/(fcA) = 1e6 / 3432000
// = 0.291), M1/M2 = 0.5 (limit 34 - 6 = 28), lc = 3000 (lc/i = 17.32).
TEST(SecondOrderScreening, EachConditionOnBothSides) {
    struct Case {
        const char* what;
        double N;
        double m1m2;
        double lc;
        bool ignored;
    };
    const Case cases[] = {
        {"all three hold", 1000.0, 0.5, 3000.0, true},
        {"M1/M2 = 0.9 holds (limit 23.2 >= 17.32)", 1000.0, 0.9, 3000.0, true},
        {"M1/M2 = 0.91 fails (limit 23.08 still >= 17.32)", 1000.0, 0.91, 3000.0, false},
        {"N/(fcA) = 3054.48/3432 = 0.89 holds", 3054.48, 0.5, 3000.0, true},
        {"N/(fcA) = 3123.12/3432 = 0.91 fails", 3123.12, 0.5, 3000.0, false},
        {"lc/i = 4800/173.205 = 27.71 <= 28 holds", 1000.0, 0.5, 4800.0, true},
        {"lc/i = 4900/173.205 = 28.29 > 28 fails", 1000.0, 0.5, 4900.0, false},
        {"double curvature: M1/M2 = -1, limit 46, lc/i = 7900/173.2 = 45.61", 1000.0, -1.0, 7900.0,
         true},
        {"double curvature: lc/i = 8000/173.2 = 46.19 > 46", 1000.0, -1.0, 8000.0, false},
    };
    for (const Case& c : cases) {
        const AxisDemand d = axisDemand(xLoad(c.N, 100.0, c.m1m2, c.lc));
        EXPECT_EQ(d.secondOrderIgnored, c.ignored) << c.what;
        if (c.ignored) {
            EXPECT_EQ(d.M, 100.0) << c.what;  // M = M2
        }
    }
}

// Cm = 0.7 + 0.3 M1/M2, not below 0.7: -1 gives 0.4 -> 0.7, 0 gives 0.7, 1 gives 1.0. lc = 12000
// (lc/i = 69.3) so that the screening never lets the effect be ignored.
TEST(SecondOrder, CmAtTheEndsAndMiddleOfItsRange) {
    const std::pair<double, double> cases[] = {{-1.0, 0.7}, {0.0, 0.7}, {1.0, 1.0}, {0.5, 0.85}};
    for (const auto& [m1m2, Cm] : cases) {
        const AxisDemand d = axisDemand(xLoad(400.0, 244.0, m1m2, 12000.0));
        EXPECT_FALSE(d.secondOrderIgnored);
        EXPECT_NEAR(d.Cm, Cm, 1e-12) << "M1/M2 = " << m1m2;
    }
}

// The start-up column: N = 400 kN, M2x = 244 kN*m, M2y = 120 kN*m, M1/M2 = 1, lc = 6000 mm.
// x: h0 = 600 - 40.5 = 559.5, M2/N = 244e6 / 400e3 = 610 mm, ea = 20, zetaC = 0.5 * 14.3 * 240000
//    / 400000 = 4.29 -> 1.0; etaNs = 1 + (6000/600)^2 * 1.0 / (1300 * 630 / 559.5)
//    = 1 + 100 * 559.5 / 819000 = 1.0683150; M = 244 * 1.0683150 = 260.6689 kN*m;
//    e0 = 260.6689e6 / 400e3 = 651.672 mm, ei = 671.672 mm, Mx = 400 * 0.671672 = 268.669 kN*m.
// y: h0 = 400 - 40.5 = 359.5, M2/N = 300, etaNs = 1 + 225 * 359.5 / (1300 * 320) = 1.1944411;
//    M = 120 * 1.1944411 = 143.3329, ei = 358.3323 + 20 = 378.3323, My = 151.3329 kN*m.
TEST(SecondOrder, EtaNsOfAWorkedColumn) {
    const CombinationDemand d = combinationDemand({400.0, 244.0, 1.0, 120.0, 1.0}, {6000.0, 600.0},
                                                  {6000.0, 400.0}, 40.5, 14.3);
    EXPECT_FALSE(d.x.secondOrderIgnored);
    EXPECT_NEAR(d.x.h0, 559.5, 1e-12);
    EXPECT_EQ(d.x.zetaC, 1.0);
    EXPECT_NEAR(d.x.etaNs, 1.0683150, 1e-7);
    EXPECT_NEAR(d.x.M, 260.6689, 1e-4);
    EXPECT_NEAR(d.x.ei, 671.672, 1e-3);
    EXPECT_NEAR(d.Mx, 268.669, 1e-3);
    EXPECT_NEAR(d.y.etaNs, 1.1944411, 1e-7);
    EXPECT_NEAR(d.y.M, 143.3329, 1e-4);
    EXPECT_NEAR(d.y.ei, 378.3323, 1e-4);
    EXPECT_NEAR(d.My, 151.3329, 1e-4);
}

// Each axis takes its own span: lc 9000 with D = h = 600 for x, lc 3000 with D = b = 400 for y,
// and both axes the gross area b h = 240000 (zetaC = 0.5 * 14.3 * 240000 / 400000 > 1 -> 1).
// x: lc/i = 9000 / 173.205 = 51.9615, etaNs = 1 + (9000/600)^2 / (1300 * 630 / 559.5)
//    = 1 + 225 * 559.5 / 819000 = 1.1537088.
// y: lc/i = 3000 / 115.470 = 25.9808, etaNs = 1 + (3000/400)^2 / (1300 * 320 / 359.5)
//    = 1 + 56.25 * 359.5 / 416000 = 1.0486103.
// Swapping the spans (or the lengths between the axes) changes every figure.
TEST(SecondOrder, EachAxisTakesItsOwnSpan) {
    const CombinationDemand d = combinationDemand({400.0, 244.0, 1.0, 120.0, 1.0}, {9000.0, 600.0},
                                                  {3000.0, 400.0}, 40.5, 14.3);
    struct Case {
        const char* axis;
        const AxisDemand& demand;
        double lc, depth, h0, slenderness, etaNs;
    };
    const Case cases[] = {
        {"x", d.x, 9000.0, 600.0, 559.5, 51.9615242, 1.1537088},
        {"y", d.y, 3000.0, 400.0, 359.5, 25.9807621, 1.0486103},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.demand.lc, c.lc) << c.axis;
        EXPECT_EQ(c.demand.depth, c.depth) << c.axis;
        EXPECT_NEAR(c.demand.h0, c.h0, 1e-12) << c.axis;
        EXPECT_NEAR(c.demand.slenderness, c.slenderness, 1e-7) << c.axis;
        EXPECT_NEAR(c.demand.axialRatio, 400000.0 / (14.3 * 240000.0), 1e-15) << c.axis;
        EXPECT_EQ(c.demand.zetaC, 1.0) << c.axis;
        EXPECT_NEAR(c.demand.etaNs, c.etaNs, 1e-7) << c.axis;
    }
}

// zetaC below 1: N = 2500 kN gives 0.5 * 14.3 * 240000 / 2.5e6 = 0.6864. With M2 = 100 kN*m,
// M2/N = 40 mm: etaNs = 1 + 100 * 0.6864 * 559.5 / (1300 * 60) = 1 + 38404.08 / 78000 = 1.492360.
TEST(SecondOrder, ZetaCBelowOne) {
    const AxisDemand d = axisDemand(xLoad(2500.0, 100.0, 1.0, 6000.0));
    EXPECT_NEAR(d.zetaC, 0.6864, 1e-12);
    EXPECT_NEAR(d.etaNs, 1.492360, 1e-6);
}

// The lower bound: M1/M2 = 0 gives Cm = 0.7; with the x data of the worked column etaNs = 1.06832,
// so Cm etaNs = 0.7478 < 1 and is taken as 1.0: M = M2 = 244. lc = 6000: lc/i = 34.64 > 34.
TEST(SecondOrder, CmEtaNsNotBelowOne) {
    const AxisDemand d = axisDemand(xLoad(400.0, 244.0, 0.0, 6000.0));
    EXPECT_FALSE(d.secondOrderIgnored);
    EXPECT_NEAR(d.Cm * d.etaNs, 0.7478205, 1e-6);
    EXPECT_EQ(d.CmEtaNs, 1.0);
    EXPECT_EQ(d.M, 244.0);
    EXPECT_NEAR(d.e0, 610.0, 1e-9);  // 244e6 / 400e3
}

}  // namespace
}  // namespace tessarin
