#include "report/report_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>

#include "engine/column_calculator.h"
#include "report/gbk_text.h"
#include "report/report_text.h"
#include "report/report_writer.h"
#include "tests/engine/design_cases.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

// The start-up design case, loaded and not yet computed.
ColumnCalculator startUpCase() {
    ColumnCalculator c;
    loadCase(c, DesignCase{});
    return c;
}

// The two steps as the calculate command runs them: compute, then write that step's report.
FileResult runStep1(ColumnCalculator& c) {
    c.computeStep1();
    return writeStep1Report(kReportFileName, c.step1Design());
}

FileResult runStep2(ColumnCalculator& c, int scheme, double diameter, double ratioX,
                    double ratioY) {
    c.computeStep2(scheme, diameter, ratioX, ratioY);
    return writeStep2Report(kReportFileName, c.design());
}

struct GoldenCase {
    const char* file;
    int scheme;
    double diameter;
    double ratioX;
    double ratioY;
};

class GoldenReport : public testing::TestWithParam<GoldenCase> {};

// The whole report file of the start-up case, byte for byte (GBK, CR LF), for each layout.
TEST_P(GoldenReport, FileHoldsExactlyTheExpectedBytes) {
    ScratchDirectory scratch;
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c).ok);
    ASSERT_TRUE(
        runStep2(c, GetParam().scheme, GetParam().diameter, GetParam().ratioX, GetParam().ratioY)
            .ok);
    const std::string expected = testData(GetParam().file);
    EXPECT_EQ(readFileBytes("Result.txt"), expected);
    const ReportContent read = readReport(kReportFileName);
    EXPECT_TRUE(read.result.ok);
    EXPECT_EQ(read.bytes, expected);
    EXPECT_EQ(reportBytes(c.design()), expected);
}

INSTANTIATE_TEST_SUITE_P(StartUp, GoldenReport,
                         testing::Values(GoldenCase{"startup_scheme1_d22.gbk", 1, 22.0, 0, 0},
                                         GoldenCase{"startup_scheme1_d20.gbk", 1, 20.0, 0, 0},
                                         GoldenCase{"startup_scheme1_d40.gbk", 1, 40.0, 0, 0},
                                         GoldenCase{"startup_scheme2_r05.gbk", 2, 22.0, 0.5, 0.5},
                                         GoldenCase{"startup_scheme3.gbk", 3, 22.0, 0, 0}));

TEST(ReportFile, StepOneReplacesALongerOldFileEntirely) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", std::string(100000, 'x'));
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c).ok);
    const std::string golden = testData("startup_scheme1_d22.gbk");
    const std::string step1 = golden.substr(0, golden.find(utf8ToGbk("选用第 ")));
    EXPECT_EQ(readFileBytes("Result.txt"), step1);
}

TEST(ReportFile, ReportIsTheSameUnderADecimalCommaLocale) {
    const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (locale == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ScratchDirectory scratch;
    ColumnCalculator c = startUpCase();
    const bool ok = runStep1(c).ok && runStep2(c, 1, 22.0, 0, 0).ok;
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(ok);
    EXPECT_EQ(readFileBytes("Result.txt"), testData("startup_scheme1_d22.gbk"));
}

TEST(ReportFile, EmptyFileReadsBackAsEmptyText) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", "");
    const ReportContent read = readReport(kReportFileName);
    EXPECT_TRUE(read.result.ok);
    EXPECT_EQ(read.bytes, "");
}

// --- Failures: each names the file and the system's reason ------------------------------------

void expectFailure(const FileResult& r, FileAction action, const char* reason) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.fileName, "Result.txt");
    EXPECT_EQ(r.action, action);
    EXPECT_EQ(r.reason, reason);
}

TEST(ReportFile, DirectoryNamedLikeTheReportFailsEveryOperation) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("Result.txt");
    ColumnCalculator c = startUpCase();
    expectFailure(runStep1(c), FileAction::Create, "Is a directory");
    expectFailure(runStep2(c, 1, 22.0, 0, 0), FileAction::Append, "Is a directory");
    const ReportContent read = readReport(kReportFileName);
    expectFailure(read.result, FileAction::Read, "Is a directory");
    EXPECT_EQ(read.bytes, "");
    // The engine computed step 1 before the write failed.
    EXPECT_NEAR(c.Asex, 1652.757, 5e-4);
}

TEST(ReportFile, FullDiskFailsTheWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ScratchDirectory scratch;
    std::filesystem::create_symlink("/dev/full", "Result.txt");
    ColumnCalculator c = startUpCase();
    expectFailure(runStep1(c), FileAction::Write, "No space left on device");
    expectFailure(runStep2(c, 1, 22.0, 0, 0), FileAction::Append, "No space left on device");
}

TEST(ReportFile, StepTwoDoesNotRecreateARemovedFile) {
    ScratchDirectory scratch;
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c).ok);
    std::filesystem::remove("Result.txt");
    expectFailure(runStep2(c, 1, 22.0, 0, 0), FileAction::Append, "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists("Result.txt"));
    expectFailure(readReport(kReportFileName).result, FileAction::Read,
                  "No such file or directory");
}

// Another program holding the report locked (another instance writing or reading it).
TEST(ReportFile, LockedReportIsReportedAndLeftAlone) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", "held by another program");
    const int other = ::open("Result.txt", O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    ColumnCalculator c = startUpCase();
    expectFailure(runStep1(c), FileAction::Create, "the file is in use by another program");
    expectFailure(runStep2(c, 1, 22.0, 0, 0), FileAction::Append,
                  "the file is in use by another program");
    expectFailure(readReport(kReportFileName).result, FileAction::Read,
                  "the file is in use by another program");
    EXPECT_EQ(readFileBytes("Result.txt"), "held by another program");
    // A reader's shared lock keeps writers out but lets another reader in.
    ASSERT_EQ(::flock(other, LOCK_SH), 0);
    EXPECT_TRUE(readReport(kReportFileName).result.ok);
    expectFailure(runStep1(c), FileAction::Create, "the file is in use by another program");
    ::close(other);
    EXPECT_TRUE(runStep1(c).ok);
}

TEST(ReportFile, OpenWithoutALockDoesNotStopTheReport) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", std::string(5000, 'o'));
    const int other = ::open("Result.txt", O_WRONLY);
    ASSERT_GE(other, 0);
    ColumnCalculator c = startUpCase();
    EXPECT_TRUE(runStep1(c).ok);
    EXPECT_TRUE(runStep2(c, 1, 22.0, 0, 0).ok);
    ::close(other);
    EXPECT_EQ(readFileBytes("Result.txt"), testData("startup_scheme1_d22.gbk"));
}

TEST(ReportFile, ReadOnlyFileAndDirectoryFailWhenNotRoot) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    ScratchDirectory scratch;
    ColumnCalculator c = startUpCase();
    writeFileBytes("Result.txt", "old");
    std::filesystem::permissions("Result.txt", std::filesystem::perms::owner_read);
    expectFailure(runStep1(c), FileAction::Create, "Permission denied");
    EXPECT_EQ(readFileBytes("Result.txt"), "old");
    std::filesystem::remove("Result.txt");
    std::filesystem::permissions(
        ".", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    expectFailure(runStep1(c), FileAction::Create, "Permission denied");
}

}  // namespace
