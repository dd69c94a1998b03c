#include "run/calculate_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "engine/column_calculator.h"
#include "tests/run/recording_host.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

using namespace tessarin;

namespace {

using Calls = std::vector<std::string>;

constexpr std::chrono::milliseconds kShortWait{50};

std::string stepOneSection() {
    const std::string golden = testData("startup_scheme1_d22.gbk");
    return golden.substr(0, golden.find(utf8ToGbk("选用第 ")));
}

TEST(CalculateCommand, StartUpCaseWithOkAtOnceShowsTheReportOfDiameter22) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.choice = SchemeChoice{0, 22.0, 0.0, 0.0};
    std::string onDiskWhileChoosing;
    host.whileChoosing = [&] { onDiskWhileChoosing = readFileBytes(path); };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    EXPECT_EQ(host.calls, (Calls{"exchange", "scheme", "report"}));
    // Step 1's section is on disk before the engineer chooses the arrangement.
    EXPECT_EQ(onDiskWhileChoosing, stepOneSection());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], testData("startup_scheme1_d22.gbk"));
    EXPECT_EQ(readFileBytes(path), host.reports[0]);
    EXPECT_EQ(session.scheme.scheme, Scheme::CornerBars);
    EXPECT_EQ(session.scheme.diameter, 22.0);
}

TEST(CalculateCommand, DeclinedSchemeKeepsTheStartValueDiameter20) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.choice.reset();
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], testData("startup_scheme1_d20.gbk"));
    EXPECT_EQ(session.scheme.scheme, Scheme::CornerBars);
    EXPECT_EQ(session.scheme.diameter, 20.0);
}

TEST(CalculateCommand, SchemeTwoSurvivesADeclinedQuestionInTheNextRun) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.choice = SchemeChoice{1, 22.0, 0.5, 0.5};
    DesignSession session;
    ASSERT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    host.choice.reset();
    ASSERT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    ASSERT_EQ(host.reports.size(), 2u);
    EXPECT_EQ(host.reports[1], testData("startup_scheme2_r05.gbk"));
    EXPECT_EQ(session.scheme.scheme, Scheme::EqualDiameters);
    EXPECT_EQ(session.scheme.ratioX, 0.5);
}

TEST(CalculateCommand, RejectedFieldStopsBeforeAnythingIsComputed) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "previous run");
    RecordingHost host;
    host.typed.reset();
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FieldRejected);
    EXPECT_EQ(host.calls, (Calls{"exchange"}));
    EXPECT_EQ(readFileBytes(path), "previous run");
    EXPECT_FALSE(session.design.has_value());
}

TEST(CalculateCommand, SecondRunWithOtherGradesRederivesEveryMaterialValue) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    DesignSession session;
    ASSERT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    host.typed->concreteIndex = 13;  // C80
    host.typed->steelIndex = 0;      // HPB235
    ASSERT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    ASSERT_TRUE(session.design.has_value());
    const ColumnCase& c = session.design->column;
    EXPECT_EQ(c.fc, 35.9);
    EXPECT_EQ(c.fy, 210.0);
    EXPECT_EQ(c.Es, 210000.0);
    EXPECT_EQ(c.alpha1, 0.94);
    EXPECT_EQ(c.beta1, 0.764);
    EXPECT_EQ(c.xiB, 0.5730000000000001);  // steel loaded before the concrete grade
    const std::string report = gbkToUtf8(host.reports.back());
    EXPECT_NE(report.find("混凝土强度等级：C80.000000\tfc=35.900000\r\n"), std::string::npos);
    EXPECT_NE(report.find("钢筋强度等级：\t热轧钢筋HPB235\tfy=210.000000\r\n"), std::string::npos);
}

// --- The report file fails: the run stops at that step with a message naming file and reason ---

void expectFileMessage(const RecordingHost& host, const char* start, const char* reason) {
    ASSERT_FALSE(host.messages.empty());
    const Message& m = host.messages.back();
    EXPECT_EQ(m.caption, "错误");
    EXPECT_EQ(m.kind, MessageKind::Error);
    EXPECT_EQ(m.text.rfind(start, 0), 0u) << m.text;
    EXPECT_NE(m.text.find(reason), std::string::npos) << m.text;
}

TEST(CalculateCommand, DirectoryNamedLikeTheReportStopsAfterStepOne) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    std::filesystem::create_directory(path);
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    EXPECT_EQ(host.calls, (Calls{"exchange", "message 错误"}));
    expectFileMessage(host, ("无法创建报告文件 " + path).c_str(), "Is a directory");
    EXPECT_NE(host.messages.back().text.find("\r\n目录：" + dir.path() + "\r\n"),
              std::string::npos);
}

// A full disk: the write of step 1 (or step 2) fails half way; the old report stays whole.
int fullDisk(ReportWriteStage stage) {
    return stage == ReportWriteStage::HalfWritten ? ENOSPC : 0;
}

TEST(CalculateCommand, FullDiskStopsAfterStepOne) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "previous run");
    RecordingHost host;
    DesignSession session;
    setReportFaultHook(&fullDisk);
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    setReportFaultHook(nullptr);
    EXPECT_EQ(host.calls, (Calls{"exchange", "message 错误"}));
    expectFileMessage(host, ("无法写入报告文件 " + path).c_str(), "No space left on device");
    EXPECT_EQ(readFileBytes(path), "previous run");
}

TEST(CalculateCommand, ReportRemovedWhileChoosingStopsStepTwo) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.whileChoosing = [&] { std::filesystem::remove(path); };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    EXPECT_EQ(host.calls, (Calls{"exchange", "scheme", "message 错误"}));
    expectFileMessage(host, ("无法向报告文件 " + path + " 追加配筋结果").c_str(),
                      "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(host.reports.empty());
}

TEST(CalculateCommand, ReportReplacedByADirectoryWhileChoosingStopsStepTwo) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.whileChoosing = [&] {
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
    };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    expectFileMessage(host, ("无法向报告文件 " + path + " 追加配筋结果").c_str(), "Is a directory");
    EXPECT_TRUE(host.reports.empty());
}

// --- One run owns the report from step 1 to the read-back -------------------------------------

// A second run in the same directory while the first one's scheme question is open: it waits a
// short while and stops with the report in use; the first run then shows its own report.
TEST(CalculateCommand, SecondRunWhileChoosingFindsTheReportInUse) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost second;
    second.typed->N = 2500.0;
    DesignSession secondSession;
    RunOutcome secondOutcome = RunOutcome::Done;
    RecordingHost first;
    first.whileChoosing = [&] {
        secondOutcome = onCalculate(secondSession, second, path, kShortWait);
    };
    DesignSession firstSession;
    EXPECT_EQ(onCalculate(firstSession, first, path), RunOutcome::Done);
    EXPECT_EQ(secondOutcome, RunOutcome::FileFailed);
    EXPECT_EQ(second.calls, (Calls{"exchange", "message 错误"}));
    expectFileMessage(second, ("无法创建报告文件 " + path).c_str(), kReportInUse);
    ASSERT_EQ(first.reports.size(), 1u);
    EXPECT_EQ(first.reports[0], testData("startup_scheme1_d22.gbk"));
    EXPECT_EQ(readFileBytes(path), first.reports[0]);
}

// Another program puts its own file in the report's place after step 2: the run does not show it.
std::string otherReportPath;
int replaceAfterStepTwo(ReportWriteStage stage) {
    static int renames = 0;
    if (stage != ReportWriteStage::Renamed || ++renames % 2 != 0) return 0;
    writeFileBytes(otherReportPath + ".other", "not this run's report");
    std::filesystem::rename(otherReportPath + ".other", otherReportPath);
    return 0;
}

TEST(CalculateCommand, ReportReplacedBeforeTheReadBackIsNotShown) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    otherReportPath = path;
    RecordingHost host;
    DesignSession session;
    setReportFaultHook(&replaceAfterStepTwo);
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    setReportFaultHook(nullptr);
    EXPECT_EQ(host.calls, (Calls{"exchange", "scheme", "message 错误"}));
    expectFileMessage(host, ("无法读取报告文件 " + path).c_str(),
                      "the report was changed by another program");
    EXPECT_TRUE(host.reports.empty());
    EXPECT_FALSE(session.design.has_value());
}

// A named pipe called like the report: a clear message with the name and the reason, no wait.
TEST(CalculateCommand, NamedPipeNamedLikeTheReportStopsWithItsKind) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::FileFailed);
    expectFileMessage(host, ("无法创建报告文件 " + path).c_str(),
                      "原因：not a regular file but a named pipe (FIFO)");
}

// --- The bare name: the report follows the current directory ----------------------------------

// Runs body in a child process, so that it may change the current directory; its exit code.
int inChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) ::_exit(body());
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(CalculateCommand, DeletedCurrentDirectoryStopsWithAMessage) {
    TemporaryDirectory dir;
    const std::string gone = dir.file("gone");
    std::filesystem::create_directory(gone);
    const int code = inChild([&] {
        std::filesystem::current_path(gone);
        std::filesystem::remove(gone);
        RecordingHost host;
        DesignSession session;
        if (onCalculate(session, host) != RunOutcome::FileFailed) return 1;
        const std::string& text = host.messages.back().text;
        if (text.rfind("无法创建报告文件 Result.txt\r\n", 0) != 0) return 2;
        return text.find("No such file or directory") == std::string::npos ? 3 : 0;
    });
    EXPECT_EQ(code, 0);
}

TEST(CalculateCommand, VeryLongCurrentPathStillGetsItsReport) {
    TemporaryDirectory dir;
    const std::string golden = testData("startup_scheme1_d22.gbk");
    const int code = inChild([&] {
        std::filesystem::current_path(dir.path());
        // Deeper than PATH_MAX (4096): the report is opened by its bare name, so depth does not
        // matter.
        const std::string level(200, 'd');
        for (int i = 0; i < 25; ++i) {
            std::filesystem::create_directory(level);
            std::filesystem::current_path(level);
        }
        RecordingHost host;
        DesignSession session;
        if (onCalculate(session, host) != RunOutcome::Done) return 1;
        if (host.reports.size() != 1 || host.reports[0] != golden) return 2;
        // Remove the tree bottom up by relative names: no full path of it fits in PATH_MAX.
        std::filesystem::remove(kReportFileName);
        for (int i = 0; i < 25; ++i) {
            std::filesystem::current_path("..");
            std::filesystem::remove(level);
        }
        return 0;
    });
    EXPECT_EQ(code, 0);
}

// --- A design that never settles ends and says so after the report -----------------------------

TEST(CalculateCommand, NonConvergenceWarnsAfterTheReport) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    DesignInput& in = *host.typed;
    in.concreteIndex = 10;  // C65
    in.l0 = 3000.0;
    in.b = 300.0;
    in.h = 300.0;
    in.M0x = 5.0;
    in.M0y = 600.0;
    in.N = 400.0;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    ASSERT_TRUE(session.design.has_value());
    EXPECT_EQ(session.design->step1.passesX, ColumnCalculator::kMaxPasses);
    ASSERT_GE(host.calls.size(), 4u);
    EXPECT_EQ(host.calls[2], "report");
    EXPECT_EQ(host.calls[3], "message 提示");
    const Message& warning = host.messages.back();
    EXPECT_EQ(warning.kind, MessageKind::Warning);
    EXPECT_EQ(warning.text.rfind('X', 0), 0u);
    EXPECT_EQ(warning.text.find("方向等效钢筋面积迭代未收敛,\r\n计算结果仅供参考,请检查输入数据。"),
              1u);
}

TEST(ConvergenceWarning, NamesTheDirectionsThatDidNotSettle) {
    const char* tail = "方向等效钢筋面积迭代未收敛,\r\n计算结果仅供参考,请检查输入数据。";
    EXPECT_EQ(convergenceWarning(false, true).text, std::string("X") + tail);
    EXPECT_EQ(convergenceWarning(true, false).text, std::string("Y") + tail);
    EXPECT_EQ(convergenceWarning(false, false).text, std::string("X、Y") + tail);
    EXPECT_EQ(convergenceWarning(false, false).caption, "提示");
}

}  // namespace

namespace {

// Cases the checks accept whose numbers run out of doubles: l0 = 1e150 mm (the slenderness
// l0 / h = 1.7e147 squared overflows) and N = 1e-320 kN (e0 = M0 / N is infinite). Each report is
// shown, then its own warning, after any non-convergence warning; the design is kept but says
// it is not finite.
TEST(CalculateCommand, NonFiniteResultsWarnAfterTheReport) {
    const struct {
        const char* name;
        void (*change)(DesignInput& in);
    } cases[] = {{"HugeLength", [](DesignInput& in) { in.l0 = 1e150; }},
                 {"TinyForce", [](DesignInput& in) { in.N = 1e-320; }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDirectory dir;
        RecordingHost host;
        c.change(*host.typed);
        DesignSession session;
        EXPECT_EQ(onCalculate(session, host, dir.file(kReportFileName)), RunOutcome::Done);
        ASSERT_GE(host.calls.size(), 4u);
        EXPECT_EQ(host.calls[2], "report");
        EXPECT_EQ(host.calls.back(), "message 提示");
        EXPECT_EQ(host.messages.back(), nonFiniteWarning());
        EXPECT_EQ(nonFiniteWarning().kind, MessageKind::Warning);
        ASSERT_TRUE(session.design.has_value());
        EXPECT_FALSE(session.design->finite());
    }
    // The start-up case has no such warning.
    TemporaryDirectory dir;
    RecordingHost host;
    DesignSession session;
    ASSERT_EQ(onCalculate(session, host, dir.file(kReportFileName)), RunOutcome::Done);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
