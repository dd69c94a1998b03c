#include "report/gb2010_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <limits>

#include "engine/gb2010/bar_layout.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"
#include "engine/gb2010/second_order.h"
#include "report/gb2010_format.h"
#include "report/gb2010_json.h"
#include "report/report_file.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"
#include "text/number_text.h"

namespace tessarin {
namespace {

// The start-up column designed with 4Φ25 + 3Φ20 per face along b + 2Φ20 per face along h, the
// check figures set by hand: the text is what is tested here, not the numbers behind it.
Gb2010Design startUpDesign() {
    Gb2010Design d;
    d.lcX = 6000.0;
    d.lcY = 6000.0;
    d.cover = 20.0;
    d.materials = materials2010(30, SteelGrade2010::HRB400);
    d.limits = detailingLimits(d.column, 20.0);
    d.designed = true;
    d.layout = placeLayout({400.0, 600.0, 20.0, 8.0}, {25, 20, 3, 2});
    d.layoutsConsidered = 812;
    CombinationCheck c;
    c.demand = combinationDemand({400.0, 244.0, 1.0, 120.0, 1.0}, {6000.0, 600.0}, {6000.0, 400.0},
                                 40.5, 14.3);
    c.MxR = 300.25;
    c.MyR = 169.126;
    c.utilisation = 0.8948;
    c.axialCapacity = 3956.2;
    c.axialUtilisation = 0.1011;
    c.Nux = 700.04;
    c.Nuy = 1100.0;
    c.Nu0 = 5270.0;
    c.Nu = 453.0;
    c.carried = true;
    d.combinations = {c};
    d.governing = 0;
    return d;
}

TEST(Gb2010Report, LayoutNotation) {
    // Each grade with its own symbol (A HPB300, B HRB335, C HRB400, D HRB500): a bare Φ would
    // mean HPB300 on a Chinese drawing.
    using G = SteelGrade2010;
    EXPECT_EQ(layoutNotation({25, 20, 3, 2}, G::HRB400), "角筋 4C25；b边每侧 3C20；h边每侧 2C20");
    EXPECT_EQ(layoutNotation({20, 20, 0, 0}, G::HRB500), "角筋 4D20");
    EXPECT_EQ(layoutNotation({22, 16, 0, 2}, G::HRB335), "角筋 4B22；h边每侧 2B16");
    EXPECT_EQ(layoutNotation({14, 14, 1, 0}, G::HPB300), "角筋 4A14；b边每侧 1A14");
    EXPECT_EQ(dxfBarSymbol(G::HPB300), std::string("%%130"));
    EXPECT_EQ(dxfBarSymbol(G::HRB335), std::string("%%131"));
    EXPECT_EQ(dxfBarSymbol(G::HRB400), std::string("%%132"));
    EXPECT_EQ(dxfBarSymbol(G::HRB500), std::string("%%133"));
}

TEST(Gb2010Report, NoLayoutReasons) {
    Gb2010Design d;
    // 400 x 600, Hn = l0 = 6000: lambda = 6000 / (2 x 566) = 5.30 > 2, no short-column note.
    d.column.seismic = SeismicGrade::Three;
    d.limits = detailingLimits(d.column, 20.0);
    d.reason = {NoLayoutKind::AxialRatioExceeded, 1, 0.8741, 0.85};
    EXPECT_EQ(noLayoutReasonText(d),
              "第2组荷载组合的轴压比 μN = N/(fcA) = 0.874超过三级框架结构柱的限值 "
              "0.85(GB 50011 表6.3.6)");
    d.column.seismic = SeismicGrade::One;
    d.column.structure = StructureType::Dual;
    d.limits = detailingLimits(d.column, 20.0);
    d.reason = {NoLayoutKind::AxialRatioExceeded, 0, 0.7649, 0.75};
    EXPECT_EQ(noLayoutReasonText(d),
              "第1组荷载组合的轴压比 μN = N/(fcA) = 0.765超过一级框架-抗震墙等双重体系的柱"
              "的限值 0.75(GB 50011 表6.3.6)");
    // A frame-supporting column of grade 一 in C70 with Hn = 3000: h0 = 600 - 34 = 566 along h,
    // 400 - 34 = 366 along b; lambda = min(3000 / 1132, 3000 / 732) = 2.65 > 2: 0.60 - 0.05.
    d.column.structure = StructureType::FrameSupported;
    d.column.concreteGrade = 70;
    d.column.hn = 3000.0;
    d.limits = detailingLimits(d.column, 20.0);
    d.reason = {NoLayoutKind::AxialRatioExceeded, 0, 0.5626, 0.55};
    EXPECT_EQ(noLayoutReasonText(d),
              "第1组荷载组合的轴压比 μN = N/(fcA) = 0.563超过一级部分框支抗震墙结构的框支柱"
              "的限值 0.60 - 0.05(C70) = 0.55(GB 50011 表6.3.6)");
    // lambda = Hn / (2 x 366) = 1.40 for Hn = 1024.8: below 1.5, special study.
    d.reason = {NoLayoutKind::ShortColumn, -1, 1.4, 1.5};
    EXPECT_EQ(noLayoutReasonText(d),
              "剪跨比 λ = 1.40 < 1.5，轴压比限值应专门研究并采取特殊构造措施(GB 50011 表6.3.6注2)，"
              "本程序不作设计");
    d.column = {};

    d.reason = {NoLayoutKind::NoDetailedLayout, -1, 0.0, 0.0};
    d.limits.maximumBarDiameter = 40.0;
    EXPECT_EQ(noLayoutReasonText(d),
              "截面过小：没有满足构造要求(纵筋直径、净距、中距、配筋率)的对称配筋方案");
    // c + ds = 15 + 6 = 21 (8.2.1): the next bar, 22, needs c >= 16.
    d.column.stirrup = 6.0;
    d.limits.maximumBarDiameter = 21.0;
    EXPECT_EQ(noLayoutReasonText(d),
              "截面过小：没有满足构造要求(纵筋直径、净距、中距、配筋率)的对称配筋方案"
              "；纵筋直径受保护层限制：d ≤ c + ds = 15 + 6 = 21 mm(8.2.1)，采用 C22 需 c ≥ 16 "
              "mm：可加大保护层厚度或加大截面");
    d.column.stirrup = 8.0;
    d.limits.maximumBarDiameter = 28.0;

    d.layout = placeLayout({400.0, 600.0, 20.0, 8.0}, {28, 28, 4, 6});
    d.combinations.resize(3);
    d.combinations[2].utilisation = 1.374;
    d.combinations[2].axialUtilisation = 0.6;
    d.reason = {NoLayoutKind::NotCarried, 2, 1.374, 0.0487};
    // The largest bar is 28 = c + ds = 20 + 8 (8.2.1): the next listed bar, 32, needs c >= 32 - 8
    // = 24, and the reason says so.
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4C28；b边每侧 4C28；h边每侧 6C28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(利用率 1.37)；纵筋直径受保护层限制：d ≤ c + ds = 20 + 8 = "
              "28 mm(8.2.1)，采用 C32 需 c ≥ 24 mm：可加大保护层厚度或加大截面");
    d.combinations[2].utilisation = 0.95;  // carried in bending; the axial limit fails
    d.combinations[2].axialUtilisation = 1.118;
    // With c + ds = 32 + 8 = 40 every listed bar fits: no word on the cover.
    d.limits.maximumBarDiameter = 40.0;
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4C28；b边每侧 4C28；h边每侧 6C28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(N/(0.9φ(fcA + fy'As')) = 1.12)");
    // A utilisation of 10^300 (N just short of the section's capacity) in a few characters.
    d.combinations[2].utilisation = 1e300;
    d.reason = {NoLayoutKind::NotCarried, 2, 1e300, 0.0487};
    EXPECT_EQ(noLayoutReasonText(d),
              "即使采用构造允许的最大配筋(角筋 4C28；b边每侧 4C28；h边每侧 6C28，ρ = 4.87%)，"
              "也不能承受第3组荷载组合(利用率 1.00e+300)");
    d.reason = {};
    EXPECT_EQ(noLayoutReasonText(d), "");
}

// Figures of 10^9 and more as a mantissa and a power of ten; below, as they always were.
TEST(Gb2010Report, LargeFiguresStayShort) {
    EXPECT_EQ(fixedText(999999999.994, 2), "999999999.99");
    EXPECT_EQ(fixedText(1e9, 2), "1.00e+9");
    EXPECT_EQ(fixedText(-2.5e12, 3), "-2.500e+12");
    EXPECT_EQ(fixedText(9.9999e9, 2), "1.00e+10");  // 9.9999 rounds to 10.00
    EXPECT_EQ(fixedText(1.7976931348623157e308, 1), "1.8e+308");
    EXPECT_EQ(fixedText(std::numeric_limits<double>::infinity(), 2), "∞");
}

// A section for which no layout meets the detailing rules: which least ratio is out of reach,
// and whether thicker bars (a larger cover) would reach it.
TEST(Gb2010Report, NoDetailedLayoutNamesWhatLimitsIt) {
    const LoadCombination loads[] = {{400.0, 244.0, 1.0, 120.0, 1.0}};
    // 5000 x 5000: one face 0.158 % with 28 mm bars (c + ds = 28); 40 mm bars with a larger
    // cover take 53 web bars a face, 55 * 1256.6 / 25e6 = 0.276 % >= 0.2 %.
    Gb2010Column wide;
    wide.b = 5000.0;
    wide.h = 5000.0;
    EXPECT_EQ(noLayoutReasonText(designGb2010(wide, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时每侧纵筋"
              "配筋率最大为0.16%，小于一侧纵筋最小配筋率0.20%(8.5.1)；加大保护层厚度或箍筋直径"
              "可采用更粗的纵筋");
    // 130 x 1000: only 12 mm bars fit across b, its faces 2 * 113.1 / 130000 = 0.174 %; thicker
    // bars do not fit at all, so no advice about the cover.
    Gb2010Column narrow;
    narrow.b = 130.0;
    narrow.h = 1000.0;
    EXPECT_EQ(noLayoutReasonText(designGb2010(narrow, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时每侧纵筋"
              "配筋率最大为0.17%，小于一侧纵筋最小配筋率0.20%(8.5.1)");
    // 3000 x 3000 grade 一 corner column: all bars 1.01 % < 1.15 % (8.5.1, GB 50011 6.3.7).
    Gb2010Column seismic;
    seismic.b = 3000.0;
    seismic.h = 3000.0;
    seismic.seismic = SeismicGrade::One;
    seismic.position = ColumnPosition::Corner;
    // Hn = 12000: lambda = 12000 / (2 x 2966) = 2.02, neither a short column (6.3.6 note 2) nor
    // one for special study; with Hn = l0 = 6000 it would be 1.01 < 1.5 and not designed at all.
    seismic.hn = 12000.0;
    EXPECT_EQ(noLayoutReasonText(designGb2010(seismic, loads)),
              "纵筋直径不大于c + ds = 28mm(8.2.1)、净距不小于50mm(9.3.1)，排满纵筋时全部纵筋"
              "配筋率最大为1.01%，小于全部纵筋最小配筋率1.15%(8.5.1、GB 50011 6.3.7)；加大保护层"
              "厚度或箍筋直径可采用更粗的纵筋");
}

// Lines of the report, clause by clause, with the figures of the worked column (see the
// second-order tests: etaNs 1.0683150 and 1.1944411, M 260.67 and 143.33 kN*m).
TEST(Gb2010Report, ClauseByClauseLines) {
    const std::string text = gb2010ReportText(startUpDesign());
    const char* lines[] = {
        // The key of the bar symbols under the title.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for width
        "=\r\n钢筋符号：A-HPB300，B-HRB335，C-HRB400，D-HRB500(如 4C28 为 4 根直径 28mm 的 HRB400 "
        "钢筋)\r\n\r\n",
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
        "选用配筋：角筋 4C25；b边每侧 3C20；h边每侧 2C20，共 14 根\r\n",
        // As = pi/4 * 6500 = 5105.1, rho = 2.13 %.
        "全部纵筋 As = 5105.1 mm2，ρ = As/(bh) = 2.13%(0.55% ≤ ρ ≤ 5%)\r\n",
        "  MxR = 300.25 kN.m，MyR = 169.13 kN.m，利用率 = 0.895 ≤ 1，满足\r\n",
        "控制组合：组合1(利用率 0.895，N/(0.9φ(fcA + fy'As')) = 0.101)\r\n",
        "结论：角筋 4C25；b边每侧 3C20；h边每侧 2C20，满足全部荷载组合的承载力及构造要求\r\n",
    };
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << line;
    // Every line ends in CR LF.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << i;
        }
    }
}

// A grade 三 frame column in C70 with a clear height of 2000: lambda_x = 2000 / (2 x 566) = 1.77,
// lambda_y = 2000 / (2 x 366) = 2.73; the limit 0.85 - 0.05 (C70) - 0.05 (lambda <= 2) = 0.75;
// N / (fc A) = 2000000 / (31.8 x 240000) = 0.262.
TEST(Gb2010Report, AxialRatioLimitWithItsNotes) {
    Gb2010Column column;  // 400 x 600, l0 6000
    column.concreteGrade = 70;
    column.seismic = SeismicGrade::Three;
    column.hn = 2000.0;
    const LoadCombination load{2000.0, 100.0, 1.0, 50.0, 1.0};
    const Gb2010Design d = designGb2010(column, {&load, 1});
    const std::string text = gb2010ReportText(d);
    const char* lines[] = {
        "柱净高：Hn = 2000 mm\r\n",
        "剪跨比(GB 50010 6.3.12、GB 50011 6.2.9)：λx = Hn/(2h0x) = 2000/(2×566.0) = 1.77，"
        "λy = Hn/(2h0y) = 2000/(2×366.0) = 2.73，取较小值 λ = 1.77(h0 按直径12mm的纵筋计算)\r\n",
        "轴压比 μN = N/(fcA) 限值：0.85 - 0.05(C70) - 0.05(λ = 1.77 ≤ 2) = 0.75(GB 50011 "
        "表6.3.6及注，GB 50010 11.4.16，三级框架结构柱，适用于每一组荷载组合)\r\n",
        "  轴压比(GB 50011 6.3.6)：μN = N/(fcA) = 0.262 ≤ 0.75，满足\r\n",
    };
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << line;
    // Without a clear height l0 stands for it, and the report says so.
    column.hn.reset();
    const std::string plain = gb2010ReportText(designGb2010(column, {&load, 1}));
    EXPECT_NE(plain.find("柱净高：Hn = 6000 mm(取l0)\r\n"), std::string::npos);
    EXPECT_NE(plain.find("限值：0.85 - 0.05(C70) = 0.80("), std::string::npos);
    // A frame-supporting column has no position of its own in the echo.
    column.structure = StructureType::FrameSupported;
    column.seismic = SeismicGrade::Two;
    const std::string supported = gb2010ReportText(designGb2010(column, {&load, 1}));
    EXPECT_NE(supported.find("抗震等级：二级，部分框支抗震墙结构的框支柱\r\n"), std::string::npos);
    EXPECT_NE(supported.find("限值：0.70 - 0.05(C70) = 0.65("), std::string::npos);
}

// The file holds the text in GBK; Result.txt is never touched. A directory in its place is a
// failure naming the file and the system's reason.
TEST(Gb2010Report, WrittenInGbkBesideTheOldReport) {
    ScratchDirectory scratch;
    const Gb2010Design d = startUpDesign();
    ASSERT_TRUE(writeGb2010Report(d).ok);
    const std::string bytes = readFileBytes("Result-GB2010.txt");
    EXPECT_EQ(bytes, utf8ToGbk(gb2010ReportText(d)));
    EXPECT_EQ(gbkToUtf8(bytes), gb2010ReportText(d));  // nothing lost to '?'
    struct stat info {};
    EXPECT_NE(::stat("Result.txt", &info), 0);

    ::mkdir("blocked", 0777);
    const FileResult failed = writeGb2010Report(d, "blocked");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.fileName, "blocked");
    EXPECT_EQ(failed.reason, "Is a directory");
}

// Result-GB2010.txt keeps the promises of Result.txt: a link of that name is replaced and the
// file it points at (here outside the folder) keeps its bytes; a named pipe is refused at once
// with its kind, never waited on; the report lock of the folder is taken (a run holding it makes
// the write wait and then say the file is in use).
TEST(Gb2010Report, WrittenAsResultTxtIs) {
    ScratchDirectory scratch;
    const Gb2010Design d = startUpDesign();
    const TemporaryDirectory elsewhere;
    writeFileBytes(elsewhere.file("outside.txt"), "keep");
    std::filesystem::create_symlink(elsewhere.file("outside.txt"), "Result-GB2010.txt");
    ASSERT_TRUE(writeGb2010Report(d).ok);
    EXPECT_FALSE(std::filesystem::is_symlink("Result-GB2010.txt"));
    EXPECT_EQ(readFileBytes("Result-GB2010.txt"), utf8ToGbk(gb2010ReportText(d)));
    EXPECT_EQ(readFileBytes(elsewhere.file("outside.txt")), "keep");

    ASSERT_EQ(::mkfifo("pipe.txt", 0666), 0);
    const FileResult piped = writeGb2010Report(d, "pipe.txt");
    EXPECT_FALSE(piped.ok);
    EXPECT_EQ(piped.reason, "not a regular file but a named pipe (FIFO)");

    ReportFile other("Result.txt", std::chrono::milliseconds(0));
    ASSERT_TRUE(other.own().ok);
    const FileResult busy = writeGb2010Report(d);  // waits kReportOwnerWait, 2 s
    EXPECT_FALSE(busy.ok);
    EXPECT_EQ(busy.reason, kReportInUse);
}

// A uniaxial column says so in its report, its book and its JSON, with the figures of 6.2.15
// across the moment plane. 400 x 600, l0 = 8000, N = 2800 kN, M2y = 20 kN*m, M2x = 0: l0/h =
// 8000/600 = 13.33, phi = 0.95 + (13.333 - 12)/2 x (0.92 - 0.95) = 0.9300; x takes no ea, so eix =
// 0.00 and Mx = 0.00; the axial capacity is 0.9 x 0.93 x (14.3 x 240000 + 360 As) of the bars.
TEST(Gb2010Report, UniaxialColumnSaysWhichDirectionAndChecksTheOtherBy6215) {
    Gb2010Column column;
    column.l0 = 8000.0;
    const LoadCombination load{2800.0, 0.0, 1.0, 20.0, 1.0};
    const Gb2010Design d = designGb2010(column, {&load, 1});
    ASSERT_TRUE(d.designed);
    const double As = d.layout->steelArea;
    const std::string capacity = fixedText(0.9 * 0.93 * (14.3 * 240000.0 + 360.0 * As) / 1000.0, 1);
    const std::string sentence =
        "单向偏心受压：各组合的x方向弯矩 M2x均为零，附加偏心距只计入弯矩作用方向(y方向，6.2.5)；"
        "垂直于弯矩作用平面的x方向不计弯矩，按轴心受压验算(6.2.17、6.2.15)：l0/h = 8000/600 = "
        "13.33，φ = 0.9300";
    const std::string text = gb2010ReportText(d);
    for (const std::string& line :
         {sentence, std::string("稳定系数(表6.2.15，垂直于弯矩作用平面)：l0/h = 13.33，φ = 0.9300"),
          std::string("  x方向(D = h = 600 mm)：各组合弯矩均为零，不计附加偏心距(6.2.5)，"
                      "按轴心受压验算(6.2.15)：ei = 0.00 mm"),
          std::string("Mx = N·eix = 0.00 kN.m"),
          "  垂直于弯矩作用平面按轴心受压(6.2.15)：0.9φ(fcA + fy'As') = " + capacity + " kN"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    // The y direction keeps its own ea = max(20, 400/30) = 20.
    EXPECT_NE(text.find("附加偏心距(6.2.5)：ea = max(20, D/30) = 20.00 mm"), std::string::npos);
    const std::string json = gb2010Json(d);
    EXPECT_NE(json.find("\"uniaxial\": {\"bending\": \"y\", \"note\": \"" + sentence +
                        "\", \"depth\": 600, \"l0OverD\": " + formatShortest(8000.0 / 600.0) +
                        ", \"phi\": "),
              std::string::npos)
        << json;

    // A biaxial column prints none of it.
    const LoadCombination both{2800.0, 1e-9, 1.0, 20.0, 1.0};
    const Gb2010Design biaxial = designGb2010(column, {&both, 1});
    EXPECT_EQ(gb2010ReportText(biaxial).find("单向偏心受压"), std::string::npos);
    EXPECT_EQ(gb2010Json(biaxial).find("uniaxial"), std::string::npos);
}

// The JSON object: 4Φ20 in 400 x 600 (centres 20 + 8 + 10 = 38 from the faces: u = +-262,
// v = +-162; As = 4 * 314.159 = 1256.637 mm^2, rho = 1256.637 / 240000).
TEST(Gb2010Json, FieldsOfADesignAndOfNoLayout) {
    Gb2010Design d;
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
    c.axialCapacity = 3200.0;
    c.axialUtilisation = 0.125;
    c.demand.axialRatio = 0.1165;
    d.combinations = {c};
    d.governing = 0;
    const std::string area = formatShortest(d.layout->steelArea);
    EXPECT_EQ(gb2010Json(d),
              "{\"status\": \"designed\", \"reason\": \"\", \"cornerDiameter\": 20, "
              "\"webDiameter\": 20, \"webBarsAlongB\": 0, \"webBarsAlongH\": 0, "
              "\"webDiameterB\": null, \"webDiameterH\": null, \"bars\": "
              "[{\"u\": 262, \"v\": 162, \"d\": 20}, {\"u\": 262, \"v\": -162, \"d\": 20}, "
              "{\"u\": -262, \"v\": 162, \"d\": 20}, {\"u\": -262, \"v\": -162, \"d\": 20}], "
              "\"steelArea\": " +
                  area + ", \"ratio\": " + formatShortest(d.layout->ratio) +
                  ", \"axialRatioLimit\": null, \"shearSpan\": {\"hn\": 0, \"a\": 0, "
                  "\"h0x\": 0, \"h0y\": 0, \"lambdaX\": 0, \"lambdaY\": 0, \"lambda\": 0}"
                  ", \"combinations\": [{\"N\": 400, \"Mx\": 268.5, \"My\": 151.25, "
                  "\"etaNsX\": 1.0625, \"etaNsY\": 1.25, \"CmX\": 1, \"CmY\": 0.7, "
                  "\"axialRatio\": 0.1165, \"utilisation\": 0.875, \"axialCapacity\": 3200, "
                  "\"axialUtilisation\": 0.125}], \"governing\": 0}\n");
    EXPECT_NEAR(d.layout->steelArea, 1256.637, 1e-3);

    d.designed = false;
    d.column.seismic = SeismicGrade::Three;
    d.column.hn = 2000.0;  // lambda = 2000 / (2 x 566) = 1.767 along h, 2000 / 732 = 2.732 along b
    d.limits = detailingLimits(d.column, 20.0);
    d.reason = {NoLayoutKind::AxialRatioExceeded, 0, 0.8741, 0.80};
    d.combinations[0].utilisation = std::numeric_limits<double>::infinity();
    EXPECT_EQ(gb2010Json(d),
              "{\"status\": \"no-layout\", \"reason\": \"第1组荷载组合的轴压比 μN = N/(fcA) = "
              "0.874超过三级框架结构柱的限值 0.85 - 0.05(λ = 1.77 ≤ 2) = 0.80(GB 50011 表6.3.6)\", "
              "\"cornerDiameter\": null, \"webDiameter\": null, "
              "\"webBarsAlongB\": null, \"webBarsAlongH\": null, \"webDiameterB\": null, "
              "\"webDiameterH\": null, \"bars\": [], \"steelArea\": "
              "null, \"ratio\": null, \"axialRatioLimit\": {\"table\": 0.85, "
              "\"concreteReduction\": 0, \"shortColumnReduction\": 0.05, \"value\": 0.8}, "
              "\"shearSpan\": {\"hn\": 2000, \"a\": 34, \"h0x\": 566, \"h0y\": 366, "
              "\"lambdaX\": " +
                  formatShortest(2000.0 / 1132.0) +
                  ", \"lambdaY\": " + formatShortest(2000.0 / 732.0) +
                  ", \"lambda\": " + formatShortest(2000.0 / 1132.0) +
                  "}, \"combinations\": [{\"N\": 400, \"Mx\": 268.5, \"My\": "
                  "151.25, \"etaNsX\": 1.0625, \"etaNsY\": 1.25, \"CmX\": 1, \"CmY\": 0.7, "
                  "\"axialRatio\": 0.1165, \"utilisation\": null, \"axialCapacity\": null, "
                  "\"axialUtilisation\": null}], \"governing\": 0}\n");
}

// The start-up column with Vx = 150, Vy = 80 kN (non-seismic, biaxial shear), C8@150 with two legs
// each way, Asv = 2 x 50.27 = 100.53 mm2, fyv = 360, ft = 1.43, lambda = 3 (Hn/(2h0) above 3):
//   x: 1.75/4 = 0.4375; 0.4375 x 1.43 x 400 x 558 = 139.64; 360 x 100.53 / 150 x 558 = 134.63;
//      0.07 x 400 = 28.00; Vux = 302.27 kN; 0.25 x 14.3 x 400 x 558 = 797.94 kN
//   y: 0.4375 x 1.43 x 600 x 358 = 134.38; 360 x 100.53 / 150 x 358 = 86.38; Vuy = 248.76 kN
//   sqrt((150/302.27)^2 + (80/248.76)^2) = sqrt(0.24626 + 0.10342) = 0.591 (6.3.17).
// As a seismic combination of a grade 二 column: N/(fcA) = 0.117 < 0.15, gammaRE = 0.75.
TEST(Gb2010Report, StirrupBlockAndKinds) {
    LoadCombination load;
    load.Vx = 150.0;
    load.Vy = 80.0;
    // The worked layout 4C28 with C12 middle bars needs a step of any size (the default step of
    // 2 draws 4C20 + 3C16 / 2C16 instead).
    Gb2010Column column;
    column.barPreferences.maximumSizeStep = 10;
    const ColumnWithStirrups whole = designColumnWithStirrups(column, std::vector{load});
    const std::string text = gb2010ReportText(whole);
    for (const char* line :
         {"    Vx = 150.00 kN，Vy = 80.00 kN；未指明\r\n",
          "      截面限制(6.3.11)：0.25βc·fc·b·h0 = 797.94 kN\r\n",
          // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for width
          "      受剪承载力(6.3.12)：Vu = (0.4375·ft·b·h0 + fyv·Asv/s·h0 + 0.07N) = (139.64 + "
          "134.63 + 28.00) = 302.27 kN\r\n",
          "(134.38 + 86.38 + 28.00) = 248.76 kN\r\n",
          "√((Vx/Vux)^2 + (Vy/Vuy)^2) = 0.591 ≤ 1，满足\r\n",
          "箍筋结论：C8@150，类型 2×2，满足全部荷载组合的受剪承载力及构造要求\r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    // Without kinds and without a grade nothing is said about them; the bars are today's.
    EXPECT_EQ(text.find("γRE"), std::string::npos);
    EXPECT_EQ(layoutNotation(whole.longitudinal.layout->choice, SteelGrade2010::HRB400),
              "角筋 4C28；b边每侧 2C12；h边每侧 1C12");

    Gb2010Column graded;
    graded.seismic = SeismicGrade::Two;
    graded.hn = 3000.0;
    load.kind = CombinationKind::Seismic;
    const std::string seismic =
        gb2010ReportText(designColumnWithStirrups(graded, std::vector{load}));
    EXPECT_NE(seismic.find("  地震组合(GB 50010 11.1.6)：N/(fcA) = 0.117 < 0.15，γRE = 0.75，按 "
                           "γRE·N、γRE·M 与截面承载力比较\r\n"),
              std::string::npos);
    EXPECT_NE(seismic.find("    Vx = 150.00 kN，Vy = 80.00 kN；地震组合\r\n"), std::string::npos);
    load.kind = CombinationKind::Unspecified;
    const std::string unspecified =
        gb2010ReportText(designColumnWithStirrups(graded, std::vector{load}));
    EXPECT_NE(unspecified.find("各荷载组合均未指明是否为地震组合：偏于安全"), std::string::npos);
    EXPECT_EQ(unspecified.find("γRE = 0.7"), std::string::npos);

    // The JSON of the first column: the stirrup and the shear utilisation.
    const std::string json = gb2010Json(whole);
    for (const char* part :
         {"\"stirrups\": {\"status\": \"designed\", \"reason\": \"\", \"diameter\": 8, "
          "\"spacing\": 150, \"denseSpacing\": 150, ",
          "\"legsX\": 2, \"legsY\": 2, ", "\"type\": \"2×2\", \"notation\": \"C8@150\"}",
          "\"kind\": null, \"gammaRE\": 1, \"Vx\": 150, \"Vy\": 80, \"shearUtilisation\": 0.59"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

}  // namespace
}  // namespace tessarin
