#include "run/design_column.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>

#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

// The start-up case, OK at once in the scheme dialog (scheme 1, 22 mm corner bars), as the report
// prints it: Asex 1652.756707, Asey 1462.041321; Asc 380.132705 (22 * 22 * 0.78539815),
// Aswx 707.745633, Aswy 367.516613, Asx 1468.011042, Asy 1127.782023.
TEST(DesignColumn, StartUpCaseGivesTheWorkedAreas) {
    const ReinforcementScheme scheme{Scheme::CornerBars, 22.0, 0.0, 0.0};
    const ColumnDesign d = designColumn(DesignInput{}, scheme);
    EXPECT_EQ(d.column.fy, 360.0);  // HRB400
    EXPECT_EQ(d.column.fc, 14.3);   // C30
    EXPECT_EQ(sixDecimals(d.step1.Asex), "1652.756707");
    EXPECT_EQ(sixDecimals(d.step1.Asey), "1462.041321");
    EXPECT_TRUE(d.step1.converged());
    EXPECT_EQ(d.step2.scheme, 1);
    EXPECT_EQ(sixDecimals(d.step2.Asc), "380.132705");
    EXPECT_EQ(sixDecimals(d.step2.Aswx), "707.745633");
    EXPECT_EQ(sixDecimals(d.step2.Aswy), "367.516613");
    EXPECT_EQ(sixDecimals(d.step2.Asx), "1468.011042");
    EXPECT_EQ(sixDecimals(d.step2.Asy), "1127.782023");
    EXPECT_TRUE(d.finite());
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The calculate command designs in two halves around the scheme question; the halves give the
// same doubles as the whole, for both schemes and for other grades.
TEST(DesignColumn, TwoHalvesGiveTheSameDesignAsTheWhole) {
    DesignInput other;
    other.concreteIndex = 13;  // C80
    other.steelIndex = 0;      // HPB235
    other.N = 2500.0;
    for (const DesignInput& input : {DesignInput{}, other}) {
        for (const ReinforcementScheme& scheme :
             {ReinforcementScheme{Scheme::CornerBars, 25.0, 0.0, 0.0},
              ReinforcementScheme{Scheme::EqualDiameters, 22.0, 0.3, 0.25}}) {
            const ColumnDesign whole = designColumn(input, scheme);
            const ColumnDesign halves = designStep2(designStep1(input), scheme);
            for (const auto field :
                 {&Step1Result::Asex, &Step1Result::Asey, &Step1Result::Nux, &Step1Result::etaY}) {
                EXPECT_TRUE(sameBits(whole.step1.*field, halves.step1.*field));
            }
            for (const auto field : {&Step2Result::Asc, &Step2Result::Aswx, &Step2Result::Aswy,
                                     &Step2Result::Asx, &Step2Result::Asy}) {
                EXPECT_TRUE(sameBits(whole.step2.*field, halves.step2.*field));
            }
            EXPECT_EQ(whole.step1.passesX, halves.step1.passesX);
            EXPECT_EQ(whole.column.xiB, halves.column.xiB);
        }
    }
}

// C80 with HPB235 needs the steel grade loaded first: xiB = 0.764 / (210 / (210000 * 0.003) + 1)
// = 0.764 / (1/3 + 1) = 0.573 (0.5730000000000001 in doubles).
TEST(DesignColumn, LoadsTheSteelGradeBeforeTheConcreteGrade) {
    DesignInput input;
    input.concreteIndex = 13;
    input.steelIndex = 0;
    const Step1Design d = designStep1(input);
    EXPECT_EQ(d.column.steelGrade, 1);
    EXPECT_EQ(d.column.concreteGrade, 80.0);
    EXPECT_EQ(d.column.xiB, 0.5730000000000001);
}

// A case the checks accept can still run out of doubles: l0 = 1e150 mm gives a slenderness
// l0 / h = 1.7e147 whose square overflows, N = 1e-320 kN an eccentricity M0x / N = inf.
TEST(DesignColumn, OverflowingCasesAreNotFinite) {
    DesignInput huge;
    huge.l0 = 1e150;
    DesignInput tiny;
    tiny.N = 1e-320;
    const ReinforcementScheme scheme{};
    EXPECT_FALSE(designColumn(huge, scheme).finite());
    EXPECT_FALSE(designColumn(tiny, scheme).finite());
}

}  // namespace
