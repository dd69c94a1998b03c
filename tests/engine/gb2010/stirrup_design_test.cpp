#include "engine/gb2010/stirrup_design.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessarin {
namespace {

using K = ShearCombinationKind;

LongitudinalBars bars(int corner, int middleB, int countB, int middleH, int countH) {
    return {corner, middleB, countB, middleH, countH};
}

// Non-seismic, biaxial shear. 400 x 600, C30 (fc 14.3, ft 1.43), c = 20, HRB400 stirrups
// (fyv 360); 4C22 corners, 2C20 on each face of length b (4 bars a face), 3C20 on each face of
// length h (5 bars a face); lambda_x = 3.5 (taken as 3), lambda_y = 2.5; Hn = 3000.
// Detailing (9.3.2): d >= max(6, 22/4 = 5.5) = 6; s <= min(400, 400, 15 * 20 = 300) = 300;
// As = 4 * 380.13 + 10 * 314.16 = 4662.1 mm^2, 1.94 % (not above 3 %). Short side 400 with 5 bars
// on the h faces (more than 4): compound stirrups (9.3.2-4), every other bar held: at least 3 legs
// each way (4 bars: 4/2 + 1 = 3; 5 bars: 3).
// The choice, C8@300 type 4×3: a = 20 + 8 + 11 = 39, h0x = 561, h0y = 361, Asv1 = 50.2655.
//   combination 1, N = 1500 > 0.3 * 14.3 * 240000 = 1029.6 kN, so 0.07 N = 72.072 kN;
//   Vux = 1.75/4 * 1.43 * 400 * 561 = 140.3903 + 360 * 4 * 50.2655/300 * 561 = 135.3549 + 72.072
//       = 347.8171 kN; Vuy = 0.5 * 1.43 * 600 * 361 = 154.8690 + 360 * 3 * 50.2655/300 * 361
//       = 65.3250 + 72.072 = 292.2660 kN;
//   sqrt((250/347.8171)^2 + (180/292.2660)^2) = 0.946537.
//   combination 2, N = 200: 0.07 N = 14; Vux = 289.7451, Vuy = 234.1940;
//   sqrt((220/289.7451)^2 + (150/234.1940)^2) = 0.993354 (governs).
//   Section (6.3.16): limits 0.25 * 14.3 * 400 * 561 = 802.230 and 0.25 * 14.3 * 600 * 361 =
//   774.345 kN; resultant sqrt(250^2 + 180^2) = 308.0584: 308.0584 / 774.345 = 0.397831.
// Lightest: one set 50.2655 * (4 * 552 + 3 * 352) = 164066.53 mm^3, over 3000 / 300 = 10 sets
// 1640665.3 mm^3. The nearest rivals (combination 2 at N = 200 decides): C8 3×3 at 250 carries
// 1.0012 (at 200: 2044800 mm^3), C8 3×4 at 300 1.0404, C8 4×4 at 300 1817600 mm^3; the lightest
// C6 is 4×5 at 200 (1690522 mm^3; 4×3 at 200 carries 1.0537). Every diameter, leg count and
// spacing was enumerated separately by the formulas above.
TEST(StirrupDesign, NonSeismicBiaxialShear) {
    StirrupColumn c;
    c.b = 400.0;
    c.h = 600.0;
    c.cover = 20.0;
    c.concreteGrade = 30;
    c.bars = bars(22, 20, 2, 20, 3);
    c.hn = 3000.0;
    c.lambdaX = 3.5;
    c.lambdaY = 2.5;
    const StirrupDesign d = designStirrups(
        c, {{1500.0, 250.0, 180.0, K::Unspecified}, {200.0, 220.0, 150.0, K::Unspecified}});
    ASSERT_TRUE(d.designed);
    EXPECT_EQ(d.limits.minimumDiameter, 6);
    EXPECT_DOUBLE_EQ(d.limits.maximumSpacing, 300.0);
    EXPECT_TRUE(d.limits.compoundRequired);
    EXPECT_FALSE(d.limits.highRatio);
    EXPECT_EQ(d.limits.minimumLegsX, 3);
    EXPECT_EQ(d.limits.minimumLegsY, 3);
    EXPECT_EQ(d.choice.diameter, 8);
    EXPECT_EQ(d.choice.legsX, 4);
    EXPECT_EQ(d.choice.legsY, 3);
    EXPECT_DOUBLE_EQ(d.choice.spacing, 300.0);
    EXPECT_DOUBLE_EQ(d.choice.denseSpacing, 300.0);
    EXPECT_DOUBLE_EQ(d.choice.denseLength, 0.0);
    EXPECT_NEAR(d.choice.steelVolume, 1640665.35, 0.01);
    EXPECT_EQ(stirrupNotation(c.stirrupSteel, d.choice), "C8@300");
    EXPECT_EQ(stirrupType(d.choice), "4×3");
    EXPECT_EQ(d.choice.heldBarsB, (std::vector<int>{0, 1, 2, 3}));  // every bar of the b faces
    EXPECT_EQ(d.choice.heldBarsH, (std::vector<int>{0, 2, 4}));     // every other of the h faces
    ASSERT_EQ(d.combinations.size(), 2u);
    const ShearCheck& s1 = d.combinations[0].check;
    EXPECT_FALSE(s1.seismic);
    EXPECT_NEAR(s1.Nused, 1029.6, 1e-9);
    EXPECT_NEAR(s1.x.lambda, 3.0, 1e-12);
    EXPECT_NEAR(s1.x.h0, 561.0, 1e-12);
    EXPECT_NEAR(s1.y.h0, 361.0, 1e-12);
    EXPECT_NEAR(s1.x.concreteTerm, 140.3903, 1e-4);
    EXPECT_NEAR(s1.y.concreteTerm, 154.8690, 1e-4);
    EXPECT_NEAR(s1.x.axialTerm, 72.072, 1e-9);
    EXPECT_NEAR(s1.x.stirrupTerm, 135.3549, 1e-4);
    EXPECT_NEAR(s1.y.stirrupTerm, 65.3250, 1e-4);
    EXPECT_NEAR(s1.x.capacity, 347.8171, 1e-4);
    EXPECT_NEAR(s1.y.capacity, 292.2660, 1e-4);
    EXPECT_NEAR(s1.utilisation, 0.946537, 1e-6);
    EXPECT_NEAR(s1.x.sectionLimit, 802.230, 1e-3);
    EXPECT_NEAR(s1.y.sectionLimit, 774.345, 1e-3);
    EXPECT_NEAR(s1.sectionUtilisation, 0.397831, 1e-6);
    EXPECT_FALSE(s1.concreteCarries);
    EXPECT_NEAR(d.combinations[1].check.utilisation, 0.993354, 1e-6);
    EXPECT_EQ(d.governing, 1);
    EXPECT_FALSE(d.exceedsAssumedDiameter);  // 8 as assumed
}

// Grade 二, frame, middle column where the volumetric ratio governs. 500 x 500, C30, c = 20,
// 4C25 + 3C22 on each face (5 bars a face), Hn = 3600, lambda 3.9 both ways, one seismic
// combination N = 2800, Vx = Vy = 80 kN.
// mu_N = 2800e3 / (14.3 * 250000) = 0.783217; table 6.3.9 grade 二 between 0.7 (0.15) and 0.8
// (0.17): lambda_v = 0.15 + 0.02 * 0.83217 = 0.166643; fc raised to C35's 16.7;
// rho_v >= 0.166643 * 16.7 / 360 = 0.77304 % (above the grade's 0.6 %).
// Shear: h0 = 500 - (20 + 8 + 12.5) = 459.5; N capped at 0.3 * 14.3 * 250000 = 1072.5 kN;
// concrete alone [1.05/4.9 ... lambda 3 -> 1.05/4 * 1.43 * 500 * 459.5 = 86.2424 + 0.056 * 1072.5
// = 60.06] / 0.85 = 172.1205 kN >= sqrt(2) * 80 = 113.137: detailing alone (11.4.7).
// Dense zone: 2 * max(500, 3600/6 = 600, 500) = 1200 (Hn/h = 7.2 > 4); spacing <= min(8 * 22,
// 100) = 100, C8 at least; legs every other bar: 3 each way, 2 * 104.75 = 209.5 <= 250 apart.
// One leg 500 - 40 - 8 = 452 long, Acor = 444^2 = 197136:
//   3×3 at 100: 50.2655 * 6 * 452 / (197136 * 100) = 0.6915 % < 0.77304 %: too little;
//   3×4 at 100: 50.2655 * 7 * 452 / (197136 * 100) = 0.80675 %: enough;
// outside: at most 10 * 22 = 220 and twice the dense spacing (half its ratio): 200.
// Steel 159040.0 * (1200/100 + 2400/200) = 3816959.7 mm^3, lighter than 3×3 at 80 / 150
// (136320 * (15 + 16) = 4225920) or 4×4 at 100 / 200 (181760 * 24 = 4362240).
TEST(StirrupDesign, GradeTwoVolumetricRatioGoverns) {
    StirrupColumn c;
    c.b = 500.0;
    c.h = 500.0;
    c.concreteGrade = 30;
    c.bars = bars(25, 22, 3, 22, 3);
    c.seismic = SeismicGrade::Two;
    c.hn = 3600.0;
    c.lambdaX = 3.9;
    c.lambdaY = 3.9;
    const StirrupDesign d = designStirrups(c, {{2800.0, 80.0, 80.0, K::Seismic}});
    ASSERT_TRUE(d.designed);
    const StirrupLimits& l = d.limits;
    EXPECT_NEAR(l.axialRatio, 0.7832168, 1e-7);
    EXPECT_NEAR(l.lambdaV, 0.1666434, 1e-7);
    EXPECT_DOUBLE_EQ(l.fcForRatio, 16.7);
    EXPECT_NEAR(l.requiredVolumetricRatio, 0.0077304, 1e-7);
    EXPECT_DOUBLE_EQ(l.minimumVolumetricRatio, 0.006);
    EXPECT_DOUBLE_EQ(l.maximumDenseSpacing, 100.0);
    EXPECT_DOUBLE_EQ(l.denseLength, 1200.0);
    EXPECT_FALSE(l.denseWholeHeight);
    EXPECT_EQ(d.choice.diameter, 8);
    EXPECT_EQ(d.choice.legsX, 3);
    EXPECT_EQ(d.choice.legsY, 4);
    EXPECT_DOUBLE_EQ(d.choice.denseSpacing, 100.0);
    EXPECT_DOUBLE_EQ(d.choice.spacing, 200.0);
    EXPECT_NEAR(d.choice.legSpacingX, 209.5, 1e-9);
    EXPECT_NEAR(d.choice.volumetricRatio, 0.0080675, 1e-7);
    EXPECT_NEAR(d.choice.volumetricRatioOutside, 0.0040338, 1e-7);
    EXPECT_NEAR(d.choice.steelVolume, 3816959.7, 0.1);
    EXPECT_EQ(stirrupNotation(c.stirrupSteel, d.choice), "C8@100/200");
    EXPECT_EQ(stirrupType(d.choice), "3×4");
    const ShearCheck& s = d.combinations[0].check;
    EXPECT_TRUE(s.seismic);
    EXPECT_DOUBLE_EQ(s.gammaRE, 0.85);
    EXPECT_NEAR(s.x.concreteOnly, 172.1205, 1e-4);
    EXPECT_TRUE(s.concreteCarries);
}

// A short column whose dense zone runs the whole height: grade 三, frame, 400 x 400, C30, c = 20,
// 4C20 + 1C18 on each face (3 bars a face), Hn = 1500: Hn / h = 3.75 <= 4 (6.3.9-1); lambda
// 1500 / (2 * 360) = 2.08 (> 2, so the ordinary section factor 0.20). N = 1200, Vx = Vy = 150.
// mu_N = 1200e3 / (14.3 * 160000) = 0.524476: lambda_v = 0.09 + 0.02 * 0.24476 = 0.094895;
// rho_v >= 0.094895 * 16.7 / 360 = 0.44021 % (> 0.4 %).
// Grade 三 with a 400 section: C6 allowed (table 6.3.7-2 note); spacing <= min(8 * 18, 150) = 144
// -> 100 of the listed spacings. C6: a = 20 + 6 + 10 = 36, bars 164 apart; 2 legs would stand
// 328 apart > 250: 3 legs each way. Set 28.2743 * 6 * 354 = 60054.7 mm^3, Acor = 348^2:
// rho_v at 100 = 0.49589 % >= 0.44021 %.
// Shear: h0 = 364, N capped at 686.4 kN; Vu = [1.05/3.08 * 1.43 * 400 * 364 = 70.98 + 360 * 3 *
// 28.2743 / 100 * 364 = 111.1521 + 0.056 * 686.4 = 38.4384] / 0.85 = 259.4947 kN each way:
// sqrt(2) * 150 / 259.4947 = 0.817481; section 0.20 * 14.3 * 400 * 364 / 0.85 = 489.901 kN.
// Steel over the whole height: 60054.7 * 1500 / 100 = 900820.3 mm^3.
TEST(StirrupDesign, ShortColumnDenseOverTheWholeHeight) {
    StirrupColumn c;
    c.b = 400.0;
    c.h = 400.0;
    c.concreteGrade = 30;
    c.bars = bars(20, 18, 1, 18, 1);
    c.seismic = SeismicGrade::Three;
    c.hn = 1500.0;
    c.lambdaX = 2.08;
    c.lambdaY = 2.08;
    const StirrupDesign d = designStirrups(c, {{1200.0, 150.0, 150.0, K::Seismic}});
    ASSERT_TRUE(d.designed);
    EXPECT_TRUE(d.limits.denseWholeHeight);
    EXPECT_EQ(d.limits.denseReason, DenseZoneReason::ShortColumn);
    EXPECT_DOUBLE_EQ(d.limits.denseLength, 1500.0);
    EXPECT_EQ(d.limits.minimumDenseDiameter, 6);
    EXPECT_DOUBLE_EQ(d.limits.maximumDenseSpacing, 144.0);
    EXPECT_NEAR(d.limits.requiredVolumetricRatio, 0.0044021, 1e-7);
    EXPECT_EQ(d.choice.diameter, 6);
    EXPECT_EQ(d.choice.legsX, 3);
    EXPECT_EQ(d.choice.legsY, 3);
    EXPECT_DOUBLE_EQ(d.choice.denseSpacing, 100.0);
    EXPECT_DOUBLE_EQ(d.choice.spacing, 100.0);
    EXPECT_TRUE(d.choice.wholeHeight);
    EXPECT_NEAR(d.choice.volumetricRatio, 0.0049589, 1e-7);
    EXPECT_NEAR(d.choice.steelVolume, 900820.3, 0.1);
    EXPECT_EQ(stirrupNotation(c.stirrupSteel, d.choice), "C6@100");
    const ShearCheck& s = d.combinations[0].check;
    EXPECT_NEAR(s.x.capacity, 259.4947, 1e-4);
    EXPECT_NEAR(s.utilisation, 0.817481, 1e-6);
    EXPECT_NEAR(s.x.sectionLimit, 489.901, 1e-3);
    EXPECT_DOUBLE_EQ(s.x.sectionFactor, 0.20);
}

// The limits of 9.3.2 and GB 50011 6.3.7-2 / 6.3.9, a row per clause case. The base column is
// 500 x 500, C30, c = 20, 4C20 + 2C20 a face, Hn = 3600, lambda 3, no shear.
TEST(StirrupLimits, ClauseByClause) {
    using S = SeismicGrade;
    struct Case {
        const char* clause;
        double b, h;
        LongitudinalBars bars;
        S grade;
        double hn;
        double lambda;
        bool ground, frameSupporting, corner;
        int minimumDiameter;
        double maximumSpacing, maximumDenseSpacing, maximumLegSpacing, maximumOutside;
        bool compound, high, whole;
        double denseLength;
    };
    const LongitudinalBars base = bars(20, 20, 2, 20, 2);
    const Case cases[] = {
        // 9.3.2-1: max(6, 25/4 = 6.25) -> 8; 9.3.2-2: min(400, 500, 15 * 20 = 300).
        {"9.3.2-1 d/4", 500, 500, bars(25, 20, 2, 20, 2), S::None, 3600, 3, false, false, false, 8,
         300, 0, 0, 300, true, false, false, 0},
        // 22/4 = 5.5 -> 6; min(400, 300, 15 * 16 = 240); 3 bars a face: no compound stirrups.
        {"9.3.2-2 15d", 300, 300, bars(22, 16, 1, 16, 1), S::None, 3600, 3, false, false, false, 6,
         240, 0, 0, 240, false, false, false, 0},
        // min(400, 600, 15 * 28 = 420) = 400.
        {"9.3.2-2 400", 600, 800, bars(28, 28, 0, 28, 0), S::None, 3600, 3, false, false, false, 8,
         400, 0, 0, 400, false, false, false, 0},
        // 12C25 in 300 x 300: 5890.5 / 90000 = 6.5 % > 3 %: 8 mm, min(300, 375, 250, 200) = 200.
        {"9.3.2-5 above 3 %", 300, 300, bars(25, 25, 2, 25, 2), S::None, 3600, 3, false, false,
         false, 8, 200, 0, 0, 200, false, true, false, 0},
        // 9.3.2-4: short side 400 with 4 bars a face: no; with 5: yes; 500 with 3: no, 4: yes.
        {"9.3.2-4 400, 4 bars", 400, 400, bars(20, 20, 2, 20, 2), S::None, 3600, 3, false, false,
         false, 6, 300, 0, 0, 300, false, false, false, 0},
        {"9.3.2-4 400, 5 bars", 400, 400, bars(20, 20, 3, 20, 1), S::None, 3600, 3, false, false,
         false, 6, 300, 0, 0, 300, true, false, false, 0},
        {"9.3.2-4 500, 3 bars", 500, 500, bars(20, 20, 1, 20, 1), S::None, 3600, 3, false, false,
         false, 6, 300, 0, 0, 300, false, false, false, 0},
        {"9.3.2-4 500, 4 bars", 500, 500, base, S::None, 3600, 3, false, false, false, 6, 300, 0, 0,
         300, true, false, false, 0},
        // 6.3.7-2: 一 min(6 * 20, 100), 10 mm; 6.3.9-2 legs 200; 6.3.9-4 outside 10 * 20 = 200.
        // Dense 2 * max(500, 3600 / 6, 500) = 1200.
        {"6.3.7-2 grade 一", 500, 500, base, S::One, 3600, 3, false, false, false, 10, 300, 100,
         200, 200, true, false, false, 1200},
        {"6.3.7-2 grade 二", 500, 500, base, S::Two, 3600, 3, false, false, false, 8, 300, 100, 250,
         200, true, false, false, 1200},
        // 三 min(8 * 20, 150) = 150; outside 15 * 20 = 300.
        {"6.3.7-2 grade 三", 500, 500, base, S::Three, 3600, 3, false, false, false, 8, 300, 150,
         250, 300, true, false, false, 1200},
        {"6.3.7-2 grade 四", 500, 500, base, S::Four, 3600, 3, false, false, false, 6, 300, 150,
         300, 300, true, false, false, 1200},
        // 二 with 12 mm bars: min(8 * 12 = 96, 100); 9.3.2 min(400, 500, 180); outside 120.
        {"6.3.7-2 8d", 500, 500, bars(12, 12, 2, 12, 2), S::Two, 3600, 3, false, false, false, 8,
         180, 96, 250, 120, true, false, false, 1200},
        // The foot of a ground-storey column: 100 (三, 四), 8 mm for 四; dense Hn/3 = 1200 at the
        // foot + 600 at the top.
        {"6.3.7-2 foot 三", 500, 500, base, S::Three, 3600, 3, true, false, false, 8, 300, 100, 250,
         300, true, false, false, 1800},
        {"6.3.7-2 foot 四", 500, 500, base, S::Four, 3600, 3, true, false, false, 8, 300, 100, 300,
         300, true, false, false, 1800},
        // 三 with a section of 400: 6 mm (table note).
        {"6.3.7-2 三 at 400", 400, 400, base, S::Three, 3600, 3, false, false, false, 6, 300, 150,
         250, 300, false, false, false, 1200},
        // Dense zone: max(600, 4200 / 6 = 700, 500) at both ends.
        {"6.3.9-1 Hn/6", 500, 600, base, S::Three, 4200, 3, false, false, false, 8, 300, 150, 250,
         300, true, false, false, 1400},
        // Hn / h = 2000 / 500 = 4: the whole height.
        {"6.3.9-1 Hn/h <= 4", 500, 500, base, S::Three, 2000, 3, false, false, false, 8, 300, 150,
         250, 300, true, false, true, 2000},
        {"6.3.9-1 lambda <= 2", 500, 500, base, S::Three, 3600, 1.8, false, false, false, 8, 300,
         100, 250, 300, true, false, true, 3600},
        {"6.3.9-1 frame-supporting", 500, 500, base, S::Three, 3600, 3, false, true, false, 8, 300,
         100, 250, 300, true, false, true, 3600},
        {"6.3.9-1 corner 二", 500, 500, base, S::Two, 3600, 3, false, false, true, 8, 300, 100, 250,
         200, true, false, true, 3600},
        {"6.3.9-1 corner 三", 500, 500, base, S::Three, 3600, 3, false, false, true, 8, 300, 150,
         250, 300, true, false, false, 1200},
    };
    for (const Case& k : cases) {
        StirrupColumn c;
        c.b = k.b;
        c.h = k.h;
        c.bars = k.bars;
        c.seismic = k.grade;
        c.hn = k.hn;
        c.lambdaX = k.lambda;
        c.lambdaY = k.lambda;
        c.groundStorey = k.ground;
        c.frameSupporting = k.frameSupporting;
        c.position = k.corner ? ColumnPosition::Corner : ColumnPosition::Middle;
        const StirrupLimits l = designStirrups(c, {{500.0, 0.0, 0.0, K::Seismic}}).limits;
        EXPECT_EQ(l.minimumDiameter, k.minimumDiameter) << k.clause;
        EXPECT_DOUBLE_EQ(l.maximumSpacing, k.maximumSpacing) << k.clause;
        EXPECT_DOUBLE_EQ(l.maximumDenseSpacing, k.maximumDenseSpacing) << k.clause;
        EXPECT_DOUBLE_EQ(l.maximumLegSpacing, k.maximumLegSpacing) << k.clause;
        EXPECT_DOUBLE_EQ(l.maximumOutsideSpacing, k.maximumOutside) << k.clause;
        EXPECT_EQ(l.compoundRequired, k.compound) << k.clause;
        EXPECT_EQ(l.highRatio, k.high) << k.clause;
        EXPECT_EQ(l.denseWholeHeight, k.whole) << k.clause;
        EXPECT_DOUBLE_EQ(l.denseLength, k.denseLength) << k.clause;
    }
}

// The volumetric ratio's minimum: 0.8 / 0.6 / 0.4 / 0.4 % by grade; 1.2 % for lambda <= 2; 1.5 %
// and lambda_v + 0.02 for a frame-supporting column (N = 500 in 500 x 500 C30: mu = 0.1399,
// lambda_v of the first column).
TEST(StirrupLimits, VolumetricRatioMinimumAndLambdaV) {
    using S = SeismicGrade;
    struct Case {
        S grade;
        double lambda;
        bool frameSupporting;
        double lambdaV, minimum;
    };
    const Case cases[] = {
        {S::One, 3, false, 0.10, 0.008},     {S::Two, 3, false, 0.08, 0.006},
        {S::Three, 3, false, 0.06, 0.004},   {S::Four, 3, false, 0.06, 0.004},
        {S::Three, 1.8, false, 0.06, 0.012}, {S::Two, 3, true, 0.10, 0.015},
    };
    for (const Case& k : cases) {
        StirrupColumn c;
        c.b = 500.0;
        c.h = 500.0;
        c.bars = bars(20, 20, 2, 20, 2);
        c.seismic = k.grade;
        c.hn = 3600.0;
        c.lambdaX = k.lambda;
        c.lambdaY = k.lambda;
        c.frameSupporting = k.frameSupporting;
        const StirrupLimits l = designStirrups(c, {{500.0, 0.0, 0.0, K::Seismic}}).limits;
        EXPECT_NEAR(l.lambdaV, k.lambdaV, 1e-12) << static_cast<int>(k.grade);
        EXPECT_DOUBLE_EQ(l.minimumVolumetricRatio, k.minimum) << static_cast<int>(k.grade);
        // lambda_v * 16.7 / 360 against the minimum.
        EXPECT_NEAR(l.requiredVolumetricRatio, std::max(k.lambdaV * 16.7 / 360.0, k.minimum),
                    1e-12);
    }
}

// Table 6.3.9 (ordinary and compound hoops), linear between its columns; grade 一 ends at 0.9.
TEST(StirrupLimits, CharacteristicValueTable) {
    using S = SeismicGrade;
    struct Case {
        S grade;
        double mu, lambdaV;
    };
    const Case cases[] = {
        {S::One, 0.2, 0.10},  {S::One, 0.65, 0.16},   // (0.15 + 0.17) / 2
        {S::One, 0.9, 0.23},  {S::One, 0.95, -1.0},   // beyond the table
        {S::Two, 1.05, 0.24}, {S::Two, 1.02, 0.228},  // 0.22 + 0.02 * 0.4
        {S::Two, 1.1, -1.0},  {S::Three, 0.3, 0.06}, {S::Four, 0.75, 0.14}, {S::Three, 0.45, 0.08},
    };
    for (const Case& k : cases) {
        EXPECT_NEAR(stirrupCharacteristicValue(k.grade, k.mu), k.lambdaV, 1e-12)
            << static_cast<int>(k.grade) << " " << k.mu;
    }
}

// ft (4.1.4-2) and betaC (6.3.1): 1.0 up to C50, 0.8 at C80, linear.
TEST(StirrupLimits, ConcreteFigures) {
    EXPECT_DOUBLE_EQ(concreteTensileStrength(20), 1.10);
    EXPECT_DOUBLE_EQ(concreteTensileStrength(30), 1.43);
    EXPECT_DOUBLE_EQ(concreteTensileStrength(50), 1.89);
    EXPECT_DOUBLE_EQ(concreteTensileStrength(80), 2.22);
    EXPECT_DOUBLE_EQ(concreteStrengthFactor(30), 1.0);
    EXPECT_DOUBLE_EQ(concreteStrengthFactor(50), 1.0);
    EXPECT_NEAR(concreteStrengthFactor(65), 0.9, 1e-12);
    EXPECT_NEAR(concreteStrengthFactor(80), 0.8, 1e-12);
}

// Under tension (6.3.14): 400 x 400, C30, 4C20, N = -300, Vx = 100, lambda 3, Hn 3000, 2×2.
// fyv Asv/s h0 >= 0.36 ft b h0 gives s <= 360 * 2 * Asv1 / (0.36 * 1.43 * 400) = 98.86 (C6), 175.75
// (C8), 274.61 (C10), 395.45 (C12; 9.3.2 caps it at min(400, 400, 15 * 20) = 300): C6 at 90,
// C8 at 150, C10 at 250, C12 at 300. One set 4 legs of 400 - 40 - ds: 40036.5, 70773.8, 109955.7,
// 157431.5 mm^3; per mm of height 444.8, 471.8, 439.8, 524.8: C10 at 250 is the lightest
// (109955.7 * 3000 / 250 = 1319468.9 mm^3). Its shear, h0 = 400 - (20 + 10 + 10) = 360:
// Vu = 1.75/4 * 1.43 * 400 * 360 = 90.09 + 360 * 2 * 78.5398 / 250 * 360 = 81.4301 - 0.2 * 300
// = 111.5201 kN >= 100; 81.4301 >= 0.36 * 1.43 * 400 * 360 = 74.1312.
TEST(StirrupDesign, TensionMinimumGoverns) {
    StirrupColumn c;
    c.b = 400.0;
    c.h = 400.0;
    c.bars = bars(20, 20, 0, 20, 0);
    c.hn = 3000.0;
    const StirrupDesign d = designStirrups(c, {{-300.0, 100.0, 0.0, K::Unspecified}});
    ASSERT_TRUE(d.designed);
    EXPECT_EQ(stirrupNotation(c.stirrupSteel, d.choice), "C10@250");
    EXPECT_EQ(stirrupType(d.choice), "2×2");
    EXPECT_NEAR(d.choice.steelVolume, 1319468.9, 0.1);
    const ShearCheck& s = d.combinations[0].check;
    EXPECT_DOUBLE_EQ(s.x.axialTerm, -60.0);
    EXPECT_NEAR(s.x.stirrupTerm, 81.4301, 1e-4);
    EXPECT_NEAR(s.x.capacity, 111.5201, 1e-4);
    EXPECT_TRUE(s.tensionMinimumMet);
    EXPECT_TRUE(d.exceedsAssumedDiameter);  // 10 > the 8 the bars were placed with
}

// Failures are said, never a silent result.
TEST(StirrupDesign, SectionLimitExceededNonSeismic) {
    // 300 x 300, C30, 4C20: h0 = 300 - (20 + 6 + 10) = 264 with the thinnest stirrup allowed;
    // 0.25 * 14.3 * 300 * 264 = 283.14 kN; Vx = 300: 1.05955. The first combination is fine.
    StirrupColumn c;
    c.b = 300.0;
    c.h = 300.0;
    c.bars = bars(20, 20, 0, 20, 0);
    c.hn = 3000.0;
    const StirrupDesign d = designStirrups(
        c, {{500.0, 100.0, 0.0, K::Unspecified}, {500.0, 300.0, 0.0, K::Unspecified}});
    EXPECT_FALSE(d.designed);
    EXPECT_EQ(d.failure.kind, StirrupFailureKind::SectionLimitExceeded);
    EXPECT_EQ(d.failure.combination, 1);
    EXPECT_NEAR(d.failure.value, 1.0595465, 1e-7);
    EXPECT_EQ(d.combinations.size(), 2u);  // the figures are there to show
}

TEST(StirrupDesign, SectionLimitExceededSeismicShortShearSpan) {
    // Grade 三, 400 x 400, lambda 1.8 <= 2: 0.15 * 14.3 * 400 * 364 / 0.85 = 367.426 kN; Vx =
    // 380: 1.034222. The non-seismic limit (520.52 kN) would have passed: with the kind
    // unspecified both are checked, and the seismic one governs.
    StirrupColumn c;
    c.b = 400.0;
    c.h = 400.0;
    c.bars = bars(20, 18, 1, 18, 1);
    c.seismic = SeismicGrade::Three;
    c.hn = 3600.0;
    c.lambdaX = 1.8;
    c.lambdaY = 1.8;
    for (const K kind : {K::Seismic, K::Unspecified}) {
        const StirrupDesign d = designStirrups(c, {{800.0, 380.0, 0.0, kind}});
        EXPECT_FALSE(d.designed);
        EXPECT_EQ(d.failure.kind, StirrupFailureKind::SectionLimitExceeded);
        EXPECT_NEAR(d.failure.value, 1.0342222, 1e-7);
    }
    const StirrupDesign n = designStirrups(c, {{800.0, 380.0, 0.0, K::NonSeismic}});
    EXPECT_NE(n.failure.kind, StirrupFailureKind::SectionLimitExceeded);
}

TEST(StirrupDesign, OtherFailuresAreNamed) {
    StirrupColumn c;
    c.b = 500.0;
    c.h = 500.0;
    c.bars = bars(20, 20, 2, 20, 2);
    c.seismic = SeismicGrade::Two;
    c.hn = 0.0;  // a seismic grade needs Hn for the dense zone
    EXPECT_EQ(designStirrups(c, {{500.0, 50.0, 0.0, K::Seismic}}).failure.kind,
              StirrupFailureKind::ClearHeightMissing);

    // Grade 一 at mu = 3396.25e3 / (14.3 * 250000) = 0.95: beyond table 6.3.9's 0.9.
    c.hn = 3600.0;
    c.seismic = SeismicGrade::One;
    const StirrupDesign beyond = designStirrups(c, {{3396.25, 50.0, 0.0, K::Seismic}});
    EXPECT_FALSE(beyond.designed);
    EXPECT_EQ(beyond.failure.kind, StirrupFailureKind::AxialRatioBeyondTable);
    EXPECT_NEAR(beyond.failure.value, 0.95, 1e-12);
    EXPECT_DOUBLE_EQ(beyond.failure.limit, 0.9);

    // Grade 一, 400 x 400 with corner bars only: legs on the bars stand at least 400 - 2 * (20 +
    // 16 + 10) = 308 apart (the thickest stirrup), more than 200.
    c.b = 400.0;
    c.h = 400.0;
    c.bars = bars(20, 20, 0, 20, 0);
    const StirrupDesign legs = designStirrups(c, {{500.0, 50.0, 0.0, K::Seismic}});
    EXPECT_FALSE(legs.designed);
    EXPECT_EQ(legs.failure.kind, StirrupFailureKind::LegSpacingUnattainable);
    EXPECT_DOUBLE_EQ(legs.failure.value, 308.0);
    EXPECT_DOUBLE_EQ(legs.failure.limit, 200.0);
}

// The layout of the longitudinal design as the stirrup design reads it, and the notation.
TEST(StirrupDesign, BarsOfALayoutAndNotation) {
    const LongitudinalBars b = longitudinalBarsOf({25, 20, 3, 2});
    EXPECT_EQ(b.barsOnFaceB(), 5);
    EXPECT_EQ(b.barsOnFaceH(), 4);
    EXPECT_EQ(b.largestDiameter(), 25);
    EXPECT_EQ(b.smallestDiameter(), 20);
    EXPECT_EQ(longitudinalBarsOf({22, 22, 0, 0}).smallestDiameter(), 22);
    StirrupChoice c;
    c.diameter = 10;
    c.legsX = 5;
    c.legsY = 4;
    c.denseSpacing = 100.0;
    c.spacing = 200.0;
    EXPECT_EQ(stirrupNotation(SteelGrade2010::HRB400, c), "C10@100/200");
    EXPECT_EQ(stirrupNotation(SteelGrade2010::HPB300, c), "A10@100/200");
    EXPECT_EQ(stirrupNotation(SteelGrade2010::HRB500, c), "D10@100/200");
    EXPECT_EQ(stirrupType(c), "5×4");
    c.wholeHeight = true;
    c.spacing = 100.0;
    EXPECT_EQ(stirrupNotation(SteelGrade2010::HRB335, c), "B10@100");
}

// The legs stand on bars spread evenly: the widest gap is ceil((k-1)/(L-1)) bar spaces.
TEST(StirrupDesign, HeldBarsSpreadEvenly) {
    struct Case {
        int bars, legs;
        std::vector<int> held;
    };
    const Case cases[] = {
        {2, 2, {0, 1}},          {3, 2, {0, 2}},
        {5, 3, {0, 2, 4}},       {4, 3, {0, 2, 3}},  // 1.5 rounds away from zero: gaps 2, 1
        {5, 4, {0, 1, 3, 4}},                        // 1.33 -> 1, 2.67 -> 3
        {6, 4, {0, 2, 3, 5}},                        // 1.67 -> 2, 3.33 -> 3
        {8, 5, {0, 2, 4, 5, 7}},                     // 1.75, 3.5, 5.25: gaps 2, 2, 1, 2
        {4, 4, {0, 1, 2, 3}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(heldBars(k.bars, k.legs), k.held) << k.bars << " bars, " << k.legs << " legs";
    }
}

// Note 1 of table 6.3.7-2: 150 mm for grade 一 / 二 with thick stirrups and close legs, never at
// the foot of a ground-storey column, nor where the spacing is 100 by 6.3.7-2-3; and the two
// end zones that together reach the clear height.
TEST(StirrupLimits, RelaxedDenseSpacingAndEndsCoveringTheHeight) {
    StirrupColumn c;
    c.b = 500.0;
    c.h = 500.0;
    c.bars = bars(20, 20, 2, 20, 2);
    c.hn = 3600.0;
    const std::vector<ShearCombination> load = {{500.0, 0.0, 0.0, K::Seismic}};
    c.seismic = SeismicGrade::Two;
    EXPECT_DOUBLE_EQ(designStirrups(c, load).limits.maximumDenseSpacingRelaxed, 150.0);
    c.seismic = SeismicGrade::One;  // min(6 * 20, 150)
    EXPECT_DOUBLE_EQ(designStirrups(c, load).limits.maximumDenseSpacingRelaxed, 120.0);
    c.seismic = SeismicGrade::Three;
    EXPECT_DOUBLE_EQ(designStirrups(c, load).limits.maximumDenseSpacingRelaxed, 0.0);
    c.seismic = SeismicGrade::Two;
    c.groundStorey = true;
    EXPECT_DOUBLE_EQ(designStirrups(c, load).limits.maximumDenseSpacingRelaxed, 0.0);
    c.groundStorey = false;
    c.lambdaX = 2.0;
    EXPECT_DOUBLE_EQ(designStirrups(c, load).limits.maximumDenseSpacingRelaxed, 0.0);

    // The two end zones reach Hn while Hn/h > 4 only below h = 250 (2 * 500 >= Hn > 4 h):
    // 240 x 240, Hn 990: 4.125 > 4, 2 * max(240, 165, 500) = 1000 >= 990. With Hn 1010 they do
    // not: 1000 < 1010.
    c.lambdaX = 3.0;
    c.b = 240.0;
    c.h = 240.0;
    c.bars = bars(16, 16, 0, 16, 0);
    c.hn = 990.0;
    StirrupLimits l = designStirrups(c, load).limits;
    EXPECT_EQ(l.denseReason, DenseZoneReason::EndsCoverHeight);
    EXPECT_TRUE(l.denseWholeHeight);
    EXPECT_DOUBLE_EQ(l.denseLength, 990.0);
    c.hn = 1010.0;
    l = designStirrups(c, load).limits;
    EXPECT_EQ(l.denseReason, DenseZoneReason::Ends);
    EXPECT_FALSE(l.denseWholeHeight);
    EXPECT_DOUBLE_EQ(l.denseLength, 1000.0);
}

}  // namespace
}  // namespace tessarin
