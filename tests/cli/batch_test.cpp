#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "cli/batch_design.h"
#include "cli/cli_main.h"
#include "cli/csv_reader.h"
#include "report/number_text.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

using Table = std::vector<std::vector<std::string>>;

Table parseCsv(const std::string& text) {
    Table table;
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (file == nullptr) return table;
    CsvReader reader(file);
    std::vector<std::string> fields;
    while (reader.next(fields) == CsvReader::Status::Record) table.push_back(fields);
    std::fclose(file);
    return table;
}

struct BatchRun {
    int code;
    std::string out;
    std::string err;
};

BatchRun runBatchOn(const std::string& csv, std::optional<std::string> reports = std::nullopt) {
    writeFileBytes("columns.csv", csv);
    BatchOptions options;
    options.input = "columns.csv";
    options.reportDir = std::move(reports);
    std::ostringstream out, err;
    const int code = runBatch(options, out, err);
    return {code, out.str(), err.str()};
}

// An expected cell: "*" is not compared; a number with decimals is compared at those decimals
// (the precision the worked example gives); anything else must match exactly.
void expectCell(const std::string& expected, const std::string& actual, const std::string& where) {
    if (expected == "*") return;
    const auto point = expected.find('.');
    const auto expectedNumber = parseNumber(expected);
    if (expectedNumber && point != std::string::npos) {
        const auto actualNumber = parseNumber(actual);
        ASSERT_TRUE(actualNumber.has_value()) << where << ": \"" << actual << "\"";
        const int decimals = static_cast<int>(expected.size() - point - 1);
        const double unit = std::pow(10.0, -decimals);
        EXPECT_NEAR(*actualNumber, *expectedNumber, unit / 2 + 1e-12 * std::fabs(*expectedNumber))
            << where;
        return;
    }
    EXPECT_EQ(actual, expected) << where;
}

TEST(Batch, DesignsEveryRowAndTheEnvelopesOfTheWorkedCases) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(testData("batch_columns.csv"));
    EXPECT_EQ(run.code, kExitSomeRejected) << run.err;
    const Table actual = parseCsv(run.out);
    const Table expected = parseCsv(testData("batch_expected.csv"));
    ASSERT_EQ(actual.size(), expected.size()) << run.out;
    for (std::size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(actual[r].size(), expected[r].size()) << "row " << r;
        for (std::size_t c = 0; c < expected[r].size(); ++c) {
            expectCell(expected[r][c], actual[r][c],
                       "row " + std::to_string(r) + " column " + expected[0][c]);
        }
    }
}

TEST(Batch, ReportsEqualWhatTheSingleCaseCommandWrites) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(testData("batch_columns.csv"), "reports");
    ASSERT_EQ(run.code, kExitSomeRejected) << run.err;
    struct Case {
        const char* file;
        std::vector<std::string> flags;
    };
    const std::vector<Case> cases = {
        {"KZ1-2.txt", {"--diameter", "22"}},
        {"KZ1-3.txt", {"--M0x", "150", "--M0y", "60", "--N", "2500", "--scheme", "2"}},
        {"KZ2-4.txt", {"--scheme", "2", "--ratio-x", "0.5", "--ratio-y", "0.5"}},
        {"KZ2-6.txt", {"--diameter", "20"}},
        {"KZ3-7.txt",
         {"--concrete", "C65", "--l0", "3000", "--b", "300", "--h", "300", "--M0x", "5", "--M0y",
          "600"}},
        {"K%2CZ4-8.txt", {"--h", "620"}},
    };
    for (const Case& c : cases) {
        std::filesystem::create_directory("single");
        std::filesystem::current_path("single");
        std::ostringstream out, err;
        EXPECT_EQ(runCli(c.flags, out, err), kExitDone) << c.file;
        const std::string single = readFileBytes("Result.txt");
        std::filesystem::current_path("..");
        std::filesystem::remove_all("single");
        EXPECT_FALSE(single.empty());
        EXPECT_EQ(readFileBytes(std::string("reports/") + c.file), single) << c.file;
    }
    // The rejected row has no report.
    EXPECT_FALSE(std::filesystem::exists("reports/KZ2-5.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("reports"),
                            std::filesystem::directory_iterator()),
              6);
}

const char* kHeader = "id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel";
const char* kStartUpRow = "A,6000,400,600,244,120,400,40,40,C30,HRB400";

struct MalformedCase {
    const char* name;
    std::string csv;
    int code;
    const char* mentions;  // in the status of the last result row, or on stderr for codes 2/3
};

class MalformedFile : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, IsReportedAndTheRestGoesOn) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(GetParam().csv);
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    if (GetParam().code == 2 || GetParam().code == 3) {
        EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
        return;
    }
    const Table table = parseCsv(run.out);
    std::string statuses;
    for (const auto& row : table) statuses += row.size() > 41 ? row[41] + "\n" : "";
    EXPECT_NE(statuses.find(GetParam().mentions), std::string::npos) << run.out;
}

std::string lines(std::initializer_list<std::string> rows, const char* end = "\n") {
    std::string text;
    for (const auto& r : rows) text += r + end;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedFile,
    testing::Values(
        MalformedCase{"MissingRequiredColumn", lines({"id,l0,b,h,M0x,M0y,N,ax,concrete,steel"}), 2,
                      "lacks the required column(s) ay"},
        MalformedCase{"DuplicateColumn", lines({std::string(kHeader) + ",b"}), 2,
                      "\"b\" is named twice"},
        MalformedCase{"EmptyFile", "", 2, "the file is empty"},
        MalformedCase{"HeaderOnly", lines({kHeader}), 0, "status"},
        MalformedCase{"UnknownGrade",
                      lines({kHeader, "A,6000,400,600,244,120,400,40,40,C33,HRB400", kStartUpRow}),
                      4, "rejected: concrete: \"C33\" is not a concrete grade"},
        MalformedCase{"LowerCaseSteel",
                      lines({kHeader, "A,6000,400,600,244,120,400,40,40,C30,hrb400"}), 4,
                      "rejected: steel: \"hrb400\""},
        MalformedCase{"NotANumber",
                      lines({kHeader, "A,6000,400,600,244,1 20,400,40,40,C30,HRB400"}), 4,
                      "rejected: M0y: \"1 20\" is not a number"},
        MalformedCase{"DecimalComma",
                      lines({kHeader, "A,6000,400,600,244,\"1,5\",400,40,40,C30,HRB400"}), 4,
                      "rejected: M0y: \"1,5\" is not a number"},
        MalformedCase{"ShortRow", lines({kHeader, "A,6000,400,600", kStartUpRow}), 4,
                      "rejected: the row has 4 fields, the header 11"},
        MalformedCase{
            "UnterminatedQuote",
            lines({kHeader, kStartUpRow, "\"A,6000,400,600,244,120,400,40,40,C30,HRB400"}), 4,
            "rejected: unterminated quoted field starting on line 3"},
        MalformedCase{"DistanceOfHalfTheDepth",
                      lines({kHeader, "A,6000,400,600,244,120,400,300,40,C30,HRB400"}), 4,
                      "rejected: 钢筋合力点至截面近边的距离ax应小于截面高度h的一半"},
        MalformedCase{"ByteOrderMarkAndCrLf",
                      "\xEF\xBB\xBF" + lines({kHeader, kStartUpRow}, "\r\n"), 0, "ok"},
        MalformedCase{"UnlistedDiameter",
                      lines({std::string(kHeader) + ",diameter", std::string(kStartUpRow) + ",21"}),
                      4, "rejected: diameter: \"21\" is not a listed bar diameter"},
        MalformedCase{
            "RatioAboveOne",
            lines({std::string(kHeader) + ",scheme,ratio_x", std::string(kStartUpRow) + ",2,1.5"}),
            4, "rejected: ratio_x: \"1.5\" is not a ratio between 0 and 1"}),
    [](const testing::TestParamInfo<MalformedCase>& p) { return std::string(p.param.name); });

TEST(Batch, LineNumbersCountPhysicalLinesAcrossQuotedLineBreaks) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(
        lines({kHeader, "\"A\nB\",6000,400,600,244,120,400,40,40,C30,HRB400", "", kStartUpRow}));
    EXPECT_EQ(run.code, 0);
    const Table table = parseCsv(run.out);
    ASSERT_EQ(table.size(), 5u);  // header, row, envelope, row, envelope
    EXPECT_EQ(table[1][0], "2");
    EXPECT_EQ(table[1][1], "A\nB");
    EXPECT_EQ(table[3][0], "5");  // the blank line 4 is skipped
}

TEST(Batch, UngroupedIdsGetTheirEnvelopesAtTheEnd) {
    ScratchDirectory scratch;
    const BatchRun run =
        runBatchOn(lines({kHeader, kStartUpRow, "B,6000,400,600,244,120,400,40,40,C30,HRB400",
                          "A,6000,400,600,244,120,100,40,40,C30,HRB400"}));
    ASSERT_EQ(run.code, 0) << run.err;
    const Table table = parseCsv(run.out);
    ASSERT_EQ(table.size(), 6u);
    EXPECT_EQ(table[4][1], "A");
    EXPECT_EQ(table[4][41], "envelope");
    // N = 100 needs more steel than N = 400 (worked example: Asex 2220.791 against 1652.757).
    EXPECT_EQ(table[4][42], "4");
    EXPECT_EQ(table[5][1], "B");
    EXPECT_EQ(table[5][42], "3");
}

TEST(Batch, UnreadableInputAndUnwritableOutputAreFileErrors) {
    ScratchDirectory scratch;
    std::ostringstream out, err;
    BatchOptions missing;
    missing.input = "no-such.csv";
    EXPECT_EQ(runBatch(missing, out, err), kExitFile);
    EXPECT_NE(err.str().find("no-such.csv"), std::string::npos);

    writeFileBytes("columns.csv", lines({kHeader, kStartUpRow}));
    std::filesystem::create_directory("results.csv");
    BatchOptions toDirectory;
    toDirectory.input = "columns.csv";
    toDirectory.output = "results.csv";
    EXPECT_EQ(runBatch(toDirectory, out, err), kExitFile);
    EXPECT_NE(err.str().find("results.csv"), std::string::npos);

    if (std::filesystem::exists("/dev/full")) {
        BatchOptions toFullDisk;
        toFullDisk.input = "columns.csv";
        toFullDisk.output = "/dev/full";
        EXPECT_EQ(runBatch(toFullDisk, out, err), kExitFile);
    }
}

struct FileNameCase {
    std::string id;
    const char* name;
};

TEST(Batch, ReportFileNamesAreSafeAndDistinct) {
    const FileNameCase cases[] = {
        {"KZ1", "KZ1-7.txt"},   {"K,Z4", "K%2CZ4-7.txt"},  {"../etc", "%2E.%2Fetc-7.txt"},
        {"a/b", "a%2Fb-7.txt"}, {"柱", "%E6%9F%B1-7.txt"}, {"", "-7.txt"},
        {"v1.2", "v1.2-7.txt"}, {"a b", "a%20b-7.txt"},
    };
    for (const FileNameCase& c : cases) EXPECT_EQ(reportFileName(c.id, 7), c.name) << c.id;
    EXPECT_LE(reportFileName(std::string(1000, 'x'), 123456789).size(), 255u);
}

}  // namespace

namespace {

TEST(Batch, CheckAddsTheSectionCheckAndItsEnvelope) {
    ScratchDirectory scratch;
    writeFileBytes("columns.csv", testData("batch_columns.csv"));
    BatchOptions options;
    options.input = "columns.csv";
    options.check = true;
    std::ostringstream out, err;
    ASSERT_EQ(runBatch(options, out, err), kExitSomeRejected) << err.str();
    const Table table = parseCsv(out.str());
    ASSERT_GE(table.size(), 2u);
    const std::vector<std::string>& header = table[0];
    ASSERT_EQ(header.size(), 53u);
    EXPECT_EQ(header[48], "utilisation");
    EXPECT_EQ(header[49], "N0");
    EXPECT_EQ(header[50], "rho");
    EXPECT_EQ(header[51], "checkFlags");
    EXPECT_EQ(header[52], "governsUtilisation");
    // Line 2 is the start-up case: N0 = 4701.08 kN (see the single-case check test).
    EXPECT_EQ(formatFixed(*parseNumber(table[1][49])).substr(0, 7), "4701.08");
    // The KZ1 envelope (third row) names the line with the larger utilisation.
    const double first = *parseNumber(table[1][48]);
    const double second = *parseNumber(table[2][48]);
    ASSERT_EQ(table[3][41], "envelope");
    EXPECT_EQ(*parseNumber(table[3][48]), std::max(first, second));
    EXPECT_EQ(table[3][52], first >= second ? "2" : "3");
    // A rejected row has no check.
    EXPECT_EQ(table[5][0], "5");
    EXPECT_EQ(table[5][48], "");
    // The worked non-converging case designs negative areas, which the check counts as 0.
    ASSERT_EQ(table[8][0], "7");
    EXPECT_NE(table[8][51].find("negativeAreaClamped"), std::string::npos) << table[8][51];
}

}  // namespace
