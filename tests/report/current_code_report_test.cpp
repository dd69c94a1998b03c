#include "report/current_code_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>

#include "engine/current_code/bar_layout.h"
#include "engine/current_code/current_code_design.h"
#include "engine/current_code/current_code_rules.h"
#include "engine/current_code/second_order.h"
#include "report/current_code_format.h"
#include "report/current_code_json.h"
#include "report/gbk_text.h"
#include "report/number_text.h"
#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

// The start-up column designed with 4Φ25 + 3Φ20 per face along b + 2Φ20 per face along h, the
// check figures set by hand: the text is what is tested here, not the numbers behind it.
CurrentCodeDesign startUpDesign() {
    CurrentCodeDesign d;
    d.lcX = 6000.0;
    d.lcY = 6000.0;
    d.cover = 20.0;
    d.materials = materials2010(30, SteelGrade2010::HRB400);
    d.limits = detailingLimits(d.column, 20.0);
    d.designed = true;
    d.layout = placeLayout({400.0, 600.0, 20.0, 8.0}, {25, 20, 3, 2});
    d.layoutsConsidered = 812;
    CombinationCheck c;
    c.demand = combinationDemand({400.0, 244.0, 1.0, 120.0, 1.0}, 400.0, 600.0, 6000.0, 6000.0,
                                 40.5, 14.3);
    c.MxR = 300.25;
    c.MyR = 169.126;
    c.utilisation = 0.8948;
    c.axialLimit = 3956.2;
    c.axialRatio = 0.1011;
    c.Nux = 700.04;
    c.Nuy = 1100.0;
    c.Nu0 = 5270.0;
    c.Nu = 453.0;
    c.carried = true;
    d.combinations = {c};
    d.governing = 0;
    return d;
}

TEST(CurrentCodeReport, LayoutNotation) {
    EXPECT_EQ(layoutNotation({25, 20, 3, 2}), "角筋 4Φ25；b边每侧 3Φ20；h边每侧 2Φ20");
    EXPECT_EQ(layoutNotation({20, 20, 0, 0}), "角筋 4Φ20");
    EXPECT_EQ(layoutNotation({22, 16, 0, 2}), "角筋 4Φ22；h边每侧 2Φ16");
}

TEST(CurrentCodeReport, NoLayoutReasons) {
    CurrentCodeDesign d;
    d.column.seismic = SeismicGrade::Three;
    d.reason = {NoLayoutKind::AxialRatioExceeded, 1, 0.8741, 0.85};
    EXPECT_EQ(noLayoutReasonText(d),
              "第2组荷载组合的轴压比0.87超过三级框架结构柱的限值0.85(GB 50011 表6.3.6)");
    d.column.seismic = SeismicGrade::One;
    d.column.structure = StructureType::Dual;
    d.reason = {NoLayoutKind::AxialRatioExceeded, 0, 0.7649, 0.75};
    EXPECT_EQ(noLayoutReasonText(d),
              "第1组荷载组合的轴压比0.76超过一级框架-抗震墙等双重体系的柱"
              "的限值0.75(GB 50011 表6.3.6)");

    d.reason = {NoLayoutKind::NoDetailedLayout, -1, 0.0, 0.0};
    EXPECT_EQ(noLayoutReasonText(d),
              "截面过小：没有满足构造要求(纵筋直径、净距、中距、配筋率)的对称配筋方案");

    d.layout = placeLayout({400.0, 600.0, 20.0, 8.0}, {28, 28, 4, 6});
    d.combinations.resize(3);
    d.combinations[2].utilisation = 1.374;
    d.combinations[2].axialRatio = 0.6;
    d.reason = {NoLayoutKind::NotCarried, 2, 1.374, 0.0487};
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4Φ28；b边每侧 4Φ28；h边每侧 6Φ28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(利用率 1.37)");
    d.combinations[2].utilisation = 0.95;  // carried in bending; the axial limit fails
    d.combinations[2].axialRatio = 1.118;
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4Φ28；b边每侧 4Φ28；h边每侧 6Φ28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(N/(0.9φ(fcA + fy'As')) = 1.12)");
    // A utilisation of 10^300 (N just short of the section's capacity) in a few characters.
    d.combinations[2].utilisation = 1e300;
    d.reason = {NoLayoutKind::NotCarried, 2, 1e300, 0.0487};
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4Φ28；b边每侧 4Φ28；h边每侧 6Φ28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(利用率 1.00e+300)");
    d.reason = {};
    EXPECT_EQ(noLayoutReasonText(d), "");
}

// Figures of 10^9 and more as a mantissa and a power of ten; below, as they always were.
TEST(CurrentCodeReport, LargeFiguresStayShort) {
    EXPECT_EQ(fixedText(999999999.994, 2), "999999999.99");
    EXPECT_EQ(fixedText(1e9, 2), "1.00e+9");
    EXPECT_EQ(fixedText(-2.5e12, 3), "-2.500e+12");
    EXPECT_EQ(fixedText(9.9999e9, 2), "1.00e+10");  // 9.9999 rounds to 10.00
    EXPECT_EQ(fixedText(1.7976931348623157e308, 1), "1.8e+308");
    EXPECT_EQ(fixedText(std::numeric_limits<double>::infinity(), 2), "∞");
}

// A section for which no layout meets the detailing rules: which least ratio is out of reach,
// and whether thicker bars (a larger cover) would reach it.
TEST(CurrentCodeReport, NoDetailedLayoutNamesWhatLimitsIt) {
    const LoadCombination loads[] = {{400.0, 244.0, 1.0, 120.0, 1.0}};
    // 5000 x 5000: one face 0.158 % with 28 mm bars (c + ds = 28); 40 mm bars with a larger
    // cover take 53 web bars a face, 55 * 1256.6 / 25e6 = 0.276 % >= 0.2 %.
    CurrentCodeColumn wide;
    wide.b = 5000.0;
    wide.h = 5000.0;
    EXPECT_EQ(noLayoutReasonText(designCurrentCode(wide, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时每侧纵筋"
              "配筋率最大为0.16%，小于一侧纵筋最小配筋率0.20%(8.5.1)；加大保护层厚度或箍筋直径"
              "可采用更粗的纵筋");
    // 130 x 1000: only 12 mm bars fit across b, its faces 2 * 113.1 / 130000 = 0.174 %; thicker
    // bars do not fit at all, so no advice about the cover.
    CurrentCodeColumn narrow;
    narrow.b = 130.0;
    narrow.h = 1000.0;
    EXPECT_EQ(noLayoutReasonText(designCurrentCode(narrow, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时每侧纵筋"
              "配筋率最大为0.17%，小于一侧纵筋最小配筋率0.20%(8.5.1)");
    // 3000 x 3000 grade 一 corner column: all bars 1.01 % < 1.15 % (8.5.1, GB 50011 6.3.7).
    CurrentCodeColumn seismic;
    seismic.b = 3000.0;
    seismic.h = 3000.0;
    seismic.seismic = SeismicGrade::One;
    seismic.position = ColumnPosition::Corner;
    EXPECT_EQ(noLayoutReasonText(designCurrentCode(seismic, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时全部纵筋"
              "配筋率最大为1.01%，小于全部纵筋最小配筋率1.15%(8.5.1、GB 50011 6.3.7)；加大保护层"
              "厚度或箍筋直径可采用更粗的纵筋");
}

// Lines of the report, clause by clause, with the figures of the worked column (see the
// second-order tests: etaNs 1.0683150 and 1.1944411, M 260.67 and 143.33 kN*m).
TEST(CurrentCodeReport, ClauseByClauseLines) {
    const std::string text = currentCodeReportText(startUpDesign());
    const char* lines[] = {
        "柱截面尺寸：b×h = 400×600 mm\r\n",
        "构件支撑点之间的长度(6.2.3)：x方向 lc = 6000 mm(取l0)，y方向 lc = 6000 mm(取l0)\r\n",
        "混凝土保护层厚度(至箍筋外边)：c = 20 mm(默认值，8.2.1)；箍筋直径 ds = 8 mm\r\n",
        "抗震等级：非抗震\r\n",
        "全部纵筋最小配筋率：0.55%(8.5.1)\r\n",
        "稳定系数(表6.2.15)：l0/b = 15.00，φ = 0.8950(表中两行之间按线性插值)\r\n",
        // lc/i = 6000 / 173.21 = 34.64 > 34 - 12 = 22.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for width
        "    二阶效应判别(6.2.3)：M1/M2 = 1.00 > 0.9；N/(fcA) = 0.117 ≤ 0.9；lc/i = "
        "6000/173.21 = 34.64 > 34-12(M1/M2) = 22.00\r\n",
        "    h0 = D - a = 600 - 40.5 = 559.5 mm；M2/N = 610.00 mm\r\n",
        "    ηns = 1 + (lc/D)^2·ζc/(1300(M2/N + ea)/h0) = 1.0683\r\n",
        "    Mx = Cm·ηns·M2 = 260.67 kN.m\r\n",
        "    My = Cm·ηns·M2 = 143.33 kN.m\r\n",
        "  设计内力：N = 400.00 kN，Mx = N·eix = 268.67 kN.m，My = N·eiy = 151.33 kN.m\r\n",
        "选用配筋：角筋 4Φ25；b边每侧 3Φ20；h边每侧 2Φ20，共 14 根\r\n",
        // As = pi/4 * 6500 = 5105.1, rho = 2.13 %.
        "全部纵筋 As = 5105.1 mm2，ρ = As/(bh) = 2.13%(0.55% ≤ ρ ≤ 5%)\r\n",
        "  MxR = 300.25 kN.m，MyR = 169.13 kN.m，利用率 = 0.895 ≤ 1，满足\r\n",
        "控制组合：组合1(利用率 0.895，N/(0.9φ(fcA + fy'As')) = 0.101)\r\n",
        "结论：角筋 4Φ25；b边每侧 3Φ20；h边每侧 2Φ20，满足全部荷载组合的承载力及构造要求\r\n",
    };
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << line;
    // Every line ends in CR LF.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << i;
        }
    }
}

// The file holds the text in GBK; Result.txt is never touched. A directory in its place is a
// failure naming the file and the system's reason.
TEST(CurrentCodeReport, WrittenInGbkBesideTheOldReport) {
    ScratchDirectory scratch;
    const CurrentCodeDesign d = startUpDesign();
    ASSERT_TRUE(writeCurrentCodeReport(d).ok);
    const std::string bytes = readFileBytes("Result-GB2010.txt");
    EXPECT_EQ(bytes, utf8ToGbk(currentCodeReportText(d)));
    EXPECT_EQ(gbkToUtf8(bytes), currentCodeReportText(d));  // nothing lost to '?'
    struct stat info {};
    EXPECT_NE(::stat("Result.txt", &info), 0);

    ::mkdir("blocked", 0777);
    const FileResult failed = writeCurrentCodeReport(d, "blocked");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.fileName, "blocked");
    EXPECT_EQ(failed.reason, "Is a directory");
}

// The JSON object: 4Φ20 in 400 x 600 (centres 20 + 8 + 10 = 38 from the faces: u = +-262,
// v = +-162; As = 4 * 314.159 = 1256.637 mm^2, rho = 1256.637 / 240000).
TEST(CurrentCodeJson, FieldsOfADesignAndOfNoLayout) {
    CurrentCodeDesign d;
    d.designed = true;
    d.layout = placeLayout({400.0, 600.0, 20.0, 8.0}, {20, 20, 0, 0});
    CombinationCheck c;
    c.demand.N = 400.0;
    c.demand.Mx = 268.5;
    c.demand.My = 151.25;
    c.demand.x.etaNs = 1.0625;
    c.demand.y.etaNs = 1.25;
    c.demand.x.Cm = 1.0;
    c.demand.y.Cm = 0.7;
    c.utilisation = 0.875;
    c.axialRatio = 0.125;
    d.combinations = {c};
    d.governing = 0;
    const std::string area = formatShortest(d.layout->steelArea);
    EXPECT_EQ(currentCodeJson(d),
              "{\"status\": \"designed\", \"reason\": \"\", \"cornerDiameter\": 20, "
              "\"webDiameter\": 20, \"webBarsAlongB\": 0, \"webBarsAlongH\": 0, \"bars\": "
              "[{\"u\": 262, \"v\": 162, \"d\": 20}, {\"u\": 262, \"v\": -162, \"d\": 20}, "
              "{\"u\": -262, \"v\": 162, \"d\": 20}, {\"u\": -262, \"v\": -162, \"d\": 20}], "
              "\"steelArea\": " +
                  area + ", \"ratio\": " + formatShortest(d.layout->ratio) +
                  ", \"combinations\": [{\"N\": 400, \"Mx\": 268.5, \"My\": 151.25, "
                  "\"etaNsX\": 1.0625, \"etaNsY\": 1.25, \"CmX\": 1, \"CmY\": 0.7, "
                  "\"utilisation\": 0.875, \"axialRatio\": 0.125}], \"governing\": 0}\n");
    EXPECT_NEAR(d.layout->steelArea, 1256.637, 1e-3);

    d.designed = false;
    d.column.seismic = SeismicGrade::Three;
    d.reason = {NoLayoutKind::AxialRatioExceeded, 0, 0.8741, 0.85};
    d.combinations[0].utilisation = std::numeric_limits<double>::infinity();
    EXPECT_EQ(currentCodeJson(d),
              "{\"status\": \"no-layout\", \"reason\": \"第1组荷载组合的轴压比0.87超过三级框架结构"
              "柱的限值0.85(GB 50011 表6.3.6)\", \"cornerDiameter\": null, \"webDiameter\": null, "
              "\"webBarsAlongB\": null, \"webBarsAlongH\": null, \"bars\": [], \"steelArea\": "
              "null, \"ratio\": null, \"combinations\": [{\"N\": 400, \"Mx\": 268.5, \"My\": "
              "151.25, \"etaNsX\": 1.0625, \"etaNsY\": 1.25, \"CmX\": 1, \"CmY\": 0.7, "
              "\"utilisation\": null, \"axialRatio\": null}], \"governing\": 0}\n");
}

}  // namespace
}  // namespace tessarin
