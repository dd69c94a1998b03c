#include "report/section_check_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/section/section_check.h"
#include "tests/engine/design_cases.h"

using namespace tessarin;

namespace {

// The start-up design case after step 2 with 22 mm corner bars (scheme 1).
SectionCheckResult startUpCheck() {
    ColumnCalculator c = step1(DesignCase{});
    c.computeStep2(1, 22.0, 0.0, 0.0);
    return SectionCheck(c.design()).run(SectionCheck::Contour::Skipped);
}

// 400 x 600 C30 HRB400 with 40 mm to the bars, scheme 1, no magnification; the areas and the
// demand as each case sets them.
ColumnCalculator record() {
    ColumnCalculator c;
    c.setSteelGrade(3);
    c.setConcreteGrade(30);
    c.setGeometry(6000.0, 400.0, 600.0);
    c.setBarDistances(40.0, 40.0);
    c.scheme = 1;
    c.etaX = 1.0;
    c.etaY = 1.0;
    return c;
}

// The block as tessarin-cli --check prints it for the start-up case, byte for byte: the README's
// figures (N0 4701.08 kN, MxR 287.33, MyR 162.04 kN*m, utilisation 0.933, 1.53 %), the web bars
// 707.745633 / 3 = 235.92 and 367.516613 / 3 = 122.51, N/N0 = 400 / 4701.08 = 0.0851.
TEST(SectionCheckSummary, StartUpCaseByteForByte) {
    EXPECT_EQ(formatSectionCheckSummary(startUpCheck()),
              "截面验算\n"
              "计算模型：应变协调法，平截面假定，截面最大受压角点应变达到εcu；混凝土抛物线-矩形"
              "应力图(n=2.000，ε0=0.00200，εcu=0.00330)，不计受拉；钢筋理想弹塑性，扣除钢筋所占"
              "混凝土；混凝土按条带精确积分\n"
              "钢筋布置(mm*mm)：角筋 4×380.13；垂直于X轴两对边腹部各 3×235.92；垂直于Y轴两对边"
              "腹部各 3×122.51；合计 3671.06\n"
              "设计内力：N = 400.00 kN，Mx = 268.00 kN.m，My = 151.14 kN.m\n"
              "轴压承载力：N0 = 4701.08 kN，N/N0 = 0.0851\n"
              "受弯承载力(同一轴力、同一弯矩方向)：MxR = 287.33 kN.m，MyR = 162.04 kN.m\n"
              "利用率 |M|/|MR| = 0.933，满足\n"
              "配筋率：全部纵筋 1.53%，垂直于X轴一侧 0.61%，垂直于Y轴一侧 0.47%\n");
    EXPECT_EQ(sectionCheckFlags(startUpCheck()), "");
}

TEST(SectionCheckSummary, ReportsExceededAxialCapacityClampingAndWarnings) {
    ColumnCalculator c = record();
    c.Asc = 100;
    c.Aswx = -20;
    c.N = 4000;  // N0 = 14.3 * (240000 - 400) + 360 * 400 = 3570280 N
    c.eix = 20;
    const SectionCheckResult r = SectionCheck(c.design()).run();
    const std::string text = formatSectionCheckSummary(r);
    // The note follows the layout, the capacity line gives way, the warnings close the block:
    // 400 mm2 = 0.17 % < 0.50 % in all, 200 mm2 = 0.08 % < 0.20 % on a side.
    const auto at = [&text](const char* part) { return text.find(part); };
    EXPECT_LT(at("钢筋布置"), at("注意：设计钢筋面积为负值，验算中按0计\n设计内力"));
    EXPECT_NE(at("轴力超过截面轴压承载力，截面不能再承受弯矩：利用率 = ∞，不满足\n"),
              std::string::npos);
    EXPECT_EQ(at("受弯承载力"), std::string::npos);
    EXPECT_LT(at("配筋率：全部纵筋 0.17%"), at("警告：全部纵筋配筋率小于最小配筋率 0.50%\n"
                                               "警告：一侧纵筋配筋率小于 0.20%\n"));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(sectionCheckFlags(r),
              "axialCapacityExceeded;negativeAreaClamped;totalRatioBelowMinimum;"
              "oneSideRatioBelowMinimum");
}

// Each finding alone: the name batch lists and the line shown, with its limit.
struct FindingCase {
    const char* name;
    bool SectionCheckResult::*flag;
    const char* line;
};

class OneFinding : public ::testing::TestWithParam<FindingCase> {};

TEST_P(OneFinding, NamesItselfAndShowsItsLimit) {
    const FindingCase& k = GetParam();
    SectionCheckResult r;
    r.minimumTotalRatio = 0.006;
    r.minimumOneSideRatio = 0.002;
    r.maximumTotalRatio = 0.05;
    r.*k.flag = true;
    EXPECT_EQ(sectionCheckFlags(r), k.name);
    int shown = 0;
    for (const SectionCheckFinding& finding : sectionCheckFindings()) {
        if (r.*finding.flag) {
            EXPECT_EQ(findingText(finding, r), k.line);
            ++shown;
        }
    }
    EXPECT_EQ(shown, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OneFinding,
    ::testing::Values(
        FindingCase{"axialCapacityExceeded", &SectionCheckResult::axialCapacityExceeded,
                    "轴力超过截面轴压承载力，截面不能再承受弯矩"},
        FindingCase{"negativeAreaClamped", &SectionCheckResult::negativeAreaClamped,
                    "注意：设计钢筋面积为负值，验算中按0计"},
        // 0.006 -> 0.60 %
        FindingCase{"totalRatioBelowMinimum", &SectionCheckResult::totalRatioBelowMinimum,
                    "警告：全部纵筋配筋率小于最小配筋率 0.60%"},
        FindingCase{"oneSideRatioBelowMinimum", &SectionCheckResult::oneSideRatioBelowMinimum,
                    "警告：一侧纵筋配筋率小于 0.20%"},
        FindingCase{"totalRatioAboveMaximum", &SectionCheckResult::totalRatioAboveMaximum,
                    "警告：全部纵筋配筋率大于 5.00%"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
