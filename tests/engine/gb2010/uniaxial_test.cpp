#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"
#include "engine/gb2010/second_order.h"

namespace tessarin {
namespace {

LoadCombination load(double N, double M2x, double M2y) {
    LoadCombination c;
    c.N = N;
    c.M2x = M2x;
    c.M2y = M2y;
    return c;
}

// Which directions the end moments act in: exactly zero in one direction over every combination
// and nonzero somewhere in the other makes a uniaxial column; anything else stays biaxial.
TEST(MomentDirections, ExactZeroInOneDirectionOnly) {
    struct Case {
        const char* what;
        std::vector<LoadCombination> loads;
        MomentDirections expected;
    };
    const Case cases[] = {
        {"Mx only", {load(1000, 200, 0), load(800, -150, 0)}, MomentDirections::XOnly},
        {"My only", {load(1000, 0, 80)}, MomentDirections::YOnly},
        {"Mx only, one combination without any moment",
         {load(1000, 0, 0), load(900, 50, 0)},
         MomentDirections::XOnly},
        {"a tiny but nonzero My keeps it biaxial",
         {load(1000, 200, 0), load(900, 200, 1e-9)},
         MomentDirections::Biaxial},
        {"a negative zero is zero", {load(1000, 200, -0.0)}, MomentDirections::XOnly},
        {"both directions", {load(1000, 200, 0), load(900, 0, 30)}, MomentDirections::Biaxial},
        {"no moment at all: biaxial, the safe side", {load(1000, 0, 0)}, MomentDirections::Biaxial},
        {"no combination", {}, MomentDirections::Biaxial},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(momentDirections(c.loads), c.expected) << c.what;
    }
}

// phi of 6.2.15 by l0 over the side that buckles: 400 x 600, l0 = 8000. Biaxial and moments Mx
// (plane of h): l0/b = 8000/400 = 20, phi = 0.75 (table row). Moments My (plane of b): the
// direction across is that of h, l0/h = 8000/600 = 13.333, phi = 0.95 + (13.333 - 12)/2 x
// (0.92 - 0.95) = 0.93. A column wider than deep (b = 600, h = 400) with moments Mx: l0/b =
// 8000/600, 0.93; biaxial takes the smaller side, 0.75.
TEST(MomentDirections, StabilityFactorAcrossTheMomentPlane) {
    struct Case {
        const char* what;
        double b, h;
        MomentDirections directions;
        double depth, ratio, phi;
    };
    const Case cases[] = {
        {"biaxial", 400, 600, MomentDirections::Biaxial, 400, 20.0, 0.75},
        {"Mx only: across is b", 400, 600, MomentDirections::XOnly, 400, 20.0, 0.75},
        {"My only: across is h", 400, 600, MomentDirections::YOnly, 600, 8000.0 / 600.0, 0.93},
        {"wide section, Mx only", 600, 400, MomentDirections::XOnly, 600, 8000.0 / 600.0, 0.93},
        {"wide section, biaxial", 600, 400, MomentDirections::Biaxial, 400, 20.0, 0.75},
    };
    for (const Case& c : cases) {
        Gb2010Column column;
        column.b = c.b;
        column.h = c.h;
        column.l0 = 8000.0;
        const DetailingLimits l = detailingLimits(column, 20.0, c.directions);
        EXPECT_EQ(l.directions, c.directions) << c.what;
        EXPECT_EQ(l.slendernessDepth, c.depth) << c.what;
        EXPECT_NEAR(l.slendernessL0b, c.ratio, 1e-12) << c.what;
        EXPECT_NEAR(l.phi, c.phi, 1e-12) << c.what;
    }
}

// N = 2800 kN, M2y = 20 kN*m (M1/M2 = 1), M2x = 0 on 400 x 600 C30 (fc 14.3, A = 240000), lc =
// 8000, a = 40. y (D = b = 400): lc/i = 8000/115.47 = 69.3 > 22, second order: zetaC = 0.5 x
// 14.3 x 240000 / 2.8e6 = 0.612857, M2/N = 7.142857 mm, ea = max(20, 13.3) = 20, h0 = 360,
// etaNs = 1 + 20^2 x 0.612857 / (1300 x 27.142857 / 360) = 3.501053, M = 70.0211 kN*m,
// e0 = 25.0075, eiy = 45.0075 mm, My = 2800 x 0.0450075 = 126.021 kN*m.
// x (D = h = 600): biaxial ea = 20, eix = 0 + 20, Mx = 2800 x 0.020 = 56 kN*m; uniaxial no ea,
// eix = 0, Mx = 0.
TEST(MomentDirections, AccidentalEccentricityInTheMomentDirectionOnly) {
    const LoadCombination c = load(2800.0, 0.0, 20.0);
    struct Case {
        const char* what;
        MomentDirections directions;
        double eax, eix, Mx;
        bool xFree;
    };
    const Case cases[] = {
        {"biaxial", MomentDirections::Biaxial, 20.0, 20.0, 56.0, false},
        {"My only", MomentDirections::YOnly, 0.0, 0.0, 0.0, true},
    };
    for (const Case& k : cases) {
        const CombinationDemand d =
            combinationDemand(c, {8000.0, 600.0}, {8000.0, 400.0}, 40.0, 14.3, k.directions);
        EXPECT_EQ(d.x.momentFree, k.xFree) << k.what;
        EXPECT_FALSE(d.y.momentFree) << k.what;
        EXPECT_EQ(d.x.ea, k.eax) << k.what;
        EXPECT_NEAR(d.x.ei, k.eix, 1e-12) << k.what;
        EXPECT_NEAR(d.Mx, k.Mx, 1e-9) << k.what;
        EXPECT_EQ(d.y.ea, 20.0) << k.what;
        EXPECT_NEAR(d.y.etaNs, 3.501053, 1e-6) << k.what;
        EXPECT_NEAR(d.y.ei, 45.0075, 1e-4) << k.what;
        EXPECT_NEAR(d.My, 126.021, 1e-3) << k.what;
    }
}

// The column above designed. Uniaxial: ea acts along b only and 6.2.15 takes phi = 0.93 (l0/h);
// treated as biaxial (a My of 1e-9 kN*m in place of 0 makes it so) 56 kN*m more about x and
// phi = 0.75: 0.9 x 0.75 x (14.3 x 240000 + 360 As) >= 2.8e6 needs As >= 1989.1 mm^2, while
// 0.9 x 0.93 x 14.3 x 240000 = 2872.6 kN >= 2800 needs no steel for the axial check. So the
// uniaxial column is lighter, and each design's axial capacity is 0.9 phi (fc A + 360 As) of its
// own bars (fy' 360 <= 400; As below 3 % of A).
TEST(MomentDirections, UniaxialColumnDesignedLighterThanBiaxial) {
    Gb2010Column column;
    column.b = 400.0;
    column.h = 600.0;
    column.l0 = 8000.0;
    const std::vector<LoadCombination> uniaxialLoads = {load(2800.0, 0.0, 20.0)};
    const std::vector<LoadCombination> biaxialLoads = {load(2800.0, 1e-9, 20.0)};
    const Gb2010Design uni = designGb2010(column, uniaxialLoads);
    const Gb2010Design bi = designGb2010(column, biaxialLoads);
    ASSERT_TRUE(uni.designed);
    ASSERT_TRUE(bi.designed);
    EXPECT_EQ(uni.limits.directions, MomentDirections::YOnly);
    EXPECT_EQ(bi.limits.directions, MomentDirections::Biaxial);
    EXPECT_NEAR(uni.limits.phi, 0.93, 1e-12);
    EXPECT_NEAR(bi.limits.phi, 0.75, 1e-12);
    EXPECT_EQ(uni.combinations[0].demand.Mx, 0.0);
    EXPECT_NEAR(bi.combinations[0].demand.Mx, 56.0, 1e-6);
    EXPECT_GE(bi.layout->steelArea, 1989.1);
    EXPECT_LT(uni.layout->steelArea, bi.layout->steelArea);
    for (const Gb2010Design* d : {&uni, &bi}) {
        const double As = d->layout->steelArea;
        EXPECT_NEAR(d->combinations[0].axialCapacity,
                    0.9 * d->limits.phi * (14.3 * 240000.0 + 360.0 * As) / 1000.0, 1e-9);
    }
}

// A column with no moment at all stays biaxial: ea in both directions (eix = 20, eiy = 20 as
// max(20, 400/30 = 13.3) = 20), Mx = My = 1500 x 0.020 = 30 kN*m, and phi of the smaller side
// (l0 = 6000, l0/b = 15, phi = 0.92 + (15 - 14)/2 x (0.87 - 0.92) = 0.895).
TEST(MomentDirections, PureAxialColumnKeepsBothAccidentalEccentricities) {
    Gb2010Column column;
    const std::vector<LoadCombination> loads = {load(1500.0, 0.0, 0.0)};
    const Gb2010Design d = designGb2010(column, loads);
    ASSERT_TRUE(d.designed);
    EXPECT_EQ(d.limits.directions, MomentDirections::Biaxial);
    EXPECT_NEAR(d.limits.phi, 0.895, 1e-12);
    const CombinationDemand& demand = d.combinations[0].demand;
    EXPECT_FALSE(demand.x.momentFree);
    EXPECT_FALSE(demand.y.momentFree);
    EXPECT_NEAR(demand.Mx, 30.0, 1e-9);
    EXPECT_NEAR(demand.My, 30.0, 1e-9);
}

}  // namespace
}  // namespace tessarin
