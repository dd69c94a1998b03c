#include "batch/batch_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "batch/batch_files.h"
#include "batch/case_report.h"
#include "batch/csv_reader.h"
#include "tests/support/scratch_directory.h"
#include "text/number_text.h"

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

using Status = BatchOutcome::Status;

struct BatchRun {
    Status status;
    std::string out;
    std::string message;
};

BatchRun runBatchOn(const std::string& csv, std::optional<std::string> reports = std::nullopt) {
    writeFileBytes("columns.csv", csv);
    BatchOptions options;
    options.input = "columns.csv";
    options.reportDir = std::move(reports);
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    return {outcome.status, out.str(), outcome.message};
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
    EXPECT_EQ(run.status, Status::SomeRejected) << run.message;
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

const char* kHeader = "id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel";
const char* kStartUpRow = "A,6000,400,600,244,120,400,40,40,C30,HRB400";

struct MalformedCase {
    const char* name;
    std::string csv;
    Status status;
    const char* mentions;  // in the status of a result row, or in the message when unusable
};

class MalformedFile : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, IsReportedAndTheRestGoesOn) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(GetParam().csv);
    EXPECT_EQ(run.status, GetParam().status) << run.message;
    if (GetParam().status == Status::Unusable || GetParam().status == Status::FileFailed) {
        EXPECT_NE(run.message.find(GetParam().mentions), std::string::npos) << run.message;
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
        MalformedCase{"MissingRequiredColumn", lines({"id,l0,b,h,M0x,M0y,N,ax,concrete,steel"}),
                      Status::Unusable, "lacks the required column(s) ay"},
        MalformedCase{"DuplicateColumn", lines({std::string(kHeader) + ",b"}), Status::Unusable,
                      "\"b\" is named twice"},
        MalformedCase{"EmptyFile", "", Status::Unusable, "the file is empty"},
        MalformedCase{"HeaderOnly", lines({kHeader}), Status::AllAccepted, "status"},
        MalformedCase{"UnknownGrade",
                      lines({kHeader, "A,6000,400,600,244,120,400,40,40,C33,HRB400", kStartUpRow}),
                      Status::SomeRejected, "rejected: concrete: \"C33\" is not a concrete grade"},
        MalformedCase{"LowerCaseSteel",
                      lines({kHeader, "A,6000,400,600,244,120,400,40,40,C30,hrb400"}),
                      Status::SomeRejected, "rejected: steel: \"hrb400\""},
        MalformedCase{"NotANumber",
                      lines({kHeader, "A,6000,400,600,244,1 20,400,40,40,C30,HRB400"}),
                      Status::SomeRejected, "rejected: M0y: \"1 20\" is not a number"},
        MalformedCase{"DecimalComma",
                      lines({kHeader, "A,6000,400,600,244,\"1,5\",400,40,40,C30,HRB400"}),
                      Status::SomeRejected, "rejected: M0y: \"1,5\" is not a number"},
        MalformedCase{"ShortRow", lines({kHeader, "A,6000,400,600", kStartUpRow}),
                      Status::SomeRejected, "rejected: the row has 4 fields, the header 11"},
        MalformedCase{
            "UnterminatedQuote",
            lines({kHeader, kStartUpRow, "\"A,6000,400,600,244,120,400,40,40,C30,HRB400"}),
            Status::SomeRejected, "rejected: unterminated quoted field starting on line 3"},
        MalformedCase{"DistanceOfHalfTheDepth",
                      lines({kHeader, "A,6000,400,600,244,120,400,300,40,C30,HRB400"}),
                      Status::SomeRejected,
                      "rejected: 钢筋合力点至截面近边的距离ax应小于截面高度h的一半"},
        MalformedCase{"ByteOrderMarkAndCrLf",
                      "\xEF\xBB\xBF" + lines({kHeader, kStartUpRow}, "\r\n"), Status::AllAccepted,
                      "ok"},
        MalformedCase{"UnlistedDiameter",
                      lines({std::string(kHeader) + ",diameter", std::string(kStartUpRow) + ",21"}),
                      Status::SomeRejected,
                      "rejected: diameter: \"21\" is not a listed bar diameter"},
        MalformedCase{
            "RatioAboveOne",
            lines({std::string(kHeader) + ",scheme,ratio_x", std::string(kStartUpRow) + ",2,1.5"}),
            Status::SomeRejected, "rejected: ratio_x: \"1.5\" is not a ratio between 0 and 1"}),
    [](const testing::TestParamInfo<MalformedCase>& p) { return std::string(p.param.name); });

TEST(Batch, LineNumbersCountPhysicalLinesAcrossQuotedLineBreaks) {
    ScratchDirectory scratch;
    const BatchRun run = runBatchOn(
        lines({kHeader, "\"A\nB\",6000,400,600,244,120,400,40,40,C30,HRB400", "", kStartUpRow}));
    EXPECT_EQ(run.status, Status::AllAccepted);
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
    ASSERT_EQ(run.status, Status::AllAccepted) << run.message;
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
    std::ostringstream out;
    BatchOptions missing;
    missing.input = "no-such.csv";
    const BatchOutcome notFound = runBatch(missing, out);
    EXPECT_EQ(notFound.status, Status::FileFailed);
    EXPECT_NE(notFound.message.find("no-such.csv"), std::string::npos);

    writeFileBytes("columns.csv", lines({kHeader, kStartUpRow}));
    std::filesystem::create_directory("results.csv");
    BatchOptions toDirectory;
    toDirectory.input = "columns.csv";
    toDirectory.output = "results.csv";
    const BatchOutcome intoDirectory = runBatch(toDirectory, out);
    EXPECT_EQ(intoDirectory.status, Status::FileFailed);
    EXPECT_NE(intoDirectory.message.find("results.csv"), std::string::npos);

    if (std::filesystem::exists("/dev/full")) {
        BatchOptions toFullDisk;
        toFullDisk.input = "columns.csv";
        toFullDisk.output = "/dev/full";
        EXPECT_EQ(runBatch(toFullDisk, out).status, Status::FileFailed);
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

// Windows opens a device for a name whose part before the first dot is CON, PRN, AUX, NUL,
// COM1-9 or LPT1-9, whatever the case and whatever follows the dot: such an id has its first
// letter escaped (n = 0x6E, C = 0x43, a = 0x61, p = 0x70, L = 0x4C). Without a dot the line
// number follows the id ("nul-7.txt"), which is an ordinary name.
TEST(Batch, FileNamesOfDeviceNameIdsAreEscaped) {
    const FileNameCase cases[] = {
        {"nul.a", "%6Eul.a-7.txt"}, {"COM1.x", "%43OM1.x-7.txt"}, {"aux.b", "%61ux.b-7.txt"},
        {"prn.c", "%70rn.c-7.txt"}, {"LpT9.z", "%4CpT9.z-7.txt"}, {"con.", "%63on.-7.txt"},
        {"nul", "nul-7.txt"},       {"COM0.x", "COM0.x-7.txt"},   {"CONS.x", "CONS.x-7.txt"},
        {"null.a", "null.a-7.txt"}, {"KZ.nul", "KZ.nul-7.txt"},
    };
    for (const FileNameCase& c : cases) EXPECT_EQ(reportFileName(c.id, 7), c.name) << c.id;
    EXPECT_EQ(caseFileName("nul.a", 2, ".dxf"), "%6Eul.a-2.dxf");
}

}  // namespace

namespace {

TEST(Batch, CheckAddsTheSectionCheckAndItsEnvelope) {
    ScratchDirectory scratch;
    writeFileBytes("columns.csv", testData("batch_columns.csv"));
    BatchOptions options;
    options.input = "columns.csv";
    options.check = true;
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    ASSERT_EQ(outcome.status, Status::SomeRejected) << outcome.message;
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

namespace {

struct SameFileCase {
    const char* name;
    const char* input;  // the cases file, written first
    const char* link;   // made to point at the input: "hard:NAME" or "soft:NAME", or ""
    std::optional<std::string> output;
    std::optional<std::string> reports;
    bool streamIsTheInput;
    const char* mentions;
};

class OutputIsTheInput : public testing::TestWithParam<SameFileCase> {};

// An output that is the input file itself, by whatever name, is refused naming both, and the
// input keeps every byte.
TEST_P(OutputIsTheInput, IsRefusedAndTheInputKept) {
    const SameFileCase& c = GetParam();
    ScratchDirectory scratch;
    std::filesystem::create_directory("reports");
    const std::string cases = lines({kHeader, kStartUpRow, kStartUpRow});
    writeFileBytes(c.input, cases);
    const std::string link = c.link;
    if (link.rfind("hard:", 0) == 0) std::filesystem::create_hard_link(c.input, link.substr(5));
    if (link.rfind("soft:", 0) == 0) {
        std::filesystem::create_symlink(std::filesystem::absolute(c.input), link.substr(5));
    }
    BatchOptions options;
    options.input = c.input;
    options.output = c.output;
    options.reportDir = c.reports;
    if (c.streamIsTheInput) options.streamFile = identityOfPath(c.input);
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    EXPECT_EQ(outcome.status, Status::Unusable);
    EXPECT_NE(outcome.message.find(c.mentions), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find(std::string("the input ") + c.input), std::string::npos)
        << outcome.message;
    EXPECT_EQ(readFileBytes(c.input), cases);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OutputIsTheInput,
    testing::Values(
        SameFileCase{"OutBySameName", "columns.csv", "", "columns.csv", {}, false, "columns.csv"},
        SameFileCase{"OutByAnotherSpelling",
                     "columns.csv",
                     "",
                     "./columns.csv",
                     {},
                     false,
                     "./columns.csv is the same file"},
        SameFileCase{"OutByHardLink",
                     "columns.csv",
                     "hard:other.csv",
                     "other.csv",
                     {},
                     false,
                     "other.csv is the same file"},
        SameFileCase{"OutBySymbolicLink",
                     "columns.csv",
                     "soft:link.csv",
                     "link.csv",
                     {},
                     false,
                     "link.csv is the same file"},
        SameFileCase{"StreamRedirectedIntoTheInput",
                     "columns.csv",
                     "",
                     {},
                     {},
                     true,
                     "stdout is the same file"},
        // The first accepted row (line 2 of id A) would write reports/A-2.txt.
        SameFileCase{"ReportByItsName", "reports/A-2.txt", "", "results.csv", "reports", false,
                     "the report reports/A-2.txt is the same file"},
        SameFileCase{"ReportByHardLink", "columns.csv", "hard:reports/A-3.txt", "results.csv",
                     "reports", false, "the report reports/A-3.txt is the same file"}),
    [](const testing::TestParamInfo<SameFileCase>& p) { return std::string(p.param.name); });

// A pipe is read once: every row of a 10 MB stream is designed, and the grouping decided from
// the same bytes (the envelopes follow their ids).
TEST(Batch, ReadsAPipeOfTenMegabytesWhole) {
    ScratchDirectory scratch;
    ASSERT_EQ(::mkfifo("cases.pipe", 0600), 0);
    // Rows of about 1 KB: a padded id, two combinations per id.
    std::string text = std::string(kHeader) + "\n";
    long long rows = 0;
    while (text.size() < std::size_t{10} * 1024 * 1024) {
        const std::string id = "C" + std::to_string(rows / 2) + std::string(1000, 'x');
        text += id + ",6000,400,600,244,120,400,40,40,C30,HRB400\n";
        ++rows;
    }
    std::thread writer([&text] {
        std::FILE* pipe = std::fopen("cases.pipe", "wb");
        if (pipe == nullptr) return;
        std::fwrite(text.data(), 1, text.size(), pipe);
        std::fclose(pipe);
    });
    BatchOptions options;
    options.input = "cases.pipe";
    options.output = "results.csv";
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    writer.join();
    ASSERT_EQ(outcome.status, Status::AllAccepted) << outcome.message;
    const Table table = parseCsv(readFileBytes("results.csv"));
    // The header, every row and an envelope after every second row.
    ASSERT_EQ(static_cast<long long>(table.size()), 1 + rows + rows / 2);
    EXPECT_EQ(table[table.size() - 2][0], std::to_string(rows + 1));
    EXPECT_EQ(table[3][41], "envelope");
    EXPECT_EQ(table.back()[41], "envelope");
}

// One stray character after a closing quote rejects that row alone; the row keeps its id, so its
// column's envelope still stands after the column's rows, and the batch goes on.
TEST(Batch, StrayCharacterAfterAQuoteRejectsOnlyItsRow) {
    ScratchDirectory scratch;
    const BatchRun run =
        runBatchOn(lines({kHeader, "\"A\" ,6000,400,600,244,120,400,40,40,C30,HRB400", kStartUpRow,
                          "B,6000,400,600,244,120,400,40,40,C30,HRB400"}));
    ASSERT_EQ(run.status, Status::SomeRejected) << run.message;
    const Table table = parseCsv(run.out);
    ASSERT_EQ(table.size(), 6u);  // header, A line 2, A line 3, A envelope, B line 4, B envelope
    EXPECT_EQ(table[1][0], "2");
    EXPECT_EQ(table[1][1], "A");
    EXPECT_EQ(table[1][41], "rejected: unexpected character after a closing quote on line 2");
    EXPECT_EQ(table[2][41], "ok");
    EXPECT_EQ(table[3][1], "A");
    EXPECT_EQ(table[3][41], "envelope");
    EXPECT_EQ(table[3][42], "3");
    EXPECT_EQ(table[4][41], "ok");
    EXPECT_EQ(table[5][1], "B");
}

// A directory is no cases file, and says so once.
TEST(Batch, DirectoryAsInputIsAFileError) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("cases");
    BatchOptions options;
    options.input = "cases";
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    EXPECT_EQ(outcome.status, Status::FileFailed);
    EXPECT_EQ(outcome.message, "cannot read cases: Is a directory");
    EXPECT_EQ(out.str(), "");
}

// Ids that come back, through a memory budget far smaller than their envelopes: the results are
// byte for byte those of a run that holds everything, envelopes at the end in first-appearance
// order. Row i (line i + 2) is column K(i mod 97) with N = 100 when i is a multiple of 3, else
// 400; the smaller N needs more steel (Asex 2220.791 against 1652.757), the first of equal ones
// governs.
TEST(Batch, InterleavedIdsBeyondTheMemoryBudgetGiveTheSameResults) {
    ScratchDirectory scratch;
    std::string csv = std::string(kHeader) + "\n";
    for (int i = 0; i < 400; ++i) {
        const std::string n = i % 3 == 0 ? "100" : "400";
        csv += "K" + std::to_string(i % 97) + ",6000,400,600,244,120," + n + ",40,40,C30,HRB400\n";
    }
    writeFileBytes("columns.csv", csv);
    std::string results[2];
    for (const std::size_t budget : {std::size_t{8} << 20, std::size_t{512}}) {
        BatchOptions options;
        options.input = "columns.csv";
        options.memoryBudget = budget;
        std::ostringstream out;
        const BatchOutcome outcome = runBatch(options, out);
        ASSERT_EQ(outcome.status, Status::AllAccepted) << outcome.message;
        results[budget == 512] = out.str();
    }
    EXPECT_EQ(results[1], results[0]);
    const Table table = parseCsv(results[1]);
    ASSERT_EQ(table.size(), 1u + 400 + 97);
    // K0 first appears on line 2 (i = 0, N = 100) and again at i = 97, 194, 291, 388: N = 100 for
    // i = 0, 291 (multiples of 3), so line 2 governs the largest Asex.
    EXPECT_EQ(table[401][1], "K0");
    EXPECT_EQ(table[401][41], "envelope");
    EXPECT_EQ(table[401][42], "2");
    // K1: i = 1, 98, 195, 292, 389; N = 100 at i = 195 (line 197) only.
    EXPECT_EQ(table[402][1], "K1");
    EXPECT_EQ(table[402][42], "197");
    EXPECT_EQ(table.back()[1], "K96");
}

}  // namespace

namespace {

// Records what a per-column writer is told; fails on the line given.
class RecordingOutputs : public ColumnOutputs {
  public:
    explicit RecordingOutputs(long long failOn = 0) : failOn_(failOn) {}
    std::vector<std::string> events;

    FileResult designed(const std::string& id, long long line, const ColumnDesign& design,
                        const ReinforcementScheme&, const SectionCheckResult*) override {
        events.push_back("designed " + id + " " + std::to_string(line) +
                         (design.step1.Asex > 0.0 ? "" : " without steel"));
        if (line == failOn_) return FileResult::refusal(id + ".html", FileAction::Write, "full");
        return FileResult::success();
    }
    FileResult closed(const std::string& id) override {
        events.push_back("closed " + id);
        return FileResult::success();
    }

  private:
    long long failOn_;
};

struct OutputsCase {
    const char* name;
    std::vector<std::string> rows;
    long long failOn;
    std::vector<std::string> events;
};

class PerColumnOutputs : public testing::TestWithParam<OutputsCase> {};

// Accepted rows in file order; a column closes after its last row when the ids stand together,
// else all close at the end in first-appearance order; a failure stops the batch there.
TEST_P(PerColumnOutputs, HearOfEachCombinationAndEachColumnsEnd) {
    ScratchDirectory scratch;
    std::vector<std::string> rows = {kHeader};
    rows.insert(rows.end(), GetParam().rows.begin(), GetParam().rows.end());
    std::string csv;
    for (const std::string& r : rows) csv += r + "\n";
    writeFileBytes("columns.csv", csv);
    RecordingOutputs outputs(GetParam().failOn);
    BatchOptions options;
    options.input = "columns.csv";
    options.columnOutputs = &outputs;
    std::ostringstream out;
    const BatchOutcome outcome = runBatch(options, out);
    EXPECT_EQ(outputs.events, GetParam().events);
    if (GetParam().failOn != 0) {
        EXPECT_EQ(outcome.status, Status::FileFailed);
        EXPECT_EQ(outcome.message, "cannot write B.html: full");
    }
}

const char* kRejectedRow = "A,0,400,600,244,120,400,40,40,C30,HRB400";
const char* kRowOfB = "B,6000,400,600,244,120,400,40,40,C30,HRB400";

INSTANTIATE_TEST_SUITE_P(
    Files, PerColumnOutputs,
    testing::Values(OutputsCase{"Grouped",
                                {kStartUpRow, kRejectedRow, kRowOfB},
                                0,
                                {"designed A 2", "closed A", "designed B 4", "closed B"}},
                    OutputsCase{
                        "Interleaved",
                        {kStartUpRow, kRowOfB, kStartUpRow},
                        0,
                        {"designed A 2", "designed B 3", "designed A 4", "closed A", "closed B"}},
                    OutputsCase{"FailureStops",
                                {kStartUpRow, kRowOfB, kRowOfB},
                                3,
                                {"designed A 2", "closed A", "designed B 3"}}),
    [](const testing::TestParamInfo<OutputsCase>& p) { return std::string(p.param.name); });

}  // namespace
