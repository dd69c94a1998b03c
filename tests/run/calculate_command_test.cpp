#include "run/calculate_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/column_calculator.h"
#include "report/gbk_text.h"
#include "tests/run/recording_host.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

using Calls = std::vector<std::string>;

std::string stepOneSection() {
    const std::string golden = testData("startup_scheme1_d22.gbk");
    return golden.substr(0, golden.find(utf8ToGbk("选用第 ")));
}

TEST(CalculateCommand, StartUpCaseWithOkAtOnceShowsTheReportOfDiameter22) {
    ScratchDirectory scratch;
    RecordingHost host;
    host.choice = SchemeChoice{0, 22.0, 0.0, 0.0};
    std::string onDiskWhileChoosing;
    host.whileChoosing = [&] { onDiskWhileChoosing = readFileBytes("Result.txt"); };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::Done);
    EXPECT_EQ(host.calls, (Calls{"exchange", "scheme", "report"}));
    // Step 1's section is on disk before the engineer chooses the arrangement.
    EXPECT_EQ(onDiskWhileChoosing, stepOneSection());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], testData("startup_scheme1_d22.gbk"));
    EXPECT_EQ(readFileBytes("Result.txt"), host.reports[0]);
    EXPECT_EQ(session.scheme.scheme, Scheme::CornerBars);
    EXPECT_EQ(session.scheme.diameter, 22.0);
}

TEST(CalculateCommand, DeclinedSchemeKeepsTheStartValueDiameter20) {
    ScratchDirectory scratch;
    RecordingHost host;
    host.choice.reset();
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::Done);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], testData("startup_scheme1_d20.gbk"));
    EXPECT_EQ(session.scheme.scheme, Scheme::CornerBars);
    EXPECT_EQ(session.scheme.diameter, 20.0);
}

TEST(CalculateCommand, SchemeTwoSurvivesADeclinedQuestionInTheNextRun) {
    ScratchDirectory scratch;
    RecordingHost host;
    host.choice = SchemeChoice{1, 22.0, 0.5, 0.5};
    DesignSession session;
    ASSERT_EQ(onCalculate(session, host), RunOutcome::Done);
    host.choice.reset();
    ASSERT_EQ(onCalculate(session, host), RunOutcome::Done);
    ASSERT_EQ(host.reports.size(), 2u);
    EXPECT_EQ(host.reports[1], testData("startup_scheme2_r05.gbk"));
    EXPECT_EQ(session.scheme.scheme, Scheme::EqualDiameters);
    EXPECT_EQ(session.scheme.ratioX, 0.5);
}

TEST(CalculateCommand, RejectedFieldStopsBeforeAnythingIsComputed) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", "previous run");
    RecordingHost host;
    host.typed.reset();
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FieldRejected);
    EXPECT_EQ(host.calls, (Calls{"exchange"}));
    EXPECT_EQ(readFileBytes("Result.txt"), "previous run");
    EXPECT_FALSE(session.design.has_value());
}

TEST(CalculateCommand, SecondRunWithOtherGradesRederivesEveryMaterialValue) {
    ScratchDirectory scratch;
    RecordingHost host;
    DesignSession session;
    ASSERT_EQ(onCalculate(session, host), RunOutcome::Done);
    host.typed->concreteIndex = 13;  // C80
    host.typed->steelIndex = 0;      // HPB235
    ASSERT_EQ(onCalculate(session, host), RunOutcome::Done);
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
    ScratchDirectory scratch;
    std::filesystem::create_directory("Result.txt");
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FileFailed);
    EXPECT_EQ(host.calls, (Calls{"exchange", "message 错误"}));
    expectFileMessage(host, "无法创建报告文件 Result.txt", "Is a directory");
    EXPECT_NE(host.messages.back().text.find(scratch.path()), std::string::npos);
}

TEST(CalculateCommand, FullDiskStopsAfterStepOne) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ScratchDirectory scratch;
    std::filesystem::create_symlink("/dev/full", "Result.txt");
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FileFailed);
    EXPECT_EQ(host.calls, (Calls{"exchange", "message 错误"}));
    expectFileMessage(host, "无法写入报告文件 Result.txt", "No space left on device");
}

TEST(CalculateCommand, ReportRemovedWhileChoosingStopsStepTwo) {
    ScratchDirectory scratch;
    RecordingHost host;
    host.whileChoosing = [] { std::filesystem::remove("Result.txt"); };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FileFailed);
    EXPECT_EQ(host.calls, (Calls{"exchange", "scheme", "message 错误"}));
    expectFileMessage(host, "无法向报告文件 Result.txt 追加配筋结果", "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists("Result.txt"));
    EXPECT_TRUE(host.reports.empty());
}

TEST(CalculateCommand, ReportReplacedByADirectoryWhileChoosingStopsStepTwo) {
    ScratchDirectory scratch;
    RecordingHost host;
    host.whileChoosing = [] {
        std::filesystem::remove("Result.txt");
        std::filesystem::create_directory("Result.txt");
    };
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FileFailed);
    expectFileMessage(host, "无法向报告文件 Result.txt 追加配筋结果", "Is a directory");
    EXPECT_TRUE(host.reports.empty());
}

TEST(CalculateCommand, DeletedCurrentDirectoryStopsWithAMessage) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(scratch.path() + "/gone");
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::FileFailed);
    expectFileMessage(host, "无法创建报告文件 Result.txt", "No such file or directory");
    std::filesystem::current_path(scratch.path());
}

TEST(CalculateCommand, VeryLongCurrentPathStillGetsItsReport) {
    ScratchDirectory scratch;
    // Deeper than PATH_MAX (4096): the report is opened by its bare name, so depth does not matter.
    const std::string level(200, 'd');
    for (int i = 0; i < 25; ++i) {
        std::filesystem::create_directory(level);
        std::filesystem::current_path(level);
    }
    RecordingHost host;
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host), RunOutcome::Done);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], testData("startup_scheme1_d22.gbk"));
    // Remove the tree bottom up by relative names: no full path of it fits in PATH_MAX.
    std::filesystem::remove("Result.txt");
    for (int i = 0; i < 25; ++i) {
        std::filesystem::current_path("..");
        std::filesystem::remove(level);
    }
}

// --- A design that never settles ends and says so after the report -----------------------------

TEST(CalculateCommand, NonConvergenceWarnsAfterTheReport) {
    ScratchDirectory scratch;
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
    EXPECT_EQ(onCalculate(session, host), RunOutcome::Done);
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
