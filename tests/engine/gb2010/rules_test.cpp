#include <gtest/gtest.h>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {
namespace {

// Table 6.2.15 between its rows, linearly: 15 lies halfway between 14 (0.92) and 16 (0.87).
TEST(StabilityFactor, TableRowsAndLinearInterpolation) {
    struct Case {
        double l0b;
        double phi;
    };
    const Case cases[] = {
        {5.0, 1.00},                   // below the first row: 1.0
        {8.0, 1.00},    {10.0, 0.98},  // rows exactly
        {9.0, 0.99},                   // (1.00 + 0.98) / 2
        {15.0, 0.895},                 // (0.92 + 0.87) / 2
        {17.0, 0.84},                  // (0.87 + 0.81) / 2
        {20.5, 0.7375},                // 0.75 + (0.70 - 0.75) * 0.25
        {49.0, 0.20},                  // (0.21 + 0.19) / 2
        {50.0, 0.19},   {64.0, 0.19},  // beyond the table: the last row
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(stabilityFactor(c.l0b), c.phi, 1e-12) << "l0/b = " << c.l0b;
    }
}

// 8.5.1: 0.60 % for 300/335 MPa bars, 0.55 % for 400, 0.50 % for 500; +0.10 % from C60 on.
TEST(MinimumRatio, NonSeismicForEachSteelAndHighStrengthConcrete) {
    struct Case {
        SteelGrade2010 steel;
        int grade;
        double ratio;
    };
    const Case cases[] = {
        {SteelGrade2010::HPB300, 30, 0.0060}, {SteelGrade2010::HRB335, 30, 0.0060},
        {SteelGrade2010::HRB400, 30, 0.0055}, {SteelGrade2010::HRB500, 30, 0.0050},
        {SteelGrade2010::HRB400, 55, 0.0055},  // C55: not yet
        {SteelGrade2010::HRB400, 60, 0.0065},  // C60 and above: 0.55 + 0.10
        {SteelGrade2010::HRB335, 80, 0.0070},  // 0.60 + 0.10
        {SteelGrade2010::HRB500, 65, 0.0060},  // 0.50 + 0.10
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(nonSeismicMinimumTotalRatio(c.steel, c.grade), c.ratio, 1e-12)
            << static_cast<int>(c.steel) << " C" << c.grade;
    }
}

// GB 50011 table 6.3.7-1 with +0.1 % (fyk < 400), +0.05 % (fyk = 400), +0.1 % above C60.
TEST(MinimumRatio, SeismicForEachGradeStructureAndPosition) {
    using S = SeismicGrade;
    using T = StructureType;
    using P = ColumnPosition;
    struct Case {
        S grade;
        T structure;
        P position;
        SteelGrade2010 steel;
        int concrete;
        double percent;
    };
    const Case cases[] = {
        {S::One, T::Frame, P::Middle, SteelGrade2010::HRB400, 30, 1.05},    // 1.0 + 0.05
        {S::Two, T::Frame, P::Middle, SteelGrade2010::HRB400, 30, 0.85},    // 0.8 + 0.05
        {S::Three, T::Frame, P::Middle, SteelGrade2010::HRB500, 30, 0.70},  // 0.7 + 0
        {S::Four, T::Frame, P::Middle, SteelGrade2010::HRB335, 30, 0.70},   // 0.6 + 0.1
        {S::One, T::Dual, P::Middle, SteelGrade2010::HRB500, 30, 0.90},
        {S::Two, T::Dual, P::Middle, SteelGrade2010::HRB400, 30, 0.75},    // 0.7 + 0.05
        {S::Three, T::Dual, P::Middle, SteelGrade2010::HPB300, 30, 0.70},  // 0.6 + 0.1
        {S::Four, T::Dual, P::Middle, SteelGrade2010::HRB500, 30, 0.50},
        {S::One, T::Frame, P::Corner, SteelGrade2010::HRB500, 30, 1.10},
        {S::Two, T::Dual, P::Corner, SteelGrade2010::HRB500, 30, 0.90},     // same in both
        {S::Three, T::Frame, P::Corner, SteelGrade2010::HRB335, 30, 0.90},  // 0.8 + 0.1
        {S::Four, T::Dual, P::Corner, SteelGrade2010::HRB400, 30, 0.75},    // 0.7 + 0.05
        {S::Four, T::Dual, P::Middle, SteelGrade2010::HRB500, 60, 0.50},    // C60 is not above C60
        {S::Four, T::Dual, P::Middle, SteelGrade2010::HRB500, 65, 0.60},    // 0.5 + 0.1
        {S::One, T::Frame, P::Corner, SteelGrade2010::HPB300, 80, 1.30},    // 1.1 + 0.1 + 0.1
        {S::None, T::Frame, P::Corner, SteelGrade2010::HPB300, 80, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(minimumTotalRatioSeismic(c.grade, c.structure, c.position, c.steel, c.concrete),
                    c.percent / 100.0, 1e-12)
            << static_cast<int>(c.grade) << "/" << static_cast<int>(c.structure) << "/"
            << static_cast<int>(c.position) << " C" << c.concrete;
    }
}

// C80: alpha1 = 1 - 30 * 0.002 = 0.94, beta1 = 0.8 - 30 * 0.002 = 0.74, n = 2 - 30/60 = 1.5,
// eps0 = 0.002 + 0.5 * 30e-5 = 0.00215, epsCu = 0.0033 - 30e-5 = 0.0030. HRB500: fy = fy' = 435,
// 400 in the axial limit.
TEST(Materials, HighStrengthConcreteAndSteelCaps) {
    const Materials2010 m = materials2010(80, SteelGrade2010::HRB500);
    EXPECT_DOUBLE_EQ(m.fc, 35.9);
    EXPECT_NEAR(m.alpha1, 0.94, 1e-12);
    EXPECT_NEAR(m.beta1, 0.74, 1e-12);
    EXPECT_NEAR(m.n, 1.5, 1e-12);
    EXPECT_NEAR(m.eps0, 0.00215, 1e-12);
    EXPECT_NEAR(m.epsCu, 0.0030, 1e-12);
    EXPECT_EQ(m.fy, 435.0);
    EXPECT_EQ(m.fyc, 435.0);
    EXPECT_EQ(m.fycAxial, 400.0);
    const Materials2010 c20 = materials2010(20, SteelGrade2010::HPB300);
    EXPECT_DOUBLE_EQ(c20.fc, 9.6);
    EXPECT_EQ(c20.alpha1, 1.0);
    EXPECT_EQ(c20.epsCu, 0.0033);
    EXPECT_EQ(c20.fy, 270.0);
    EXPECT_EQ(c20.Es, 2.1e5);
}

// The limits of a column: seismic spacing 200 mm only on sides longer than 400 mm; the cover
// default 25 mm for C25 and below; the largest bar c + ds.
TEST(DetailingLimits, SpacingAndCoverByColumn) {
    Gb2010Column column;  // 400 x 600, l0 6000, C30, HRB400
    column.seismic = SeismicGrade::Three;
    const DetailingLimits l = detailingLimits(column, 20.0);
    EXPECT_EQ(l.maximumCentreSpacingB, 300.0);        // b = 400 is not longer than 400
    EXPECT_EQ(l.maximumCentreSpacingH, 200.0);        // h = 600
    EXPECT_EQ(l.maximumBarDiameter, 28.0);            // 20 + 8
    EXPECT_NEAR(l.minimumTotalRatio, 0.0075, 1e-12);  // 0.7 + 0.05 > 0.55
    EXPECT_EQ(l.axialRatio.value, 0.85);              // lambda = 6000 / (2 x 566) > 2
    EXPECT_NEAR(l.phi, 0.895, 1e-12);                 // l0/b = 6000/400 = 15
    column.seismic = SeismicGrade::None;
    EXPECT_EQ(detailingLimits(column, 20.0).maximumCentreSpacingH, 300.0);
    EXPECT_EQ(defaultCover(25), 25.0);
    EXPECT_EQ(defaultCover(30), 20.0);
    EXPECT_EQ(accidentalEccentricity(600.0), 20.0);  // 600/30 = 20
    EXPECT_EQ(accidentalEccentricity(900.0), 30.0);  // 900/30
}

}  // namespace
}  // namespace tessarin
