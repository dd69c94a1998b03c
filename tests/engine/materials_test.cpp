#include <gtest/gtest.h>

#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

struct GradeCase {
    const char* name;
    int steel;
    int concrete;
    double fc;
    double fy;
    double Es;
    double alpha1;
    double beta1;
    double xiB;
};

class GradeTable : public testing::TestWithParam<GradeCase> {};

// Derived values compared exactly: the stress-block slopes are exact doubles and every grade
// pair must give the same bits as the reference.
TEST_P(GradeTable, DerivesStrengthsAndStressBlock) {
    const GradeCase& g = GetParam();
    ColumnCalculator c;
    c.setSteelGrade(g.steel);
    c.setConcreteGrade(g.concrete);
    EXPECT_EQ(c.fc, g.fc);
    EXPECT_EQ(c.concreteGrade, static_cast<double>(g.concrete));
    EXPECT_EQ(c.steelGrade, g.steel);
    EXPECT_EQ(c.fy, g.fy);
    EXPECT_EQ(c.Es, g.Es);
    EXPECT_EQ(c.alpha1, g.alpha1);
    EXPECT_EQ(c.beta1, g.beta1);
    EXPECT_EQ(c.xiB, g.xiB);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedGrades, GradeTable,
    testing::Values(
        GradeCase{"C30_HRB400", 3, 30, 14.3, 360.0, 200000.0, 1.0, 0.8, 0.5176470588235295},
        GradeCase{"C30_HRB335", 2, 30, 14.3, 300.0, 200000.0, 1.0, 0.8, 0.55},
        GradeCase{"C30_HPB235", 1, 30, 14.3, 210.0, 210000.0, 1.0, 0.8, 0.6139534883720931},
        GradeCase{"C50_HRB400", 3, 50, 23.1, 360.0, 200000.0, 1.0, 0.8, 0.5176470588235295},
        GradeCase{"C55_HRB400", 3, 55, 25.3, 360.0, 200000.0, 0.99, 0.794, 0.510990099009901},
        GradeCase{"C80_HRB400", 3, 80, 35.9, 360.0, 200000.0, 0.94, 0.764, 0.4775},
        GradeCase{"C80_HRB335", 2, 80, 35.9, 300.0, 200000.0, 0.94, 0.764, 0.5093333333333333},
        GradeCase{"C80_HPB235", 1, 80, 35.9, 210.0, 210000.0, 0.94, 0.764, 0.5730000000000001},
        GradeCase{"Code4_C30", 4, 30, 14.3, 360.0, 200000.0, 1.0, 0.8, 0.5176470588235295}),
    [](const testing::TestParamInfo<GradeCase>& p) { return std::string(p.param.name); });

TEST(ConcreteTable, AllFourteenGradesHaveTheirStrength) {
    const double expected[] = {7.2,  9.6,  11.9, 14.3, 16.7, 19.1, 21.1,
                               23.1, 25.3, 27.5, 29.7, 31.8, 33.8, 35.9};
    ColumnCalculator c;
    c.setSteelGrade(3);
    for (int i = 0; i < 14; ++i) {
        c.setConcreteGrade(15 + 5 * i);
        EXPECT_EQ(c.fc, expected[i]) << "C" << 15 + 5 * i;
    }
}

TEST(ConcreteTable, UnlistedGradeKeepsStrengthButRederivesTheStressBlock) {
    ColumnCalculator c;
    c.setSteelGrade(3);
    c.setConcreteGrade(30);
    c.setSteelGrade(2);  // fy 300 without rederiving xiB
    EXPECT_EQ(c.xiB, 0.5176470588235295);
    c.setConcreteGrade(32);
    EXPECT_EQ(c.fc, 14.3);
    EXPECT_EQ(c.concreteGrade, 30.0);
    EXPECT_EQ(c.xiB, 0.55);  // now from HRB335's fy
}

TEST(SteelTable, UnknownCodesAreStoredButKeepTheStrengths) {
    for (int code : {0, 5, -1}) {
        ColumnCalculator c;
        c.setSteelGrade(3);
        c.setSteelGrade(code);
        EXPECT_EQ(c.steelGrade, code);
        EXPECT_EQ(c.fy, 360.0);
        EXPECT_EQ(c.Es, 200000.0);
    }
}

TEST(Construction, ToleranceIsTenSquareMillimetres) {
    EXPECT_EQ(ColumnCalculator().tolerance, 10.0);
}

}  // namespace
