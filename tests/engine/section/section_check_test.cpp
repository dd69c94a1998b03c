#include "engine/section/section_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "engine/gb2010/gb2010_rules.h"
#include "engine/section/section_resistance.h"
#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kDeg = std::numbers::pi / 180.0;

// What a hand case loads into a design record: grades, section and bar distances.
struct Loaded {
    double b = 400.0;
    double h = 600.0;
    int concreteGrade = 30;
    int steelGrade = 3;
    double ax = 40.0;
    double ay = 40.0;
};

// A design record loaded as the calculate command loads it, scheme 1, no steel and no demand yet;
// each case then sets the areas and the demand it needs.
ColumnCalculator record(const Loaded& load) {
    ColumnCalculator c;
    c.setSteelGrade(load.steelGrade);
    c.setConcreteGrade(load.concreteGrade);
    c.setGeometry(6000.0, load.b, load.h);
    c.setBarDistances(load.ax, load.ay);
    c.scheme = 1;
    c.etaX = 1.0;
    c.etaY = 1.0;
    return c;
}

// The start-up design case after step 2 with 22 mm corner bars (scheme 1).
ColumnCalculator startUpCase() {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(1, 22.0, 0.0, 0.0);
    return c;
}

void expectRelative(double actual, double expected, double tolerance) {
    EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected)) << "expected " << expected;
}

// Test names and printed parameters come from each table row's name.
template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& row, std::ostream* out) {
    *out << row.name;
}

// ---------------------------------------------------------------------------------------------
// Material laws.

struct LawCase {
    const char* name;
    double grade;
    double n;
    double eps0;
    double epsCu;
};

class ConcreteLawByGrade : public ::testing::TestWithParam<LawCase> {};

TEST_P(ConcreteLawByGrade, DerivesExponentAndStrainsFromTheGrade) {
    const LawCase& k = GetParam();
    const ConcreteLaw law = ConcreteLaw::forGrade({k.grade, 10.0});
    EXPECT_NEAR(law.n, k.n, 1e-12);
    EXPECT_NEAR(law.eps0, k.eps0, 1e-15);
    EXPECT_NEAR(law.epsCu, k.epsCu, 1e-15);
    EXPECT_EQ(law.fc, 10.0);
}

// Up to C50 the caps hold: 2, 0.002, 0.0033. C60: n = 2 - 10/60, eps0 = 0.002 + 0.5 * 10e-5,
// epsCu = 0.0033 - 10e-5. C80: n = 2 - 30/60, eps0 = 0.002 + 0.5 * 30e-5, epsCu = 0.0033 - 30e-5.
INSTANTIATE_TEST_SUITE_P(Grades, ConcreteLawByGrade,
                         ::testing::Values(LawCase{"C15", 15.0, 2.0, 0.002, 0.0033},
                                           LawCase{"C30", 30.0, 2.0, 0.002, 0.0033},
                                           LawCase{"C50", 50.0, 2.0, 0.002, 0.0033},
                                           LawCase{"C60", 60.0, 1.8333333333333333, 0.00205,
                                                   0.0032},
                                           LawCase{"C80", 80.0, 1.5, 0.00215, 0.003}),
                         caseName<LawCase>);

// The formulas before their limits, which the books print beside the figure taken: C30 gives
// n = 2 - (30 - 50)/60 = 2.333 (> 2, so 2), eps0 = 0.002 + 0.5 (-20) 1e-5 = 0.0019 (< 0.002),
// epsCu = 0.0033 + 20e-5 = 0.0035 (> 0.0033); C70: 2 - 20/60 = 1.6667, 0.0021, 0.0031. The 2010
// materials take the same law for each grade C20 to C80 (one law for both editions).
TEST(ConcreteLawFormulas, GiveTheUnlimitedFiguresThatTheLawLimits) {
    struct Row {
        double grade;
        double n;
        double eps0;
        double epsCu;
    };
    const Row rows[] = {{30.0, 2.3333333333333333, 0.0019, 0.0035},
                        {50.0, 2.0, 0.002, 0.0033},
                        {70.0, 1.6666666666666667, 0.0021, 0.0031}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.grade);
        const ConcreteLaw::Formulas raw = ConcreteLaw::formulas(r.grade);
        EXPECT_NEAR(raw.n, r.n, 1e-12);
        EXPECT_NEAR(raw.eps0, r.eps0, 1e-15);
        EXPECT_NEAR(raw.epsCu, r.epsCu, 1e-15);
    }
    for (int grade = 20; grade <= 80; grade += 5) {
        SCOPED_TRACE(grade);
        const Materials2010 m = materials2010(grade, SteelGrade2010::HRB400);
        const ConcreteLaw law = ConcreteLaw::forGrade({static_cast<double>(grade), m.fc});
        EXPECT_EQ(m.n, law.n);
        EXPECT_EQ(m.eps0, law.eps0);
        EXPECT_EQ(m.epsCu, law.epsCu);
    }
}

struct StressCase {
    const char* name;
    double grade;
    double fc;
    double strain;
    double expected;
};

class ConcreteStress : public ::testing::TestWithParam<StressCase> {};

TEST_P(ConcreteStress, FollowsTheParabolaRectangle) {
    const StressCase& k = GetParam();
    EXPECT_NEAR(ConcreteLaw::forGrade({k.grade, k.fc}).stress(k.strain), k.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Points, ConcreteStress,
    ::testing::Values(
        StressCase{"Tension", 30.0, 14.3, -0.001, 0.0}, StressCase{"Zero", 30.0, 14.3, 0.0, 0.0},
        // 14.3 * (1 - (1 - 0.001/0.002)^2) = 14.3 * 0.75
        StressCase{"HalfEps0", 30.0, 14.3, 0.001, 10.725},
        StressCase{"AtEps0", 30.0, 14.3, 0.002, 14.3},
        StressCase{"Plateau", 30.0, 14.3, 0.0030, 14.3},
        // 35.9 * (1 - 0.5^1.5) = 35.9 * (1 - 0.35355339059) = 23.2074332777
        StressCase{"C80HalfEps0", 80.0, 35.9, 0.001075, 23.2074332777},
        // 35.9 * (1 - (1 - 0.0002/0.00215)^1.5) = 35.9 * (1 - 0.9069767442^1.5)
        //   = 35.9 * (1 - 0.9069767442 * 0.9523532662) = 35.9 * (1 - 0.8637622650) = 4.8909346882
        StressCase{"C80LowStrain", 80.0, 35.9, 0.0002, 4.8909346882}),
    caseName<StressCase>);

TEST(SteelLaw, IsElasticPerfectlyPlasticBothWays) {
    const SteelLaw hrb400{360.0, 200000.0};
    EXPECT_DOUBLE_EQ(hrb400.stress(0.001), 200.0);   // 200000 * 0.001
    EXPECT_DOUBLE_EQ(hrb400.stress(0.0018), 360.0);  // yield at 360 / 200000 = 0.0018
    EXPECT_DOUBLE_EQ(hrb400.stress(0.02), 360.0);    // no strain limit
    EXPECT_DOUBLE_EQ(hrb400.stress(-0.0005), -100.0);
    EXPECT_DOUBLE_EQ(hrb400.stress(-0.05), -360.0);
}

// ---------------------------------------------------------------------------------------------
// Resultants of one strain plane, by hand.
//
// C30 (n = 2, eps0 = 0.002, epsCu = 0.0033): over a compression depth c the parabola occupies
// the part next to the neutral axis of length (eps0/epsCu) c = 20/33 c, average 2/3 fc, centroid
// 5/8 of its length from the axis; the rest, 13/33 c, is at fc.
// C80 (n = 1.5, eps0 = 0.00215, epsCu = 0.003): parabola over 0.71667 c, average 1 - 1/2.5 = 0.6
// of fc, centroid (1/2 - 1/(2.5 * 3.5)) / 0.6 = 0.642857 of its length from the axis.

struct PlaneCase {
    const char* name;
    double b;
    double h;
    double grade;
    double fc;
    double barArea;  // four corner bars at (+-(h/2 - 40), +-(b/2 - 40)), HRB400
    double angleDegrees;
    double depth;
    double N;   // N
    double Mx;  // N*mm
    double My;  // N*mm
};

class PlaneResultants : public ::testing::TestWithParam<PlaneCase> {};

TEST_P(PlaneResultants, MatchHandCalculation) {
    const PlaneCase& k = GetParam();
    std::vector<SectionBar> bars;
    if (k.barArea > 0.0) {
        const double u = k.h / 2.0 - 40.0;
        const double v = k.b / 2.0 - 40.0;
        bars = {{u, v, k.barArea}, {u, -v, k.barArea}, {-u, v, k.barArea}, {-u, -v, k.barArea}};
    }
    const SectionResistance section({k.b, k.h}, ConcreteLaw::forGrade({k.grade, k.fc}),
                                    SteelLaw{360.0, 200000.0}, bars);
    const SectionForces f = section.forcesAt({k.angleDegrees * kDeg, k.depth});
    expectRelative(f.N, k.N, 1e-12);
    const double scale = std::fabs(k.Mx) + std::fabs(k.My);
    EXPECT_NEAR(f.Mx, k.Mx, 1e-12 * scale);
    EXPECT_NEAR(f.My, k.My, 1e-12 * scale);
}

INSTANTIATE_TEST_SUITE_P(
    Hand, PlaneResultants,
    ::testing::Values(
        // 400 x 600 plain, compressed edge u = +300, c = 300 (axis through the centroid):
        // rectangle 13/33 * 300 = 118.18 deep: 14.3 * 400 * 118.18 = 676000 N, arm 300 - 59.09
        // = 240.909; parabola 20/33 * 300 = 181.82 long: 2/3 * 5720 * 181.82 = 693333.33 N,
        // arm 5/8 * 181.82 = 113.636. N = 1369333.33, M = 676000 * 240.909 + 693333.33 *
        // 113.636 = 162854545.45 + 78787878.79 = 241642424.24.
        PlaneCase{"PlainAlongH", 400, 600, 30, 14.3, 0, 0, 300, 1369333.3333333333,
                  241642424.24242425, 0},
        // Same section compressed across b from v = +200, c = 200 (axis through the centroid):
        // rectangle 78.79 deep: 14.3 * 600 * 78.79 = 676000 N, arm 200 - 39.39 = 160.606;
        // parabola 121.21 long: 693333.33 N, arm 5/8 * 121.21 = 75.758.
        // My = 676000 * 160.606 + 693333.33 * 75.758 = 108569697.0 + 52525252.5 = 161094949.5.
        PlaneCase{"PlainAcrossB", 400, 600, 30, 14.3, 0, 90, 200, 1369333.3333333333, 0,
                  161094949.4949495},
        // Compression on the other edge: the moment changes sign, the force does not.
        PlaneCase{"PlainOppositeEdge", 400, 600, 30, 14.3, 0, 180, 300, 1369333.3333333333,
                  -241642424.24242425, 0},
        // C80, c = 300: rectangle 0.28333 * 300 = 85 deep: 35.9 * 400 * 85 = 1220600 N, arm
        // 300 - 42.5 = 257.5; parabola 215 long: 0.6 * 35.9 * 400 * 215 = 1852440 N, arm
        // 0.642857 * 215 = 138.214. N = 3073040, M = 314304500 + 256033671.43 = 570338171.43.
        PlaneCase{"PlainC80", 400, 600, 80, 35.9, 0, 0, 300, 3073040.0, 570338171.4285715, 0},
        // Four 400 mm2 corner bars, c = 240. Concrete: rectangle 94.55 deep, 540800 N, arm
        // 252.727; parabola 145.45 long, 554666.67 N, arm 300 - (240 - 90.909) = 150.909:
        // 1095466.67 N, 220379151.52 N*mm. Bars at u = +260: strain 0.0033 * 200/240 = 0.00275,
        // yielded, in concrete at fc: 2 * 400 * (360 - 14.3) = 276560 N at arm 260. Bars at
        // u = -260: strain 0.0033 * (1 - 560/240) < 0, -288000 N at arm -260.
        // N = 1095466.67 + 276560 - 288000 = 1084026.67;
        // M = 220379151.52 + 276560 * 260 + 288000 * 260 = 367164751.52.
        PlaneCase{"CornerBars", 400, 600, 30, 14.3, 400, 0, 240, 1084026.6666666667,
                  367164751.5151515, 0},
        // Uniform strain epsCu: N0 = 14.3 * (240000 - 1600) + 360 * 1600 = 3409120 + 576000
        // = 3985120, no moment, whatever the direction.
        PlaneCase{"Squash", 400, 600, 30, 14.3, 400, 37, kInf, 3985120.0, 0, 0}),
    caseName<PlaneCase>);

// An axis within a hair of an edge puts two corners a hair apart along the gradient; the thin
// piece between them once lost all precision (a tilt of 1e-9 rad gave Mx = -1.2e7 N*mm). The
// resultants must move smoothly, to first order in the tilt delta: N and the moment along the
// edge's normal change by a relative amount of order delta (the corner that leads moves by
// delta * b/2 or delta * h/2 against a compression depth of 770), and the tilt shifts the
// resultant sideways by no more than delta * h, so the other moment stays below delta * N * h.
TEST(PlaneResultantsNearAnEdge, TiltingTheAxisByAHairMovesTheResultantsByAHair) {
    for (const double grade : {30.0, 70.0}) {
        const SectionResistance section({400, 600}, ConcreteLaw::forGrade({grade, 20.0}),
                                        SteelLaw{360.0, 200000.0}, {});
        for (const double edge : {0.0, 0.5 * std::numbers::pi, 1.5 * std::numbers::pi}) {
            const SectionForces parallel = section.forcesAt({edge, 770.0});
            for (const double delta : {1e-4, 1e-6, 1e-8, 1e-10, 1e-12}) {
                SCOPED_TRACE(::testing::Message() << grade << " " << edge << " " << delta);
                const SectionForces tilted = section.forcesAt({edge - delta, 770.0});
                expectRelative(tilted.N, parallel.N, 10.0 * delta + 1e-12);
                const double along = edge == 0.0 ? tilted.Mx : tilted.My;
                const double across = edge == 0.0 ? tilted.My : tilted.Mx;
                const double parallelAlong = edge == 0.0 ? parallel.Mx : parallel.My;
                expectRelative(along, parallelAlong, 10.0 * delta + 1e-12);
                EXPECT_LE(std::fabs(across), delta * parallel.N * 600.0);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Refinement study: midpoint fibres converge on the exact strip integration as the grid is
// refined, at second order (each halving of the fibre size cuts the error about four times), and
// reach 0.1 % at 60 x 60 fibres for ordinary planes; a shallow zone in a corner, whose small
// resultant is the difference of concrete compression and bar tension, needs 120 x 120.

struct RefinementCase {
    const char* name;
    double grade;
    double fc;
    double angleDegrees;
    double depth;
    int cellsForTenthPercent;
};

class FibreRefinement : public ::testing::TestWithParam<RefinementCase> {};

TEST_P(FibreRefinement, FibresConvergeOnTheExactIntegral) {
    const RefinementCase& k = GetParam();
    const ConcreteLaw law = ConcreteLaw::forGrade({k.grade, k.fc});
    const SteelLaw steel{360.0, 200000.0};
    const std::vector<SectionBar> bars = {
        {260, 160, 380}, {260, -160, 380}, {-260, 160, 380}, {-260, -160, 380}};
    const SectionForces exact =
        SectionResistance({400, 600}, law, steel, bars).forcesAt({k.angleDegrees * kDeg, k.depth});
    const double momentScale = std::hypot(exact.Mx, exact.My);

    double previousError = kInf;
    for (const int cells : {15, 30, 60, 120}) {
        SCOPED_TRACE(cells);
        const SectionForces fibres = SectionResistance({400, 600}, law, steel, bars,
                                                       ConcreteIntegration{false, cells, cells})
                                         .forcesAt({k.angleDegrees * kDeg, k.depth});
        const double error = std::max({std::fabs(fibres.N - exact.N) / exact.N,
                                       std::fabs(fibres.Mx - exact.Mx) / momentScale,
                                       std::fabs(fibres.My - exact.My) / momentScale});
        EXPECT_LT(error, previousError / 3.0);
        if (cells >= k.cellsForTenthPercent) {
            EXPECT_LT(error, 1e-3);
        }
        previousError = error;
    }
}

INSTANTIATE_TEST_SUITE_P(Planes, FibreRefinement,
                         ::testing::Values(RefinementCase{"C30Skew30", 30, 14.3, 30, 250, 60},
                                           RefinementCase{"C30Skew58", 30, 14.3, 58.3, 263, 60},
                                           RefinementCase{"C70Skew20", 70, 31.8, 20, 420, 60},
                                           RefinementCase{"C70Corner", 70, 31.8, 47, 140, 120}),
                         caseName<RefinementCase>);

TEST(SectionCheckRefinement, UtilisationWithFibresAgreesWithExactWithinTenthOfAPercent) {
    const ColumnCalculator c = startUpCase();
    const double exact = SectionCheck(c.design()).run().utilisation;
    const double fibres =
        SectionCheck(c.design(), ConcreteIntegration{false, 40, 40}).run().utilisation;
    expectRelative(fibres, exact, 1e-3);
}

// ---------------------------------------------------------------------------------------------
// Squash load: pure compression is fc (b h - As) + fy As.

struct SquashCase {
    const char* name;
    double b;
    double h;
    int concreteGrade;
    int steelGrade;
    double corner;
    double webX;
    double webY;
    double expectedKn;
};

class SquashLoad : public ::testing::TestWithParam<SquashCase> {};

TEST_P(SquashLoad, IsConcreteNetOfBarsPlusYieldedSteel) {
    const SquashCase& k = GetParam();
    ColumnCalculator c =
        record({.b = k.b, .h = k.h, .concreteGrade = k.concreteGrade, .steelGrade = k.steelGrade});
    c.Asc = k.corner;
    c.Aswx = k.webX;
    c.Aswy = k.webY;
    c.N = 100.0;
    c.eix = 10.0;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    expectRelative(r.squashLoad, k.expectedKn, 1e-12);
    expectRelative(r.axialRatio, 100.0 / k.expectedKn, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Hand, SquashLoad,
    ::testing::Values(
        // 14.3 * 240000 = 3432000 N
        SquashCase{"PlainC30", 400, 600, 30, 3, 0, 0, 0, 3432.0},
        // As = 4 * 380 + 2 * 700 + 2 * 300 = 3520; 14.3 * (240000 - 3520) + 360 * 3520
        //    = 3381664 + 1267200 = 4648864 N
        SquashCase{"C30Hrb400", 400, 600, 30, 3, 380, 700, 300, 4648.864},
        // As = 4 * 500 + 2 * 600 + 2 * 300 = 3800; 35.9 * (250000 - 3800) + 300 * 3800
        //    = 8838580 + 1140000 = 9978580 N (epsCu 0.003 still yields: 200000 * 0.003 > 300)
        SquashCase{"C80Hrb335", 500, 500, 80, 2, 500, 600, 300, 9978.58},
        // As = 4 * 314.16 = 1256.64; 9.6 * (300 * 300 - 1256.64) + 210 * 1256.64
        //    = 9.6 * 88743.36 + 263894.4 = 851936.256 + 263894.4 = 1115830.656 N
        SquashCase{"C20Hpb235", 300, 300, 20, 1, 314.16, 0, 0, 1115.830656}),
    caseName<SquashCase>);

// ---------------------------------------------------------------------------------------------
// Capacity along a principal axis (My = 0 or Mx = 0), by hand.

struct UniaxialCase {
    const char* name;
    double corner;
    double axialKn;
    double eix;
    double eiy;
    double MxR;  // kN*m
    double MyR;
};

class UniaxialCapacity : public ::testing::TestWithParam<UniaxialCase> {};

TEST_P(UniaxialCapacity, MatchesTheHandStrainPlane) {
    const UniaxialCase& k = GetParam();
    ColumnCalculator c = record({});
    c.Asc = k.corner;
    c.N = k.axialKn;
    c.eix = k.eix;
    c.eiy = k.eiy;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    ASSERT_FALSE(r.axialCapacityExceeded);
    EXPECT_NEAR(r.MxR, k.MxR, 1e-6 * (k.MxR + k.MyR));
    EXPECT_NEAR(r.MyR, k.MyR, 1e-6 * (k.MxR + k.MyR));
    const double demand = k.axialKn * (k.eix + k.eiy) / 1000.0;
    expectRelative(r.utilisation, demand / (k.MxR + k.MyR), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Hand, UniaxialCapacity,
    ::testing::Values(
        // The CornerBars plane above carries N = 1084.0267 kN with M = 367.1648 kN*m; a demand
        // of 200 mm eccentricity is 216.8053 kN*m, utilisation 0.590485.
        UniaxialCase{"CornerBarsAlongH", 400, 1084.0266666666667, 200, 0, 367.1647515151515, 0},
        // The plain plane through the centroid carries 1369.3333 kN with 241.6424 kN*m.
        UniaxialCase{"PlainAlongH", 0, 1369.3333333333333, 150, 0, 241.64242424242425, 0},
        // And across b, 161.0949 kN*m.
        UniaxialCase{"PlainAcrossB", 0, 1369.3333333333333, 0, 150, 0, 161.0949494949495}),
    caseName<UniaxialCase>);

// ---------------------------------------------------------------------------------------------
// Symmetry: turning the section through 90 degrees (b <-> h, ax <-> ay, the two web groups and
// the two eccentricities swapped) swaps Mx and My and leaves the utilisation alone.

TEST(SectionCheckSymmetry, SwappingTheSidesSwapsTheMomentsOnly) {
    struct Variant {
        int scheme;
        double axialKn;
    };
    for (const Variant variant : {Variant{1, 1500.0}, Variant{1, 300.0}, Variant{2, 2500.0}}) {
        SCOPED_TRACE(variant.axialKn);
        ColumnCalculator a = record({.concreteGrade = 35, .ay = 50});
        a.scheme = variant.scheme;
        a.Asc = 380;
        a.Aswx = 700;
        a.Aswy = 300;
        a.Asx = 1700;
        a.Asy = 1200;
        a.N = variant.axialKn;
        a.etaX = 1.05;
        a.eix = 200;
        a.etaY = 1.1;
        a.eiy = 120;

        ColumnCalculator t = record({.b = 600, .h = 400, .concreteGrade = 35, .ax = 50});
        t.scheme = variant.scheme;
        t.Asc = 380;
        t.Aswx = 300;
        t.Aswy = 700;
        t.Asx = 1200;
        t.Asy = 1700;
        t.N = variant.axialKn;
        t.etaX = 1.1;
        t.eix = 120;
        t.etaY = 1.05;
        t.eiy = 200;

        const SectionCheckResult ra = SectionCheck(a.design()).run();
        const SectionCheckResult rt = SectionCheck(t.design()).run();
        expectRelative(rt.utilisation, ra.utilisation, 1e-9);
        expectRelative(rt.MxR, ra.MyR, 1e-9);
        expectRelative(rt.MyR, ra.MxR, 1e-9);
        expectRelative(rt.squashLoad, ra.squashLoad, 1e-12);
        EXPECT_NEAR(rt.demandDirection, 90.0 - ra.demandDirection, 1e-9);
    }
}

// ---------------------------------------------------------------------------------------------
// The start-up design case.

// An independent sum over 2 mm fibres (and the bars as points) of the strain plane the check
// reports, with the C30 / HRB400 laws written out again.
SectionForces bruteForce(const SectionCheckResult& r) {
    const double theta = r.neutralAxisAngle * kDeg;
    const double cs = std::cos(theta);
    const double sn = std::sin(theta);
    const double top = 300.0 * std::fabs(cs) + 200.0 * std::fabs(sn);
    auto strain = [&](double u, double v) {
        return 0.0033 * (1.0 - (top - (u * cs + v * sn)) / r.compressionDepth);
    };
    auto concrete = [](double e) {
        if (e <= 0.0) return 0.0;
        if (e >= 0.002) return 14.3;
        const double t = 1.0 - e / 0.002;
        return 14.3 * (1.0 - t * t);
    };
    SectionForces f;
    for (double u = -299.0; u < 300.0; u += 2.0) {
        for (double v = -199.0; v < 200.0; v += 2.0) {
            const double force = concrete(strain(u, v)) * 4.0;
            f.N += force;
            f.Mx += force * u;
            f.My += force * v;
        }
    }
    for (const CheckedBar& bar : r.bars) {
        const double e = strain(bar.u, bar.v);
        const double steel = std::max(-360.0, std::min(360.0, 200000.0 * e));
        const double force = bar.area * (steel - concrete(e));
        f.N += force;
        f.Mx += force * bar.u;
        f.My += force * bar.v;
    }
    return f;
}

TEST(SectionCheckStartUp, DemandSquashLoadAndRatiosMatchHand) {
    const SectionCheckResult r = SectionCheck(startUpCase().design()).run();
    // N = 400 kN; etaX eix = 1.0634920634920635 * 630 = 670 mm, Mx = 268 kN*m;
    // etaY eiy = 1.1808035714285714 * 320 = 377.857143 mm, My = 151.142857 kN*m.
    EXPECT_DOUBLE_EQ(r.N, 400.0);
    expectRelative(r.Mx, 268.0, 1e-12);
    expectRelative(r.My, 151.14285714285714, 1e-12);
    // As = 4 * 380.132705 + 2 * 707.745633 + 2 * 367.516613 = 3671.055312 mm2;
    // N0 = 14.3 * (240000 - 3671.055312) + 360 * 3671.055312 = 3379503.91 + 1321579.91
    //    = 4701083.82 N.
    expectRelative(r.totalSteelArea, 3671.055312, 1e-8);
    expectRelative(r.squashLoad, 4701.08382, 1e-8);
    expectRelative(r.axialRatio, 400.0 / 4701.08382, 1e-8);
    // Ratios on 240000 mm2: 3671.055 -> 1.5296 %; Asx 1468.011 -> 0.6117 %;
    // Asy 1127.782 -> 0.4699 %. None of the detailing flags.
    expectRelative(r.totalSteelRatio, 0.0152960638, 1e-8);
    expectRelative(r.oneSideRatioX, 0.0061167127, 1e-8);
    expectRelative(r.oneSideRatioY, 0.0046990918, 1e-8);
    EXPECT_DOUBLE_EQ(r.minimumTotalRatio, 0.005);
    EXPECT_FALSE(r.totalRatioBelowMinimum);
    EXPECT_FALSE(r.oneSideRatioBelowMinimum);
    EXPECT_FALSE(r.totalRatioAboveMaximum);
    EXPECT_FALSE(r.negativeAreaClamped);
    EXPECT_FALSE(r.axialCapacityExceeded);
}

TEST(SectionCheckStartUp, CapacityIsAnEquilibriumStateInTheDemandDirection) {
    const SectionCheckResult r = SectionCheck(startUpCase().design()).run();
    // Same direction as the demand: MyR / MxR = 151.142857 / 268.
    EXPECT_NEAR(std::atan2(r.MyR, r.MxR), std::atan2(151.14285714285714, 268.0), 1e-9);
    // The reported plane, summed independently, carries the design N and the reported moments.
    const SectionForces f = bruteForce(r);
    expectRelative(f.N, 400000.0, 1e-4);
    expectRelative(f.Mx / 1e6, r.MxR, 1e-4);
    expectRelative(f.My / 1e6, r.MyR, 1e-4);
    // The utilisation is |M| / |MR| of those moments.
    expectRelative(r.utilisation,
                   std::hypot(268.0, 151.14285714285714) / std::hypot(f.Mx, f.My) * 1e6, 1e-4);
    EXPECT_LT(r.utilisation, 1.0);
    EXPECT_GT(r.utilisation, 0.5);
}

// ---------------------------------------------------------------------------------------------
// The contour at the design N.

struct ContourCase {
    const char* name;
    double corner;
    double axialKn;
};

class ContourShape : public ::testing::TestWithParam<ContourCase> {};

TEST_P(ContourShape, PointsLieInTheirDirectionsWithDoubleSymmetry) {
    const ContourCase& k = GetParam();
    ColumnCalculator c = record({});
    c.Asc = k.corner;
    c.N = k.axialKn;
    c.eix = 100;
    c.eiy = 50;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    ASSERT_EQ(r.contour.size(), 72U);
    for (std::size_t i = 0; i < r.contour.size(); ++i) {
        SCOPED_TRACE(i);
        const ContourPoint& p = r.contour[i];
        EXPECT_DOUBLE_EQ(p.direction, 5.0 * static_cast<double>(i));
        const double radius = std::hypot(p.MxR, p.MyR);
        EXPECT_GT(radius, 0.0);
        EXPECT_NEAR(p.MxR, radius * std::cos(p.direction * kDeg), 1e-9 * radius);
        EXPECT_NEAR(p.MyR, radius * std::sin(p.direction * kDeg), 1e-9 * radius);
        // The layout is symmetric about both axes: directions -phi and 180 - phi mirror phi.
        const ContourPoint& mirrorX = r.contour[(72 - i) % 72];
        const ContourPoint& mirrorY = r.contour[(36 + 72 - i) % 72];
        EXPECT_NEAR(std::hypot(mirrorX.MxR, mirrorX.MyR), radius, 1e-7 * radius);
        EXPECT_NEAR(std::hypot(mirrorY.MxR, mirrorY.MyR), radius, 1e-7 * radius);
    }
}

// From a hair above no axial force to a hair below N0 (3432 kN plain, 3432 + 345.7 * 1.52 with
// four 380 mm2 corner bars), where the moments shrink to a few kN*m.
INSTANTIATE_TEST_SUITE_P(AxialForces, ContourShape,
                         ::testing::Values(ContourCase{"PlainLow", 0, 10},
                                           ContourCase{"PlainMiddle", 0, 1369.3333333333333},
                                           ContourCase{"PlainNearSquash", 0, 3420},
                                           ContourCase{"BarsLow", 380, 1},
                                           ContourCase{"BarsNearSquash", 380, 3900}),
                         caseName<ContourCase>);

TEST(SectionCheckContour, PlainSectionPassesThroughTheHandPoints) {
    ColumnCalculator c = record({});
    c.N = 1369.3333333333333;  // the planes through the centroid of the hand cases above
    c.eix = 100;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    ASSERT_EQ(r.contour.size(), 72U);
    // 0 degrees: 241.6424 kN*m; 90 degrees: 161.0949 kN*m (PlainAlongH, PlainAcrossB).
    EXPECT_NEAR(r.contour[0].MxR, 241.64242424242425, 1e-6);
    EXPECT_NEAR(r.contour[18].MyR, 161.0949494949495, 1e-6);
    EXPECT_NEAR(r.contour[36].MxR, -241.64242424242425, 1e-6);
    EXPECT_NEAR(r.contour[54].MyR, -161.0949494949495, 1e-6);
}

// ---------------------------------------------------------------------------------------------
// Axial capacity exceeded.

TEST(SectionCheckAxial, AboveTheSquashLoadTheUtilisationIsInfinite) {
    struct Load {
        double axialKn;
        bool exceeded;
    };
    // Plain 400 x 600 C30: N0 = 3432 kN.
    for (const Load load : {Load{3500.0, true}, Load{3432.5, true}, Load{3400.0, false}}) {
        SCOPED_TRACE(load.axialKn);
        ColumnCalculator c = record({});
        c.N = load.axialKn;
        c.eix = 20;
        c.eiy = 20;
        const SectionCheckResult r = SectionCheck(c.design()).run();
        EXPECT_EQ(r.axialCapacityExceeded, load.exceeded);
        expectRelative(r.axialRatio, load.axialKn / 3432.0, 1e-12);
        if (load.exceeded) {
            EXPECT_TRUE(std::isinf(r.utilisation));
            EXPECT_TRUE(r.contour.empty());
            EXPECT_EQ(r.MxR, 0.0);
            EXPECT_EQ(r.MyR, 0.0);
        } else {
            EXPECT_TRUE(std::isfinite(r.utilisation));
            EXPECT_EQ(r.contour.size(), 72U);
            // Close to N0 very little moment is left: 20 mm eccentricities use most of it.
            EXPECT_GT(r.utilisation, 0.1);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Layout from the design record.

struct LayoutCase {
    const char* name;
    int scheme;
    double asc, aswx, aswy, asx, asy;
    double corner, webX, webY;
    bool clamped;
};

class BarLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BarLayout, PlacesCornerAndWebBars) {
    const LayoutCase& k = GetParam();
    ColumnCalculator c = record({.ay = 50});
    c.scheme = k.scheme;
    c.Asc = k.asc;
    c.Aswx = k.aswx;
    c.Aswy = k.aswy;
    c.Asx = k.asx;
    c.Asy = k.asy;
    c.N = 500;
    c.eix = 100;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    EXPECT_NEAR(r.cornerBarArea, k.corner, 1e-6);
    EXPECT_NEAR(r.webAreaX, k.webX, 1e-6);
    EXPECT_NEAR(r.webAreaY, k.webY, 1e-6);
    EXPECT_EQ(r.negativeAreaClamped, k.clamped);
    EXPECT_NEAR(r.totalSteelArea, 4 * k.corner + 2 * k.webX + 2 * k.webY, 1e-6);

    // Corner bars at (+-260, +-150) (h/2 - ax = 300 - 40, b/2 - ay = 200 - 50); web bars of the
    // faces u = +-260 at v = -75, 0, 75; of the faces v = +-150 at u = -130, 0, 130.
    ASSERT_EQ(r.bars.size(), 16U);
    int corners = 0;
    double sumX = 0.0;
    double sumY = 0.0;
    for (const CheckedBar& bar : r.bars) {
        switch (bar.group) {
            case BarGroup::Corner:
                ++corners;
                EXPECT_DOUBLE_EQ(std::fabs(bar.u), 260.0);
                EXPECT_DOUBLE_EQ(std::fabs(bar.v), 150.0);
                EXPECT_NEAR(bar.area, k.corner, 1e-9);
                break;
            case BarGroup::WebX:
                EXPECT_DOUBLE_EQ(std::fabs(bar.u), 260.0);
                EXPECT_TRUE(bar.v == -75.0 || bar.v == 0.0 || bar.v == 75.0) << bar.v;
                sumX += bar.area;
                break;
            case BarGroup::WebY:
                EXPECT_DOUBLE_EQ(std::fabs(bar.v), 150.0);
                EXPECT_TRUE(bar.u == -130.0 || bar.u == 0.0 || bar.u == 130.0) << bar.u;
                sumY += bar.area;
                break;
        }
    }
    EXPECT_EQ(corners, 4);
    EXPECT_NEAR(sumX, 2 * k.webX, 1e-6);
    EXPECT_NEAR(sumY, 2 * k.webY, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, BarLayout,
    ::testing::Values(
        // Start-up layout with 22 mm corner bars, as designed.
        LayoutCase{"Scheme1", 1, 380.132705, 707.745633, 367.516613, 1468.011042, 1127.782023,
                   380.132705, 707.745633, 367.516613, false},
        // Scheme 2 with ratios 0.5: corner = min((1366.381449 - 683.190724) / 2,
        // (1139.378995 - 569.689497) / 2) = min(341.595363, 284.844749) = 284.844749;
        // webs 1366.381449 - 569.689498 = 796.691951 and 1139.378995 - 569.689498 = 569.689497.
        LayoutCase{"Scheme2", 2, 314.15926, 683.190724, 569.689497, 1366.381449, 1139.378995,
                   284.844749, 796.691951, 569.689497, false},
        // 40 mm corner bars: the webs come out negative (-435.46, -845.57) and count as 0.
        LayoutCase{"NegativeWebs", 1, 1256.63704, -435.460568, -845.570248, 2077.813512,
                   1667.703832, 1256.63704, 0, 0, true},
        // Scheme 2 with a negative face total: no corner steel, the other face keeps its total.
        LayoutCase{"Scheme2Negative", 2, 314.15926, -50, 300, -100, 600, 0, 0, 600, true}),
    caseName<LayoutCase>);

// ---------------------------------------------------------------------------------------------
// Detailing flags, on 400 x 600 = 240000 mm2.

struct RatioCase {
    const char* name;
    int concreteGrade;
    int steelGrade;
    double corner, webX, webY;
    double minimum;
    bool totalLow, oneSideLow, totalHigh;
};

class RatioFlags : public ::testing::TestWithParam<RatioCase> {};

TEST_P(RatioFlags, FollowTheDetailingLimits) {
    const RatioCase& k = GetParam();
    ColumnCalculator c = record({.concreteGrade = k.concreteGrade, .steelGrade = k.steelGrade});
    c.Asc = k.corner;
    c.Aswx = k.webX;
    c.Aswy = k.webY;
    c.N = 500;
    c.eix = 100;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    EXPECT_NEAR(r.minimumTotalRatio, k.minimum, 1e-15);
    EXPECT_EQ(r.totalRatioBelowMinimum, k.totalLow);
    EXPECT_EQ(r.oneSideRatioBelowMinimum, k.oneSideLow);
    EXPECT_EQ(r.totalRatioAboveMaximum, k.totalHigh);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RatioFlags,
    ::testing::Values(
        // 4 * 300 = 1200 mm2 = 0.5 % exactly: HRB400's minimum is met; one side 600 = 0.25 %.
        RatioCase{"Hrb400AtMinimum", 30, 3, 300, 0, 0, 0.005, false, false, false},
        // 4 * 290 = 1160 = 0.483 % < 0.5 %.
        RatioCase{"Hrb400BelowMinimum", 30, 3, 290, 0, 0, 0.005, true, false, false},
        // HRB335 needs 0.6 %.
        RatioCase{"Hrb335BelowMinimum", 30, 2, 300, 0, 0, 0.006, true, false, false},
        // From C60 up 0.1 % more: 0.6 % with HRB400, 0.7 % with HPB235.
        RatioCase{"C60Hrb400", 60, 3, 300, 0, 0, 0.006, true, false, false},
        RatioCase{"C60Hpb235", 60, 1, 420, 0, 0, 0.007, false, false, false},
        // Faces v = +-(b/2 - ay) carry only 2 * 100 = 200 mm2 = 0.083 % < 0.2 %; the faces
        // u = +-(h/2 - ax) carry 200 + 2000 = 0.917 %; total 400 + 4000 = 1.83 %.
        RatioCase{"OneSideLow", 30, 3, 100, 2000, 0, 0.005, false, true, false},
        // 4 * 3000 = 12000 = 5 % exactly is allowed; 4 * 3100 = 12400 = 5.17 % is not.
        RatioCase{"AtMaximum", 30, 3, 3000, 0, 0, 0.005, false, false, false},
        RatioCase{"AboveMaximum", 30, 3, 3100, 0, 0, 0.005, false, false, true}),
    caseName<RatioCase>);

}  // namespace
