#include "engine/section/demand_capacity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/section/section_check.h"
#include "engine/section/section_resistance.h"
#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// 400 x 600 C30 (fc 14.3, n 2, eps0 0.002, epsCu 0.0033), HRB400 (360, 2e5), four corner bars of
// the given area at (+-260, +-160).
SectionResistance cornerBarSection(double barArea, double tensileLimit) {
    std::vector<SectionBar> bars;
    if (barArea > 0.0) {
        bars = {
            {260, 160, barArea}, {260, -160, barArea}, {-260, 160, barArea}, {-260, -160, barArea}};
    }
    return SectionResistance({400, 600}, ConcreteLaw::forGrade({30, 14.3}),
                             SteelLaw{360.0, 200000.0, tensileLimit}, bars);
}

// ---------------------------------------------------------------------------------------------
// The ultimate plane with the bars' tensile strain limited to 0.01.

struct LimitedPlaneCase {
    const char* name;
    double depth;
    double N;           // N
    double Mx;          // N*mm
    double corner;      // strain at the most compressed corner
    double extremeBar;  // strain at the bars u = -260
};

class TensionLimitedPlane : public ::testing::TestWithParam<LimitedPlaneCase> {};

TEST_P(TensionLimitedPlane, MatchesTheHandStrains) {
    const LimitedPlaneCase& k = GetParam();
    const SectionResistance section = cornerBarSection(400.0, 0.01);
    const SectionForces f = section.forcesAt({0.0, k.depth});
    EXPECT_NEAR(f.N, k.N, 1e-9 * std::fabs(k.N));
    EXPECT_NEAR(f.Mx, k.Mx, 1e-9 * std::fabs(k.Mx));
    EXPECT_NEAR(f.My, 0.0, 1e-9 * std::fabs(k.Mx));
    const SectionResistance::PlaneStrains strains = section.strainsAt({0.0, k.depth});
    EXPECT_NEAR(strains.corner, k.corner, 1e-15);
    EXPECT_NEAR(strains.extremeBar, k.extremeBar, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Hand, TensionLimitedPlane,
    ::testing::Values(
        // c = 240: with the corner at 0.0033 the bars u = -260 (560 below the corner) stretch to
        // 0.0033 * 320 / 240 = 0.0044 < 0.01: the plane of the unlimited check (CornerBars there).
        LimitedPlaneCase{"LimitNotReached", 240, 1084026.6666666667, 367164751.5151515, 0.0033,
                         -0.0044},
        // c = 50: the corner at 0.0033 would stretch them to 0.0033 * 510 / 50 = 0.03366, so they
        // are at 0.01: curvature 0.01 / 510 = 1.96078e-5 /mm, corner 50 * that = 0.000980392
        // (0.490196 eps0). Concrete, the rising branch only: 400 * 14.3 * 50 * (0.490196 -
        // 0.490196^2 / 3) = 117288.2225 N; its moment about the neutral axis (u = 250)
        // 400 * 14.3 * (2 a c^3 / 3 - a^2 c^4 / 4), a = 1.96078e-5 / 0.002: 3814158.016 N*mm.
        // Bars u = 260, 10 above the axis: 1.96078e-4, 39.2157 less the concrete 2.66647:
        // 800 * 36.5492 = 29239.3695 N; bars u = -260: 800 * -360 = -288000 N.
        // N = 117288.2225 + 29239.3695 - 288000 = -141472.4080;
        // Mx = 117288.2225 * 250 + 3814158.016 + (29239.3695 + 288000) * 260 = 115618449.70.
        LimitedPlaneCase{"LimitGoverns", 50, -141472.4080481866, 115618449.69883378,
                         0.000980392156862745, -0.01},
        // c = -10, the neutral axis beyond the corner: curvature 0.01 / 570; bars u = 260 at
        // -50 / 570 * 0.01 = -0.000877193, -175.4386 N/mm^2: N = 800 * (-175.4386 - 360)
        // = -428350.877, Mx = 800 * 260 * (-175.4386 + 360) = 38388771.93.
        LimitedPlaneCase{"WholeSectionInTension", -10, -428350.8771929825, 38388771.92982457,
                         -0.00017543859649122806, -0.01},
        // Far beyond: every bar yielded, N = -360 * 1600 = -576000 N, the tension limit.
        LimitedPlaneCase{"UniformLimitStrain", -kInf, -576000.0, 0.0, -0.01, -0.01}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TensionLimit, BoundsTheTensionAndLeavesTheSquashLoad) {
    // Unlimited or 0.01 (beyond the yield strain 0.0018): -360 * 1600 = -576000 N. A limit of
    // 0.001 holds the bars at 200 N/mm^2: -320000 N. Squash load 14.3 * 238400 + 360 * 1600
    // = 3985120 N with any limit.
    for (const auto& [limit, tension] :
         {std::pair{0.0, -576000.0}, std::pair{0.01, -576000.0}, std::pair{0.001, -320000.0}}) {
        const SectionResistance section = cornerBarSection(400.0, limit);
        EXPECT_NEAR(section.tensionLimit(), tension, 1e-9) << limit;
        EXPECT_NEAR(section.squashLoad(), 3985120.0, 1e-6) << limit;
    }
    // No bar, no limit to apply.
    EXPECT_FALSE(cornerBarSection(0.0, 0.01).tensionLimited());
}

// ---------------------------------------------------------------------------------------------
// Uniaxial capacity at an eccentricity, by hand.
//
// Plain C30 over a compression depth c <= D: N = 79/99 fc B c (13/33 c at fc, 20/33 c at 2/3 fc),
// its centroid 2147/6534 / (79/99) c = 0.411776 c below the compressed edge, so e = D/2 -
// 0.411776 c.

struct EccentricityCase {
    const char* name;
    double barArea;
    BendingAxis axis;
    double eccentricity;
    double N;
};

class UniaxialAtEccentricity : public ::testing::TestWithParam<EccentricityCase> {};

TEST_P(UniaxialAtEccentricity, MatchesTheHandPlane) {
    const EccentricityCase& k = GetParam();
    const SectionResistance section = cornerBarSection(k.barArea, 0.0);
    EXPECT_NEAR(uniaxialCapacityAtEccentricity(section, k.axis, k.eccentricity), k.N, 1e-8 * k.N);
}

INSTANTIATE_TEST_SUITE_P(
    Hand, UniaxialAtEccentricity,
    ::testing::Values(
        // eu = 100 along h = 600: c = 200 / 0.411776 = 485.701, N = 0.79798 * 14.3 * 400 * c.
        EccentricityCase{"PlainAboutX", 0, BendingAxis::X, 100, 2216955.131190809},
        // The sign of the eccentricity only turns the section round.
        EccentricityCase{"PlainAboutXNegative", 0, BendingAxis::X, -100, 2216955.131190809},
        // ev = 50 along b = 400: c = 150 / 0.411776 = 364.276, N = 0.79798 * 14.3 * 600 * c.
        EccentricityCase{"PlainAboutY", 0, BendingAxis::Y, 50, 2494074.5225896602},
        // No eccentricity: the squash load 14.3 * 238400 + 360 * 1600 = 3985120 N.
        EccentricityCase{"Concentric", 400, BendingAxis::Y, 0, 3985120.0},
        // Four 400 mm2 corner bars, eu = 500, both bar rows yielded: N = 4564.444 c - 11440
        // (800 * (360 - 14.3) - 800 * 360), M = 4564.444 c (300 - 0.411776 c) + 146785600
        // (800 * 260 * (345.7 + 360)); M = 500 N gives 1879.55 c^2 + 912888.9 c - 152505600 = 0,
        // c = 131.4712 (bars at 0.0033 * 91.47 / 131.47 = 0.00230 and 0.01076, both past
        // 0.0018): N = 588652.853.
        EccentricityCase{"CornerBarsAboutX", 400, BendingAxis::X, 500, 588652.8531187259}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------------------------
// The start-up design case (scheme 1, 22 mm corner bars): N = 400 kN, Mx = 268, My = 151.142857
// kN*m; the check's capacity MxR = 287.33, MyR = 162.04 kN*m, utilisation 0.933.

TEST(CapacityInDemandDirection, EqualsTheSectionCheckOfTheStartUpCase) {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(1, 22.0, 0.0, 0.0);
    const SectionCheckResult check = SectionCheck(c.design()).run();
    std::vector<SectionBar> bars;
    for (const CheckedBar& bar : check.bars) bars.push_back({bar.u, bar.v, bar.area});
    const SectionResistance section({400, 600}, check.concrete, check.steel, bars);

    const DemandCapacity d =
        capacityInDemandDirection(section, 400000.0, 268.0e6, 151.14285714285714e6);
    EXPECT_FALSE(d.axialCapacityExceeded);
    EXPECT_NEAR(d.utilisation, 0.933, 0.0005);
    EXPECT_NEAR(d.MxR / 1e6, 287.33, 0.005);
    EXPECT_NEAR(d.MyR / 1e6, 162.04, 0.005);
    EXPECT_NEAR(d.utilisation, check.utilisation, 1e-9 * check.utilisation);
    EXPECT_NEAR(d.MxR / 1e6, check.MxR, 1e-9 * check.MxR);
    EXPECT_NEAR(d.MyR / 1e6, check.MyR, 1e-9 * check.MxR);
    // The plane found carries the axial force and the capacity.
    const SectionForces f = section.forcesAt(d.plane);
    EXPECT_NEAR(f.N, 400000.0, 1e-6 * 400000.0);
    EXPECT_NEAR(f.Mx, d.MxR, 1e-9 * d.MxR);
    EXPECT_NEAR(f.My, d.MyR, 1e-9 * d.MxR);
}

TEST(CapacityInDemandDirection, OutsideTheAxialRangeOrWithoutMoment) {
    const SectionResistance section = cornerBarSection(400.0, 0.01);
    // Beyond N0 = 3985120 N or the tension limit -576000 N: infinite utilisation.
    for (const double N : {3985120.0, 4.0e6, -576000.0, -6.0e5}) {
        const DemandCapacity d = capacityInDemandDirection(section, N, 1e6, 0.0);
        EXPECT_TRUE(d.axialCapacityExceeded) << N;
        EXPECT_TRUE(std::isinf(d.utilisation)) << N;
    }
    // No moment: utilisation 0, the capacity of pure Mx.
    const DemandCapacity none = capacityInDemandDirection(section, 1.0e6, 0.0, 0.0);
    EXPECT_FALSE(none.axialCapacityExceeded);
    EXPECT_EQ(none.utilisation, 0.0);
    EXPECT_GT(none.MxR, 0.0);
    EXPECT_NEAR(none.MyR, 0.0, 1e-9 * none.MxR);
    // In tension with the limit: the plane of the hand case c = -10 carries -428350.877 N with
    // Mx = 38388771.93 N*mm (above); at that N in the direction of +Mx the capacity is that plane.
    const DemandCapacity pulled = capacityInDemandDirection(section, -428350.8771929825, 1e6, 0.0);
    EXPECT_NEAR(pulled.MxR, 38388771.92982457, 1e-6 * 38388771.92982457);
    EXPECT_NEAR(pulled.plane.compressionDepth, -10.0, 1e-6);
    EXPECT_NEAR(pulled.plane.axisAngle, 0.0, 1e-9);
    EXPECT_NEAR(pulled.utilisation, 1e6 / 38388771.92982457, 1e-9);
}

}  // namespace
