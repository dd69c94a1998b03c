#include <gtest/gtest.h>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {
namespace {

using K = CombinationKind;

Gb2010Column graded(SeismicGrade grade) {
    Gb2010Column c;
    c.seismic = grade;
    c.hn = 3000.0;
    return c;
}

// gammaRE of 11.1.6 for the bending of a column: 0.75 below N/(fcA) = 0.15, else 0.80; only for a
// seismic combination of a column with a grade.
TEST(CombinationKind, BendingGammaRE) {
    struct Row {
        SeismicGrade grade;
        K kind;
        double ratio;
        double expected;
    };
    const Row rows[] = {
        {SeismicGrade::Two, K::Seismic, 0.117, 0.75},  {SeismicGrade::Two, K::Seismic, 0.15, 0.80},
        {SeismicGrade::Two, K::Seismic, 0.60, 0.80},   {SeismicGrade::Two, K::NonSeismic, 0.1, 1.0},
        {SeismicGrade::Two, K::Unspecified, 0.1, 1.0}, {SeismicGrade::None, K::Seismic, 0.1, 1.0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(combinationGammaRE(r.grade, r.kind, r.ratio), r.expected) << r.ratio;
    }
    EXPECT_TRUE(axialRatioLimitApplies(K::Seismic));
    EXPECT_TRUE(axialRatioLimitApplies(K::Unspecified));
    EXPECT_FALSE(axialRatioLimitApplies(K::NonSeismic));
}

// The engineering choice decides the unspecified kind alone: with the limit off for them, an
// unspecified combination goes free while a seismic one keeps the limit.
TEST(CombinationKind, AxialRatioLimitOfUnspecifiedKindFollowsTheChoice) {
    EngineeringChoices lenient;
    lenient.axialRatioLimitOnUnspecifiedCombinations = false;
    struct Row {
        K kind;
        bool byDefault;
        bool lenientChoice;
    };
    const Row rows[] = {
        {K::Seismic, true, true}, {K::Unspecified, true, false}, {K::NonSeismic, false, false}};
    for (const Row& r : rows) {
        EXPECT_EQ(axialRatioLimitApplies(r.kind, kEngineeringChoices), r.byDefault);
        EXPECT_EQ(axialRatioLimitApplies(r.kind, lenient), r.lenientChoice);
    }
}

// Grade 三 frame, 400 x 600 C30: N = 3000 kN gives N/(fcA) = 3e6 / (14.3 x 240000) = 0.874 above
// the limit 0.85 (table 6.3.6). A seismic or unspecified combination is refused; a non-seismic one
// is designed without the limit.
TEST(CombinationKind, AxialRatioLimitOnlyWhereTheCombinationMayBeSeismic) {
    const Gb2010Column column = graded(SeismicGrade::Three);
    for (const K kind : {K::Seismic, K::Unspecified}) {
        const LoadCombination load{3000.0, 244.0, 1.0, 120.0, 1.0, 0.0, 0.0, kind};
        const Gb2010Design d = designGb2010(column, std::vector{load});
        EXPECT_EQ(d.reason.kind, NoLayoutKind::AxialRatioExceeded);
        EXPECT_NEAR(d.reason.value, 0.874, 5e-4);
    }
    const LoadCombination load{3000.0, 244.0, 1.0, 120.0, 1.0, 0.0, 0.0, K::NonSeismic};
    const Gb2010Design d = designGb2010(column, std::vector{load});
    EXPECT_NE(d.reason.kind, NoLayoutKind::AxialRatioExceeded);
    EXPECT_EQ(d.combinations[0].gammaRE, 1.0);
}

// The start-up loads on a grade 二 column: as a seismic combination (N/(fcA) = 0.117 < 0.15,
// gammaRE = 0.75) the section is checked with 0.75 N and 0.75 M. The layout is at most as heavy as
// the unspecified one's, and its utilisation with the same layout is lower; the unspecified one
// keeps gammaRE = 1 (today's design, unchanged).
TEST(CombinationKind, SeismicCombinationDividesTheBendingCapacity) {
    const Gb2010Column column = graded(SeismicGrade::Two);
    const LoadCombination unspecified{};
    LoadCombination seismic{};
    seismic.kind = K::Seismic;
    const Gb2010Design before = designGb2010(column, std::vector{unspecified});
    const Gb2010Design after = designGb2010(column, std::vector{seismic});
    ASSERT_TRUE(before.designed);
    ASSERT_TRUE(after.designed);
    EXPECT_EQ(before.combinations[0].gammaRE, 1.0);
    EXPECT_EQ(after.combinations[0].gammaRE, 0.75);
    EXPECT_EQ(after.combinations[0].kind, K::Seismic);
    EXPECT_LE(after.layout->steelArea, before.layout->steelArea);
    // The unspecified layout checked as seismic: 0.75 N moves the contour, 0.75 M the demand, the
    // utilisation falls.
    const SectionResistance section =
        layoutSection(column, before.materials, *before.layout, kUltimateTensileStrain);
    const CombinationCheck asSeismic =
        checkCombination(section, *before.layout, before.combinations[0].demand, before.materials,
                         before.limits, 0.75);
    EXPECT_LT(asSeismic.utilisation, before.combinations[0].utilisation);
    // The axial limit 6.2.15 keeps N.
    EXPECT_EQ(asSeismic.axialUtilisation, before.combinations[0].axialUtilisation);
}

// The stirrup design takes the shears and kinds the combinations carry.
TEST(CombinationKind, ShearsTravelWithTheCombination) {
    const LoadCombination load{500.0, 100.0, 1.0, 50.0, 1.0, -120.0, 45.0, K::Seismic};
    const std::vector<ShearCombination> shear =
        shearCombinationsOf(std::vector{load}, stirrupInputsOf(graded(SeismicGrade::Two)));
    ASSERT_EQ(shear.size(), 1U);
    EXPECT_EQ(shear[0].Vx, -120.0);
    EXPECT_EQ(shear[0].Vy, 45.0);
    EXPECT_EQ(shear[0].kind, K::Seismic);
    // Hn = 3000, a = 20 + 8 + 6 = 34: lambda_x = 3000 / (2 x 566) = 2.650, lambda_y = 3000 /
    // (2 x 366) = 4.098; a grade-less column takes l0 = 6000 for Hn.
    const StirrupInputs in = stirrupInputsOf(graded(SeismicGrade::Two));
    EXPECT_NEAR(in.lambdaX, 2.6502, 1e-4);
    EXPECT_NEAR(in.lambdaY, 4.0984, 1e-4);
    EXPECT_EQ(in.hn, 3000.0);
    EXPECT_EQ(stirrupInputsOf(Gb2010Column{}).hn, 6000.0);
    EXPECT_EQ(in.stirrupSteel, SteelGrade2010::HRB400);
}

}  // namespace
}  // namespace tessarin
