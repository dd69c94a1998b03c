#include "run/gb2010_input.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace tessarin {
namespace {

using F = Gb2010Field;

Gb2010Input twoCombinations() {
    Gb2010Input input;
    input.combinations = {{400.0, 244.0, 1.0, 120.0, 1.0}, {2500.0, 150.0, -0.5, 60.0, 0.3}};
    return input;
}

// Each check with its field, its combination and its message; the first failure wins.
TEST(Gb2010InputCheck, EachFieldWithItsRange) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::function<void(Gb2010Input&)> change;
        F field;
        int combination;
        const char* message;
    };
    const Case cases[] = {
        {"l0 zero", [](auto& in) { in.column.l0 = 0.0; }, F::L0, -1,
         "柱计算长度l0应为大于零的数(mm)"},
        {"b negative", [](auto& in) { in.column.b = -400.0; }, F::B, -1,
         "柱截面宽度b应为大于零的数(mm)"},
        {"h not a number", [kNan](auto& in) { in.column.h = kNan; }, F::H, -1,
         "柱截面高度h应为大于零的数(mm)"},
        {"lc x zero", [](auto& in) { in.column.lcX = 0.0; }, F::LcX, -1,
         "x方向构件支撑点之间的长度lc应为大于零的数(mm)"},
        {"lc y negative", [](auto& in) { in.column.lcY = -1.0; }, F::LcY, -1,
         "y方向构件支撑点之间的长度lc应为大于零的数(mm)"},
        {"C15 is not a current grade", [](auto& in) { in.column.concreteGrade = 15; }, F::Concrete,
         -1, "混凝土强度等级应为C20～C80(按5递增)"},
        {"cover 14.9", [](auto& in) { in.column.cover = 14.9; }, F::Cover, -1,
         "混凝土保护层厚度c(至箍筋外边)应在15～75mm之间"},
        {"cover 75.1", [](auto& in) { in.column.cover = 75.1; }, F::Cover, -1,
         "混凝土保护层厚度c(至箍筋外边)应在15～75mm之间"},
        {"stirrup 5", [](auto& in) { in.column.stirrup = 5.0; }, F::Stirrup, -1,
         "箍筋直径应在6～16mm之间"},
        {"stirrup 17", [](auto& in) { in.column.stirrup = 17.0; }, F::Stirrup, -1,
         "箍筋直径应在6～16mm之间"},
        {"no combination", [](auto& in) { in.combinations.clear(); }, F::Combinations, -1,
         "至少应有一组荷载组合"},
        {"N zero in the second", [](auto& in) { in.combinations[1].N = 0.0; }, F::N, 1,
         "第2组荷载组合：轴向压力N应为大于零的数(kN)"},
        {"M2x negative", [](auto& in) { in.combinations[0].M2x = -1.0; }, F::M2x, 0,
         "第1组荷载组合：x方向杆端较大弯矩M2x应为不小于零的数(kN.m)"},
        {"M1/M2 x below -1", [](auto& in) { in.combinations[1].m1m2X = -1.01; }, F::M1m2X, 1,
         "第2组荷载组合：x方向杆端弯矩比M1/M2应在-1～1之间"},
        {"M2y negative", [](auto& in) { in.combinations[1].M2y = -0.5; }, F::M2y, 1,
         "第2组荷载组合：y方向杆端较大弯矩M2y应为不小于零的数(kN.m)"},
        {"M1/M2 y above 1", [](auto& in) { in.combinations[0].m1m2Y = 1.5; }, F::M1m2Y, 0,
         "第1组荷载组合：y方向杆端弯矩比M1/M2应在-1～1之间"},
        // 150 - 2 * (20 + 8) - 2 * 12 = 70 fits; 130 - 56 - 24 = 50 fits just; 129 leaves 49.
        {"b = 129 too small for 4Φ12", [](auto& in) { in.column.b = 129.0; }, F::B, -1,
         "截面过小：截面宽度b=129mm，扣除两侧保护层和箍筋后两根Φ12角筋的净距为49.0mm，"
         "小于50mm，放不下最小纵筋4Φ12"},
        // cover 40: 150 - 2 * (40 + 8) - 24 = 30.
        {"h = 150 with cover 40",
         [](auto& in) {
             in.column.h = 150.0;
             in.column.cover = 40.0;
         },
         F::H, -1,
         "截面过小：截面高度h=150mm，扣除两侧保护层和箍筋后两根Φ12角筋的净距为30.0mm，"
         "小于50mm，放不下最小纵筋4Φ12"},
        // The upper ends of the ranges; the messages name the field, the value and the limit.
        {"l0 50.001 m", [](auto& in) { in.column.l0 = 50001.0; }, F::L0, -1,
         "柱计算长度l0=50001mm超出适用范围，应不大于50000mm"},
        {"b of a kilometre", [](auto& in) { in.column.b = 1e6; }, F::B, -1,
         "柱截面宽度b=1000000mm超出适用范围，应不大于5000mm"},
        {"h infinite", [](auto& in) { in.column.h = std::numeric_limits<double>::infinity(); },
         F::H, -1, "柱截面高度h=infmm超出适用范围，应不大于5000mm"},
        {"lc x 60 m", [](auto& in) { in.column.lcX = 60000.0; }, F::LcX, -1,
         "x方向构件支撑点之间的长度lc=60000mm超出适用范围，应不大于50000mm"},
        {"lc y 50000.5", [](auto& in) { in.column.lcY = 50000.5; }, F::LcY, -1,
         "y方向构件支撑点之间的长度lc=50000.5mm超出适用范围，应不大于50000mm"},
        // 1e-320 is the subnormal 2024 * 2^-1074 = 9.99988867182683e-321.
        {"N near zero", [](auto& in) { in.combinations[1].N = 1e-320; }, F::N, 1,
         "第2组荷载组合：轴向压力N=9.99988867182683e-321kN过小，应不小于0.1kN"
         "(轴力接近零的构件应按受弯构件设计)"},
        {"N 0.09", [](auto& in) { in.combinations[0].N = 0.09; }, F::N, 0,
         "第1组荷载组合：轴向压力N=0.09kN过小，应不小于0.1kN(轴力接近零的构件应按受弯构件设计)"},
        {"N above 10^6 kN", [](auto& in) { in.combinations[0].N = 1.5e6; }, F::N, 0,
         "第1组荷载组合：轴向压力N=1500000kN超出适用范围，应不大于1000000kN"},
        {"M2x 10^7", [](auto& in) { in.combinations[1].M2x = 1e7; }, F::M2x, 1,
         "第2组荷载组合：x方向杆端较大弯矩M2x=10000000kN.m超出适用范围，应不大于1000000kN.m"},
        {"M2y 2e300", [](auto& in) { in.combinations[0].M2y = 2e300; }, F::M2y, 0,
         "第1组荷载组合：y方向杆端较大弯矩M2y=2e+300kN.m超出适用范围，应不大于1000000kN.m"},
        {"l0 wins over the later b",
         [](auto& in) {
             in.column.l0 = 0.0;
             in.column.b = 0.0;
         },
         F::L0, -1, "柱计算长度l0应为大于零的数(mm)"},
    };
    for (const Case& c : cases) {
        Gb2010Input input = twoCombinations();
        c.change(input);
        const auto finding = validateGb2010Input(input);
        ASSERT_TRUE(finding.has_value()) << c.what;
        EXPECT_EQ(finding->field, c.field) << c.what;
        EXPECT_EQ(finding->combination, c.combination) << c.what;
        EXPECT_EQ(finding->message, c.message) << c.what;
    }
}

// The limits themselves are allowed: cover 15 and 75, stirrup 6 and 16, M1/M2 -1 and 1, moments
// 0, b = 130 (130 - 56 - 24 = 50 clear), sides of 5 m, lengths of 50 m, N from 0.1 to 10^6 kN,
// moments of 10^6 kN.m, C25 with its 25 mm default cover in 150 x 150
// (150 - 66 - 24 = 60).
TEST(Gb2010InputCheck, LimitsThemselvesAccepted) {
    const std::function<void(Gb2010Input&)> changes[] = {
        [](auto& in) { in.column.cover = 15.0; },
        [](auto& in) { in.column.cover = 75.0; },
        [](auto& in) { in.column.stirrup = 6.0; },
        [](auto& in) { in.column.stirrup = 16.0; },
        [](auto& in) { in.combinations[0].m1m2X = -1.0; },
        [](auto& in) { in.combinations[0].m1m2Y = 1.0; },
        [](auto& in) { in.combinations[1].M2x = 0.0; },
        [](auto& in) { in.column.b = 130.0; },
        // The upper ends themselves, and the least axial force.
        [](auto& in) {
            in.column.b = 5000.0;
            in.column.h = 5000.0;
            in.column.l0 = 50000.0;
            in.column.lcX = 50000.0;
            in.column.lcY = 50000.0;
        },
        [](auto& in) {
            in.combinations[0].N = 0.1;
            in.combinations[1].N = 1e6;
            in.combinations[1].M2x = 1e6;
            in.combinations[1].M2y = 1e6;
        },
        [](auto& in) {
            in.column.concreteGrade = 25;
            in.column.b = 150.0;
            in.column.h = 150.0;
        },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        Gb2010Input input = twoCombinations();
        changes[i](input);
        const auto finding = validateGb2010Input(input);
        EXPECT_FALSE(finding.has_value()) << i << ": " << (finding ? finding->message : "");
    }
}

// Frame-supporting columns of grade 三 or 四 are refused at the input with a message; grade 二 is
// accepted; a clear height must be a positive number.
TEST(Gb2010InputCheck, FrameSupportingGradesAndClearHeight) {
    Gb2010Input input;
    input.column.structure = StructureType::FrameSupported;
    input.column.seismic = SeismicGrade::Three;
    auto finding = validateGb2010Input(input);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(finding->field, Gb2010Field::Structure);
    EXPECT_EQ(finding->message,
              "部分框支抗震墙结构的框支柱抗震等级应为一级或二级(GB 50011 表6.3.6)");
    input.column.seismic = SeismicGrade::Four;
    EXPECT_TRUE(validateGb2010Input(input).has_value());
    input.column.seismic = SeismicGrade::Two;
    EXPECT_FALSE(validateGb2010Input(input).has_value());
    input.column.hn = 0.0;
    finding = validateGb2010Input(input);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(finding->field, Gb2010Field::Hn);
    EXPECT_EQ(finding->message, "柱净高Hn应为大于零的数(mm)");
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

// A shear that is no number is refused naming the field and the combination; any sign is taken.
TEST(Gb2010Input, ShearsMustBeNumbers) {
    Gb2010Input input;
    input.combinations = {LoadCombination{}, LoadCombination{}};
    input.combinations[0].Vx = -200.0;
    EXPECT_FALSE(validateGb2010Input(input).has_value());
    input.combinations[1].Vy = std::numeric_limits<double>::quiet_NaN();
    const auto finding = validateGb2010Input(input);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(finding->field, Gb2010Field::Vy);
    EXPECT_EQ(finding->combination, 1);
    EXPECT_EQ(finding->message, "第2组荷载组合：y方向剪力设计值Vy应为数(kN)");
}

}  // namespace
}  // namespace tessarin
