#include "report/report_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <filesystem>

#include "engine/column_calculator.h"
#include "report/report_text.h"
#include "report/report_writer.h"
#include "tests/engine/design_cases.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

using namespace tessarin;

namespace {

constexpr std::chrono::milliseconds kShortWait{50};

// The start-up design case, loaded and not yet computed.
ColumnCalculator startUpCase() {
    ColumnCalculator c;
    loadCase(c, DesignCase{});
    return c;
}

// The two steps as the calculate command runs them: compute, then write that step's report.
FileResult runStep1(ColumnCalculator& c, ReportFile& report) {
    c.computeStep1();
    return writeStep1Report(report, c.step1Design());
}

FileResult runStep2(ColumnCalculator& c, ReportFile& report, int scheme = 1, double diameter = 22.0,
                    double ratioX = 0.0, double ratioY = 0.0) {
    c.computeStep2(scheme, diameter, ratioX, ratioY);
    return writeStep2Report(report, c.design());
}

std::string goldenReport() {
    return testData("startup_scheme1_d22.gbk");
}

std::string goldenStep1() {
    const std::string golden = goldenReport();
    return golden.substr(0, golden.find(utf8ToGbk("选用第 ")));
}

// What a killed or failed run may leave besides the report: nothing.
bool onlyTheReportIsThere(const TemporaryDirectory& dir) {
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename() != kReportFileName) return false;
        ++entries;
    }
    return entries <= 1;
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
    TemporaryDirectory dir;
    ReportFile report(dir.file(kReportFileName));
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, report).ok);
    ASSERT_TRUE(runStep2(c, report, GetParam().scheme, GetParam().diameter, GetParam().ratioX,
                         GetParam().ratioY)
                    .ok);
    const std::string expected = testData(GetParam().file);
    EXPECT_EQ(readFileBytes(report.path()), expected);
    const ReportContent read = report.readBack();
    EXPECT_TRUE(read.result.ok);
    EXPECT_EQ(read.bytes, expected);
    EXPECT_EQ(readReport(report.path()).bytes, expected);
    EXPECT_EQ(reportBytes(c.design()), expected);
    EXPECT_TRUE(onlyTheReportIsThere(dir));
}

INSTANTIATE_TEST_SUITE_P(StartUp, GoldenReport,
                         testing::Values(GoldenCase{"startup_scheme1_d22.gbk", 1, 22.0, 0, 0},
                                         GoldenCase{"startup_scheme1_d20.gbk", 1, 20.0, 0, 0},
                                         GoldenCase{"startup_scheme1_d40.gbk", 1, 40.0, 0, 0},
                                         GoldenCase{"startup_scheme2_r05.gbk", 2, 22.0, 0.5, 0.5},
                                         GoldenCase{"startup_scheme3.gbk", 3, 22.0, 0, 0}));

TEST(ReportFile, StepOneReplacesALongerOldFileEntirely) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file(kReportFileName), std::string(100000, 'x'));
    ReportFile report(dir.file(kReportFileName));
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, report).ok);
    EXPECT_EQ(readFileBytes(report.path()), goldenStep1());
}

TEST(ReportFile, ReportIsTheSameUnderADecimalCommaLocale) {
    const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (locale == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    TemporaryDirectory dir;
    ReportFile report(dir.file(kReportFileName));
    ColumnCalculator c = startUpCase();
    const bool ok = runStep1(c, report).ok && runStep2(c, report).ok;
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(ok);
    EXPECT_EQ(readFileBytes(report.path()), goldenReport());
}

TEST(ReportFile, EmptyFileReadsBackAsEmptyText) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file(kReportFileName), "");
    const ReportContent read = readReport(dir.file(kReportFileName));
    EXPECT_TRUE(read.result.ok);
    EXPECT_EQ(read.bytes, "");
}

// The report file of a relative name lives in the current directory: the name is used as given.
TEST(ReportFile, BareNameStaysRelative) {
    const ReportFile report(kReportFileName);
    EXPECT_EQ(report.path(), "Result.txt");
}

// --- Failures: each names the file and the system's reason ------------------------------------

void expectFailure(const FileResult& r, const std::string& file, FileAction action,
                   const char* reason) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.fileName, file);
    EXPECT_EQ(r.action, action);
    EXPECT_EQ(r.reason, reason);
}

TEST(ReportFile, DirectoryNamedLikeTheReportFailsEveryOperation) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    std::filesystem::create_directory(path);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    expectFailure(runStep1(c, report), path, FileAction::Create, "Is a directory");
    expectFailure(runStep2(c, report), path, FileAction::Append, "Is a directory");
    const ReportContent read = readReport(path);
    expectFailure(read.result, path, FileAction::Read, "Is a directory");
    EXPECT_EQ(read.bytes, "");
    // The engine computed step 1 before the write failed.
    EXPECT_NEAR(c.Asex, 1652.757, 5e-4);
}

// A write the disk cannot take, at half the bytes: the old report stays whole, step 1 and step 2
// alike, and the half-written temporary file is gone.
int fullDisk(ReportWriteStage stage) {
    return stage == ReportWriteStage::HalfWritten ? ENOSPC : 0;
}

TEST(ReportFile, FullDiskFailsTheWriteAndKeepsTheOldReport) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "old report");
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    setReportFaultHook(&fullDisk);
    const FileResult step1 = runStep1(c, report);
    setReportFaultHook(nullptr);
    expectFailure(step1, path, FileAction::Write, "No space left on device");
    EXPECT_EQ(readFileBytes(path), "old report");
    EXPECT_TRUE(onlyTheReportIsThere(dir));

    ASSERT_TRUE(runStep1(c, report).ok);
    setReportFaultHook(&fullDisk);
    const FileResult step2 = runStep2(c, report);
    setReportFaultHook(nullptr);
    expectFailure(step2, path, FileAction::Append, "No space left on device");
    EXPECT_EQ(readFileBytes(path), goldenStep1());
    EXPECT_TRUE(onlyTheReportIsThere(dir));
}

TEST(ReportFile, StepTwoDoesNotRecreateARemovedFile) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, report).ok);
    std::filesystem::remove(path);
    expectFailure(runStep2(c, report), path, FileAction::Append, "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    expectFailure(readReport(path).result, path, FileAction::Read, "No such file or directory");
}

// Another run owning the report (another instance between its step 1 and its read-back) holds
// the lock on the report's directory: this one waits a short while, then the report is in use.
TEST(ReportFile, ReportOwnedByAnotherRunIsInUseAndLeftAlone) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "held by another run");
    const int other = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    ReportFile report(path, kShortWait);
    ColumnCalculator c = startUpCase();
    const auto start = std::chrono::steady_clock::now();
    expectFailure(runStep1(c, report), path, FileAction::Create, kReportInUse);
    EXPECT_GE(std::chrono::steady_clock::now() - start, kShortWait);
    EXPECT_EQ(readFileBytes(path), "held by another run");
    // A second report object of this same process is another run too.
    ::close(other);
    ASSERT_TRUE(report.own().ok);
    ReportFile second(path, kShortWait);
    expectFailure(second.own(), path, FileAction::Create, kReportInUse);
    EXPECT_TRUE(runStep1(c, report).ok);
}

TEST(ReportFile, OpenWithoutALockDoesNotStopTheReport) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, std::string(5000, 'o'));
    const int other = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(other, 0);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    EXPECT_TRUE(runStep1(c, report).ok);
    EXPECT_TRUE(runStep2(c, report).ok);
    ::close(other);
    EXPECT_EQ(readFileBytes(path), goldenReport());
}

TEST(ReportFile, ReadOnlyFileAndDirectoryFailWhenNotRoot) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    ColumnCalculator c = startUpCase();
    writeFileBytes(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    ReportFile report(path);
    expectFailure(runStep1(c, report), path, FileAction::Create, "Permission denied");
    EXPECT_EQ(readFileBytes(path), "old");
    std::filesystem::remove(path);
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    expectFailure(runStep1(c, report), path, FileAction::Create, "Permission denied");
}

// A report made read-only-for-others keeps its permissions when it is replaced.
TEST(ReportFile, ReplacedReportKeepsItsPermissions) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "old");
    ::chmod(path.c_str(), 0600);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, report).ok);
    ASSERT_TRUE(runStep2(c, report).ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// --- Special files: never followed, never written into, never waited on ------------------------

struct SpecialCase {
    const char* name;
    void (*make)(const TemporaryDirectory& dir);  // puts something named Result.txt in place
    const char* step1Reason;                      // nullptr: step 1 replaces it
    const char* readReason;                       // what reading it before step 1 gives
};

void makePipe(const TemporaryDirectory& dir) {
    ASSERT_EQ(::mkfifo(dir.file(kReportFileName).c_str(), 0666), 0);
}
void makeLinkToAFile(const TemporaryDirectory& dir) {
    writeFileBytes(dir.file("theirs.txt"), "another user's file");
    std::filesystem::create_symlink(dir.file("theirs.txt"), dir.file(kReportFileName));
}
void makeLinkToFullDisk(const TemporaryDirectory& dir) {
    std::filesystem::create_symlink("/dev/full", dir.file(kReportFileName));
}
void makeDanglingLink(const TemporaryDirectory& dir) {
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file(kReportFileName));
}

class SpecialReportFile : public testing::TestWithParam<SpecialCase> {};

TEST_P(SpecialReportFile, IsReplacedOrRefusedWithItsKind) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    GetParam().make(dir);
    expectFailure(readReport(path).result, path, FileAction::Read, GetParam().readReason);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    const FileResult step1 = runStep1(c, report);
    if (GetParam().step1Reason != nullptr) {
        expectFailure(step1, path, FileAction::Create, GetParam().step1Reason);
        return;
    }
    ASSERT_TRUE(step1.ok) << step1.reason;
    ASSERT_TRUE(runStep2(c, report).ok);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
    EXPECT_EQ(readFileBytes(path), goldenReport());
    // Whatever the link pointed at is untouched.
    if (std::filesystem::exists(dir.file("theirs.txt"))) {
        EXPECT_EQ(readFileBytes(dir.file("theirs.txt")), "another user's file");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialReportFile,
                         testing::Values(SpecialCase{"NamedPipe", &makePipe,
                                                     "not a regular file but a named pipe (FIFO)",
                                                     "not a regular file but a named pipe (FIFO)"},
                                         SpecialCase{"LinkToAnotherFile", &makeLinkToAFile, nullptr,
                                                     "not a regular file but a symbolic link"},
                                         SpecialCase{"LinkToFullDisk", &makeLinkToFullDisk, nullptr,
                                                     "not a regular file but a symbolic link"},
                                         SpecialCase{"DanglingLink", &makeDanglingLink, nullptr,
                                                     "not a regular file but a symbolic link"}),
                         [](const testing::TestParamInfo<SpecialCase>& p) {
                             return std::string(p.param.name);
                         });

// --- The read-back is this run's own report or nothing ------------------------------------------

TEST(ReportFile, ReadBackRefusesAReportThatIsNotThisRunsOwn) {
    const struct {
        const char* name;
        void (*change)(const std::string& path);
        const char* reason;
    } cases[] = {
        {"ReplacedByAnotherFile",
         [](const std::string& path) {
             writeFileBytes(path + ".other", "another run's report");
             std::filesystem::rename(path + ".other", path);
         },
         "the report was changed by another program"},
        {"ChangedInPlace", [](const std::string& path) { writeFileBytes(path, "edited"); },
         "the report was changed by another program"},
        {"ReplacedByALink",
         [](const std::string& path) {
             std::filesystem::remove(path);
             std::filesystem::create_symlink("/etc/hostname", path);
         },
         "not a regular file but a symbolic link"},
    };
    for (const auto& change : cases) {
        SCOPED_TRACE(change.name);
        TemporaryDirectory dir;
        const std::string path = dir.file(kReportFileName);
        ReportFile report(path);
        ColumnCalculator c = startUpCase();
        ASSERT_TRUE(runStep1(c, report).ok);
        ASSERT_TRUE(runStep2(c, report).ok);
        change.change(path);
        const ReportContent read = report.readBack();
        expectFailure(read.result, path, FileAction::Read, change.reason);
        EXPECT_EQ(read.bytes, "");
    }
}

TEST(ReportFile, StepTwoRefusesAReportReplacedSinceStepOne) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    ReportFile report(path);
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, report).ok);
    writeFileBytes(path + ".other", "another run's step 1");
    std::filesystem::rename(path + ".other", path);
    expectFailure(runStep2(c, report), path, FileAction::Append,
                  "the report was replaced by another program");
    EXPECT_EQ(readFileBytes(path), "another run's step 1");
}

// --- A run killed at any point leaves a whole report and no lock -------------------------------

struct KillCase {
    const char* name;
    int step;  // the step the run dies in
    ReportWriteStage stage;
    const char* left;  // "old", "step1" or "whole"
};

ReportWriteStage killStage;

int dieHere(ReportWriteStage stage) {
    if (stage == killStage) ::_exit(9);
    return 0;
}

class KilledRun : public testing::TestWithParam<KillCase> {};

TEST_P(KilledRun, LeavesAWholeReportAndNoLock) {
    const KillCase& k = GetParam();
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    // An earlier run's report, longer than the new step 1: an overwrite in place that was cut
    // short would leave its tail behind.
    const std::string old = testData("startup_scheme2_r05.gbk") + std::string(3000, '-');
    writeFileBytes(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ReportFile report(path);
        ColumnCalculator c = startUpCase();
        killStage = k.stage;
        setReportFaultHook(k.step == 1 ? &dieHere : nullptr);
        if (!runStep1(c, report).ok) ::_exit(1);
        setReportFaultHook(&dieHere);
        runStep2(c, report);
        ::_exit(1);  // not reached: every case dies on its way
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 9);

    const std::string left = readFileBytes(path);
    const std::string expected = std::string(k.left) == "old"     ? old
                                 : std::string(k.left) == "step1" ? goldenStep1()
                                                                  : goldenReport();
    EXPECT_EQ(left, expected);

    // The next run gets the report at once and clears what the killed one left.
    ReportFile next(path, std::chrono::milliseconds(0));
    ColumnCalculator c = startUpCase();
    ASSERT_TRUE(runStep1(c, next).ok);
    ASSERT_TRUE(runStep2(c, next).ok);
    EXPECT_EQ(next.readBack().bytes, goldenReport());
    EXPECT_TRUE(onlyTheReportIsThere(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Stages, KilledRun,
    testing::Values(KillCase{"Step1TemporaryCreated", 1, ReportWriteStage::TemporaryCreated, "old"},
                    KillCase{"Step1HalfWritten", 1, ReportWriteStage::HalfWritten, "old"},
                    KillCase{"Step1Written", 1, ReportWriteStage::Written, "old"},
                    KillCase{"Step1Renamed", 1, ReportWriteStage::Renamed, "step1"},
                    KillCase{"Step2TemporaryCreated", 2, ReportWriteStage::TemporaryCreated,
                             "step1"},
                    KillCase{"Step2HalfWritten", 2, ReportWriteStage::HalfWritten, "step1"},
                    KillCase{"Step2Written", 2, ReportWriteStage::Written, "step1"},
                    KillCase{"Step2Renamed", 2, ReportWriteStage::Renamed, "whole"}),
    [](const testing::TestParamInfo<KillCase>& p) { return std::string(p.param.name); });

}  // namespace
