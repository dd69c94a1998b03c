#include "batch/gb2010_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "batch/csv_reader.h"
#include "tests/support/scratch_directory.h"
#include "text/number_text.h"

using namespace tessarin;

namespace {

using Status = BatchOutcome::Status;
using Row = std::map<std::string, std::string>;  // column name to cell

struct CodeRun {
    Status status;
    std::string out;
    std::string message;
    std::vector<Row> rows;
};

const char* kHeader =
    "id,l0,b,h,M0x,M0y,N,concrete,steel,m1m2_x,m1m2_y,lc_x,lc_y,cover,stirrup,seismic,structure,"
    "position";
// The start-up column by the current code: 400 x 600, l0 = lc = 6000, C30, HRB400.
const char* kStartUp = "KZ1,6000,400,600,244,120,400,C30,HRB400,,,,,,,,,";

CodeRun runOn(const TemporaryDirectory& dir, const std::vector<std::string>& lines,
              const Gb2010BatchFiles& files = {}, std::size_t budget = std::size_t{8} << 20,
              const char* inputHeader = kHeader) {
    std::string csv = std::string(inputHeader) + "\n";
    for (const std::string& line : lines) csv += line + "\n";
    writeFileBytes(dir.file("columns.csv"), csv);
    BatchOptions options;
    options.input = dir.file("columns.csv");
    options.memoryBudget = budget;
    std::ostringstream out;
    const BatchOutcome outcome = runGb2010Batch(options, files, out);
    CodeRun run{outcome.status, out.str(), outcome.message, {}};
    const std::string text = run.out;
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (file == nullptr) return run;
    CsvReader reader(file);
    std::vector<std::string> header, fields;
    reader.next(header);
    while (reader.next(fields) == CsvReader::Status::Record) {
        EXPECT_EQ(fields.size(), header.size()) << text;
        Row row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            row[header[i]] = fields[i];
        }
        run.rows.push_back(row);
    }
    std::fclose(file);
    return run;
}

double number(const Row& row, const std::string& column) {
    const auto value = parseNumber(row.at(column));
    EXPECT_TRUE(value.has_value()) << column << " = \"" << row.at(column) << "\"";
    return value.value_or(0.0);
}

// The worked layout 4C28 with C12 middle bars is drawn when a middle bar may stand any number of
// sizes below the corner bar (max_size_step 10; the default 2 draws 4C20 + 3C16 / 2C16).
TEST(Gb2010Batch, TheWorkedColumnGetsTheDemandAndLayoutOfTheSingleCase) {
    TemporaryDirectory dir;
    const std::string header = std::string(kHeader) + ",max_size_step";
    const CodeRun run =
        runOn(dir, {std::string(kStartUp) + ",10"}, {}, std::size_t{8} << 20, header.c_str());
    ASSERT_EQ(run.status, Status::AllAccepted) << run.message;
    ASSERT_EQ(run.rows.size(), 2u) << run.out;
    const Row& combination = run.rows[0];
    EXPECT_EQ(combination.at("kind"), "combination");
    EXPECT_EQ(combination.at("line"), "2");
    EXPECT_EQ(combination.at("N"), "400");  // the input as given
    // etaNs,x = 1 + (6000/600)^2 * 1 / (1300 * (610 + 20) / 558) = 1.068132;
    // Mx = 400 * (1.068132 * 244 * 1000 / 400 + 20) / 1000 = 268.624 kN*m.
    EXPECT_NEAR(number(combination, "etaNsX"), 1.068132, 5e-7);
    EXPECT_NEAR(number(combination, "Mx"), 268.624, 5e-4);
    EXPECT_EQ(combination.at("CmX"), "1");
    // etaNs,y = 1 + (6000/400)^2 / (1300 * (300 + 20) / 358) = 1.193630; My = 151.236 kN*m.
    EXPECT_NEAR(number(combination, "etaNsY"), 1.193630, 5e-7);
    EXPECT_NEAR(number(combination, "My"), 151.236, 5e-4);
    EXPECT_NEAR(number(combination, "utilisation"), 0.996, 5e-4);
    // N / (0.9 phi (fc A + fy' As')), 6.2.15; and the axial compression ratio N / (fc A) =
    // 400000 / (14.3 x 240000) = 0.116550, with no limit for a column without a seismic grade.
    EXPECT_NEAR(number(combination, "axialUtilisation"), 0.109, 5e-4);
    EXPECT_NEAR(number(combination, "axialRatio"), 0.116550, 5e-7);
    EXPECT_EQ(combination.at("axialRatioLimit"), "");
    EXPECT_EQ(combination.at("status"), "ok");
    const Row& layout = run.rows[1];
    EXPECT_EQ(layout.at("kind"), "layout");
    EXPECT_EQ(layout.at("id"), "KZ1");
    EXPECT_EQ(layout.at("N"), "");
    EXPECT_EQ(layout.at("layout"), "角筋 4C28；b边每侧 2C12；h边每侧 1C12");
    EXPECT_EQ(layout.at("cornerDiameter") + layout.at("webDiameter") + layout.at("webBarsAlongB") +
                  layout.at("webBarsAlongH") + layout.at("bars"),
              "28122110");
    // As = 4 * 615.752 + 6 * 113.097 = 3141.59 mm^2; rho = 3141.59 / 240000.
    EXPECT_NEAR(number(layout, "As"), 3141.59, 5e-3);
    EXPECT_NEAR(number(layout, "rho"), 0.0130900, 5e-7);
    EXPECT_EQ(layout.at("governingLine"), "2");
    EXPECT_EQ(layout.at("status"), "designed");
}

// The bar preference columns: read per column (here only 20 and 25 mm bars, so the start-up
// column cannot take its default 4C20 + 3C16 / 2C16: no middle bar below 20), refused with the
// column's name, and the same on every row of an id.
TEST(Gb2010Batch, BarPreferenceColumns) {
    TemporaryDirectory dir;
    const std::string header = std::string(kHeader) + ",bars,max_size_step";
    const CodeRun run = runOn(
        dir,
        {std::string(kStartUp) + ",\"20,25\",", "KZ2" + std::string(kStartUp + 3) + ",,x",
         "KZ3" + std::string(kStartUp + 3) + ",,1", "KZ3" + std::string(kStartUp + 3) + ",,2"},
        {}, std::size_t{8} << 20, header.c_str());
    ASSERT_EQ(run.status, Status::SomeRejected) << run.message;
    const Row* kz1 = nullptr;
    for (const Row& row : run.rows) {
        if (row.at("id") == "KZ1" && row.at("kind") == "layout") kz1 = &row;
    }
    ASSERT_NE(kz1, nullptr) << run.out;
    for (const char* column : {"cornerDiameter", "webDiameterB", "webDiameterH"}) {
        const std::string d = kz1->at(column);
        EXPECT_TRUE(d == "20" || d == "25" || d.empty()) << column << " = " << d;
    }
    bool badStep = false;
    bool differing = false;
    for (const Row& row : run.rows) {
        badStep = badStep || row.at("status") == "rejected: max_size_step: \"x\" 不是 0～10 的整数";
        differing = differing || row.at("status").find(
                                     "rejected: max_size_step: \"2\" differs from "
                                     "\"1\" on line 4") == 0;
    }
    EXPECT_TRUE(badStep) << run.out;
    EXPECT_TRUE(differing) << run.out;
}

struct StatusCase {
    const char* name;
    std::vector<std::string> lines;
    Status status;
    std::vector<std::string> statuses;  // of every result row, in order
};

class RowStatus : public testing::TestWithParam<StatusCase> {};

// Every row is read and checked before its column is designed; one bad row leaves the column
// without a design, and the other columns go on.
TEST_P(RowStatus, SaysWhatBecameOfEachRow) {
    TemporaryDirectory dir;
    const CodeRun run = runOn(dir, GetParam().lines);
    EXPECT_EQ(run.status, GetParam().status) << run.message;
    std::vector<std::string> statuses;
    for (const Row& row : run.rows) statuses.push_back(row.at("kind") + ": " + row.at("status"));
    EXPECT_EQ(statuses, GetParam().statuses) << run.out;
}

const std::string kNotDesigned3 =
    "combination: not designed: line 3 of this id is rejected; one layout must carry every "
    "combination";

// The long expected statuses are split over lines on purpose.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
INSTANTIATE_TEST_SUITE_P(
    Files, RowStatus,
    testing::Values(
        StatusCase{"ColumnFieldsDiffer",
                   {kStartUp, "KZ1,6000,500,600,244,120,400,C30,HRB400,,,,,,,,,"},
                   Status::SomeRejected,
                   {"combination: not designed: line 3 of this id is rejected; one layout must "
                    "carry every combination",
                    "combination: rejected: b: \"500\" differs from \"400\" on line 2; the rows "
                    "of an id share one section, its lengths and materials",
                    "layout: rejected: line 3: b: \"500\" differs from \"400\" on line 2; the "
                    "rows of an id share one section, its lengths and materials"}},
        // The same value written another way is the same column.
        StatusCase{"SameValueOtherSpelling",
                   {kStartUp, "KZ1,6e3,400.0,600,100,50,800,C30,HRB400,1,,6000,,,8,none,frame,"},
                   Status::AllAccepted,
                   {"combination: ok", "combination: ok", "layout: designed"}},
        StatusCase{"NotANumberAndBadWords",
                   {kStartUp, "KZ1,6000,400,600,244,1 20,400,C30,HRB400,,,,,,,,,",
                    "KZ2,6000,400,600,244,120,400,C15,HRB400,,,,,,,,,",
                    "KZ3,6000,400,600,244,120,400,C30,HRB400,,,,,,,5,,"},
                   Status::SomeRejected,
                   {kNotDesigned3, "combination: rejected: M0y: \"1 20\" is not a number",
                    "layout: rejected: line 3: M0y: \"1 20\" is not a number",
                    "combination: rejected: concrete: \"C15\" is not a current-code concrete "
                    "grade (C20 to C80 in steps of 5)",
                    "layout: rejected: line 4: concrete: \"C15\" is not a current-code concrete "
                    "grade (C20 to C80 in steps of 5)",
                    "combination: rejected: seismic: \"5\" is not a seismic grade (none, 1, 2, 3 "
                    "or 4)",
                    "layout: rejected: line 5: seismic: \"5\" is not a seismic grade (none, 1, 2, "
                    "3 or 4)"}},
        // A combination's own finding names its row by the line; a column's finding goes on the
        // layout row.
        StatusCase{"CombinationAndColumnFindings",
                   {kStartUp, "KZ1,6000,400,600,244,120,0,C30,HRB400,,,,,,,,,",
                    "KZ2,6000,400,600,244,120,400,C30,HRB400,,,,,10,,,,"},
                   Status::SomeRejected,
                   {kNotDesigned3, "combination: rejected: 轴向压力N应为大于零的数(kN)",
                    "layout: rejected: line 3: 轴向压力N应为大于零的数(kN)",
                    "combination: not designed: the column is rejected (see its layout row)",
                    "layout: rejected: 混凝土保护层厚度c(至箍筋外边)应在15～75mm之间"}},
        // Beyond the ranges: a kilometre side (which once held the batch for hours) and a
        // combination of 2 * 10^6 kN are refused, each naming its field and limit.
        StatusCase{"BeyondTheRanges",
                   {"KZ1,6000,1000000,600,244,120,400,C30,HRB400,,,,,,,,,",
                    "KZ2,6000,400,600,244,120,2e6,C30,HRB400,,,,,,,,,",
                    "KZ3,6000,400,600,244,120,1e-320,C30,HRB400,,,,,,,,,"},
                   Status::SomeRejected,
                   {"combination: not designed: the column is rejected (see its layout row)",
                    "layout: rejected: 柱截面宽度b=1000000mm超出适用范围，应不大于5000mm",
                    "combination: rejected: 轴向压力N=2000000kN超出适用范围，应不大于1000000kN",
                    "layout: rejected: line 3: 轴向压力N=2000000kN超出适用范围，应不大于1000000kN",
                    // Once designed with e0 = M / N = inf: "inf" in the CSV and ∞ in the report.
                    "combination: rejected: 轴向压力N=9.99988867182683e-321kN过小，应不小于0.1kN"
                    "(轴力接近零的构件应按受弯构件设计)",
                    "layout: rejected: line 4: 轴向压力N=9.99988867182683e-321kN过小，应不小于"
                    "0.1kN(轴力接近零的构件应按受弯构件设计)"}},
        // N / (fc A) = 3000e3 / (14.3 * 300 * 300) = 2.33 > 0.85 of a grade 3 frame column.
        StatusCase{"NoLayout",
                   {"KZ3,3000,300,300,50,50,3000,C30,HRB400,,,,,,,3,,", kStartUp},
                   Status::SomeWithoutLayout,
                   {"combination: no layout",
                    "layout: no layout: 第1组荷载组合的轴压比 μN = N/(fcA) = "
                    "2.331超过三级框架结构柱的限值 0.85(GB "
                    "50011 表6.3.6)",
                    "combination: ok", "layout: designed"}}),
    [](const testing::TestParamInfo<StatusCase>& p) { return p.param.name; });
// NOLINTEND(bugprone-suspicious-missing-comma)

// The clear height and the frame-supporting columns: hn is a column field the rows of an id share
// (a blank is l0); 400 x 600 with hn = 2000 gives lambda = 2000 / (2 x 566) = 1.77, so the grade 三
// frame limit is 0.85 - 0.05 = 0.80; grade 三 has no limit for frame-supporting columns.
TEST(Gb2010Batch, ClearHeightAndFrameSupportingColumns) {
    TemporaryDirectory dir;
    const char* header = "id,l0,b,h,M0x,M0y,N,concrete,steel,seismic,structure,hn";
    const CodeRun run = runOn(dir,
                              {"KZ1,6000,400,600,244,120,400,C30,HRB400,3,frame,2000",
                               "KZ1,6000,400,600,100,50,800,C30,HRB400,3,frame,2000",
                               "KZ2,6000,400,600,244,120,400,C30,HRB400,3,frame-supported,",
                               "KZ3,6000,400,600,244,120,400,C30,HRB400,3,,6000",
                               "KZ3,6000,400,600,244,120,400,C30,HRB400,3,,5000"},
                              {}, std::size_t{8} << 20, header);
    ASSERT_EQ(run.status, Status::SomeRejected) << run.message;
    ASSERT_EQ(run.rows.size(), 8u) << run.out;
    EXPECT_EQ(run.rows[0].at("hn"), "2000");
    EXPECT_EQ(run.rows[0].at("axialRatioLimit"), "0.8");
    // 400000 / (14.3 x 240000) = 0.116550; 800000 / 3432000 = 0.233100.
    EXPECT_NEAR(number(run.rows[0], "axialRatio"), 0.116550, 5e-7);
    EXPECT_NEAR(number(run.rows[1], "axialRatio"), 0.233100, 5e-7);
    EXPECT_EQ(run.rows[2].at("status"), "designed");
    EXPECT_EQ(run.rows[4].at("status"),
              "rejected: 部分框支抗震墙结构的框支柱抗震等级应为一级或二级(GB 50011 表6.3.6)");
    // A blank hn is l0: 6000 and 5000 differ.
    EXPECT_EQ(run.rows[6].at("status"),
              "rejected: hn: \"5000\" differs from \"6000\" on line 5; the rows of an id share "
              "one section, its lengths and materials");
}

TEST(Gb2010Batch, ColumnsComeInTheOrderOfTheirFirstRowsWhateverTheMemory) {
    TemporaryDirectory dir;
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i) {
        const std::string n = std::to_string(300 + 100 * (i % 4));
        lines.push_back("K" + std::to_string(i % 7) + ",6000,400,600,244,120," + n +
                        ",C30,HRB400,,,,,,,,,");
    }
    const CodeRun roomy = runOn(dir, lines);
    const CodeRun tight = runOn(dir, lines, {}, 512);
    ASSERT_EQ(roomy.status, Status::AllAccepted) << roomy.message;
    EXPECT_EQ(tight.out, roomy.out);
    ASSERT_EQ(roomy.rows.size(), 60u + 7u);
    // K0 has the rows i = 0, 7, ..., 56 (lines 2, 9, ..., 58): nine combinations, then its layout.
    for (std::size_t r = 0; r < 9; ++r) {
        EXPECT_EQ(roomy.rows[r].at("id"), "K0");
        EXPECT_EQ(roomy.rows[r].at("line"), std::to_string(2 + 7 * r));
    }
    EXPECT_EQ(roomy.rows[9].at("kind") + roomy.rows[9].at("line"), "layout2");
    EXPECT_EQ(roomy.rows[10].at("id"), "K1");
    EXPECT_EQ(roomy.rows.back().at("id"), "K6");
}

TEST(Gb2010Batch, WritesAReportPerColumnAndADrawingPerDesignedColumn) {
    TemporaryDirectory dir;
    Gb2010BatchFiles files;
    files.reportDir = dir.file("reports");
    files.dxfDir = dir.file("drawings");
    const CodeRun run = runOn(dir,
                              {"KZ3,3000,300,300,50,50,3000,C30,HRB400,,,,,,,3,,", kStartUp,
                               "K/1,6000,400,600,244,120,400,C30,HRB400,,,,,,,,,"},
                              files);
    EXPECT_EQ(run.status, Status::SomeWithoutLayout) << run.message;
    std::vector<std::string> reports, drawings;
    for (const auto& entry : std::filesystem::directory_iterator(*files.reportDir))
        reports.push_back(entry.path().filename().string());
    for (const auto& entry : std::filesystem::directory_iterator(*files.dxfDir))
        drawings.push_back(entry.path().filename().string());
    std::sort(reports.begin(), reports.end());
    std::sort(drawings.begin(), drawings.end());
    EXPECT_EQ(reports, (std::vector<std::string>{"K%2F1-4.txt", "KZ1-3.txt", "KZ3-2.txt"}));
    EXPECT_EQ(drawings, (std::vector<std::string>{"K%2F1-4.dxf", "KZ1-3.dxf"}));
    EXPECT_NE(readFileBytes(dir.file("drawings/KZ1-3.dxf")).find("KZ1"), std::string::npos);
}

TEST(Gb2010Batch, ADrawingThatCannotBeWrittenStopsTheBatchNamingIt) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file("drawings"), "a file where the directory should be");
    Gb2010BatchFiles files;
    files.dxfDir = dir.file("drawings");
    const CodeRun blocked = runOn(dir, {kStartUp}, files);
    EXPECT_EQ(blocked.status, Status::FileFailed);
    EXPECT_NE(blocked.message.find("cannot create the drawing directory " + *files.dxfDir),
              std::string::npos)
        << blocked.message;
    EXPECT_EQ(blocked.out, "");

    std::filesystem::remove(dir.file("drawings"));
    std::filesystem::create_directories(dir.file("drawings/KZ1-2.dxf"));  // a directory by the name
    const CodeRun taken = runOn(dir, {kStartUp}, files);
    EXPECT_EQ(taken.status, Status::FileFailed);
    EXPECT_NE(taken.message.find(dir.file("drawings/KZ1-2.dxf")), std::string::npos)
        << taken.message;
}

}  // namespace

namespace {

// The shears, the kind and the stirrup steel of each row, and the stirrup columns of the layout.
// KZ1 is the start-up column without shear: d >= max(6, 28/4) = 8, s <= min(400, 400, 15 x 12 =
// 180): 150 from the listed spacings; faces of 4 and 3 bars, short side 400: no compound hoop
// (9.3.2-4): C8@150, 2 x 2. KZ2 with HPB300 (fyv = 270) and Vx = 150, Vy = 80 kN, s = 150,
// Asv = 2 x 50.27 = 100.53: Vux = 0.4375 x 1.43 x 400 x 558 + 270 x 100.53 / 150 x 558 + 0.07 x
// 400e3 = 139.64 + 100.97 + 28.00 = 268.61 kN, Vuy = 134.38 + 64.78 + 28.00 = 227.16 kN;
// sqrt((150/268.61)^2 + (80/227.16)^2) = sqrt(0.31184 + 0.12402) = 0.660 (6.3.17).
TEST(Gb2010Batch, ShearsKindsAndStirrups) {
    TemporaryDirectory dir;
    // The worked layout needs a middle bar any number of sizes below the corner bar.
    const std::string header = std::string(kHeader) + ",stirrup_steel,vx,vy,kind,max_size_step";
    const CodeRun run = runOn(dir,
                              {std::string(kStartUp) + ",,,,,10", std::string(kStartUp) + ",,,,,10",
                               "KZ2,6000,400,600,244,120,400,C30,HRB400,,,,,,,,,,HPB300,150,80,"
                               "non-seismic,10",
                               "KZ3,6000,400,600,244,120,400,C30,HRB400,,,,,,,,,,,,,quake,10"},
                              {}, std::size_t{8} << 20, header.c_str());
    ASSERT_EQ(run.status, Status::SomeRejected) << run.message;
    ASSERT_EQ(run.rows.size(), 7u) << run.out;
    EXPECT_EQ(run.rows[0].at("combination_kind"), "");
    EXPECT_EQ(run.rows[0].at("gammaRE"), "1");
    EXPECT_EQ(run.rows[0].at("shearUtilisation"), "0");
    const Row& kz1 = run.rows[2];
    EXPECT_EQ(kz1.at("kind"), "layout");
    EXPECT_EQ(kz1.at("layout"), "角筋 4C28；b边每侧 2C12；h边每侧 1C12");  // unchanged
    EXPECT_EQ(kz1.at("stirrups") + " " + kz1.at("stirrupType"), "C8@150 2×2");
    EXPECT_EQ(
        kz1.at("stirrupDiameter") + kz1.at("stirrupSpacing") + kz1.at("legsX") + kz1.at("legsY"),
        "815022");
    const Row& kz2 = run.rows[3];
    EXPECT_EQ(kz2.at("combination_kind"), "non-seismic");
    EXPECT_NEAR(number(kz2, "shearUtilisation"), 0.660, 5e-4);
    EXPECT_EQ(run.rows[4].at("stirrups"), "A8@150");
    EXPECT_EQ(run.rows[5].at("status"),
              "rejected: kind: \"quake\" is not a combination kind (seismic or non-seismic)");
}

}  // namespace
