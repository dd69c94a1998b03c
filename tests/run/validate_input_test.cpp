#include "run/validate_input.h"

#include <gtest/gtest.h>

#include <functional>

#include "run/calculate_command.h"
#include "tests/run/recording_host.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

struct RejectedCase {
    const char* name;
    std::function<void(DesignInput&)> change;
    const char* text;
    const char* caption;
    int focus;
};

class RejectedInput : public testing::TestWithParam<RejectedCase> {};

// Each failing check: its message, caption, kind and focused field; nothing computed, the report
// file and the shown report as they were.
TEST_P(RejectedInput, ShowsItsMessageFocusesItsFieldAndComputesNothing) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    writeFileBytes(path, "previous run");
    RecordingHost host;
    GetParam().change(*host.typed);
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::InputRejected);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (Message{GetParam().text, GetParam().caption, MessageKind::Error}));
    EXPECT_EQ(host.focused, std::vector<int>{GetParam().focus});
    EXPECT_EQ(host.calls.back(), "focus " + std::to_string(GetParam().focus));
    EXPECT_TRUE(host.reports.empty());
    EXPECT_EQ(readFileBytes(path), "previous run");
    EXPECT_FALSE(session.design.has_value());  // nothing was designed
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RejectedInput,
    testing::Values(RejectedCase{"LengthZero", [](DesignInput& in) { in.l0 = 0.0; },
                                 "柱计算长度度应为大于零的数", "错误", 1000},
                    RejectedCase{"HeightBeforeWidth",
                                 [](DesignInput& in) {
                                     in.h = 0.0;
                                     in.b = 0.0;
                                 },
                                 "柱截面高度应为大于零的数,\r\n请重新输入。", "请注意", 1002},
                    RejectedCase{"WidthNegative", [](DesignInput& in) { in.b = -400.0; },
                                 "柱截面宽度应为大于零的数,\r\n请重新输入。", "请注意", 1001},
                    RejectedCase{"MomentXZero", [](DesignInput& in) { in.M0x = 0.0; },
                                 "双向偏心受压M0x应为大于零的数", "错误", 1003},
                    RejectedCase{"MomentYZero", [](DesignInput& in) { in.M0y = 0.0; },
                                 "双向偏心受压M0y应为大于零的数", "错误", 1004},
                    RejectedCase{"ForceNegative", [](DesignInput& in) { in.N = -10.0; },
                                 "双向偏心受压N应为大于零的数", "错误", 1005},
                    RejectedCase{"BothDistancesZeroShowsAxOnly",
                                 [](DesignInput& in) {
                                     in.ax = 0.0;
                                     in.ay = 0.0;
                                 },
                                 "钢筋合力点位置应为为大于零的数", "错误", 1006},
                    RejectedCase{"DistanceYZero", [](DesignInput& in) { in.ay = 0.0; },
                                 "钢筋合力点位置应为为大于零的数", "错误", 1007},
                    RejectedCase{"DistanceXHalfTheHeight", [](DesignInput& in) { in.ax = 300.0; },
                                 "钢筋合力点至截面近边的距离ax应小于截面高度h的一半", "错误", 1006},
                    RejectedCase{"DistanceYBeyondHalfTheWidth",
                                 [](DesignInput& in) { in.ay = 250.0; },
                                 "钢筋合力点至截面近边的距离ay应小于截面宽度b的一半", "错误", 1007},
                    RejectedCase{"MomentCheckedBeforeDistanceHalfDepth",
                                 [](DesignInput& in) {
                                     in.M0x = 0.0;
                                     in.ax = 400.0;
                                 },
                                 "双向偏心受压M0x应为大于零的数", "错误", 1003}),
    [](const testing::TestParamInfo<RejectedCase>& p) { return std::string(p.param.name); });

struct ModuleCase {
    const char* name;
    double h;
    double b;
    const char* question;  // nullptr: no question
    int focus;
};

constexpr const char* kBelow800 = "柱截面边长在800mm以下，宜取50mm为模数,\r\n是否修改数据?";
constexpr const char* kAbove800 = "柱截面边长在800mm以上，宜取100mm为模数,\r\n是否修改数据?";

class SectionModule : public testing::TestWithParam<ModuleCase> {};

// Yes goes back to the field; No lets the case run with the value unchanged.
TEST_P(SectionModule, AsksOnlyOffTheModule) {
    const ModuleCase& m = GetParam();
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        DesignInput in;
        in.h = m.h;
        in.b = m.b;
        RecordingHost host;
        host.answers = {answer};
        const bool accepted = confirmInput(validateInput(in), host);
        if (m.question == nullptr) {
            EXPECT_TRUE(accepted);
            EXPECT_TRUE(host.messages.empty());
            continue;
        }
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], (Message{m.question, "提示", MessageKind::Question}));
        if (answer == MessageAnswer::Yes) {
            EXPECT_FALSE(accepted);
            EXPECT_EQ(host.focused, std::vector<int>{m.focus});
        } else {
            EXPECT_TRUE(accepted);
            EXPECT_TRUE(host.focused.empty());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SectionModule,
    testing::Values(ModuleCase{"StartValues", 600, 400, nullptr, 0},
                    ModuleCase{"Height650", 650, 400, nullptr, 0},
                    ModuleCase{"Height620", 620, 400, kBelow800, 1002},
                    ModuleCase{"Height600Point7", 600.7, 400, nullptr, 0},
                    ModuleCase{"Height800IsTestedAgainst50", 800, 400, nullptr, 0},
                    ModuleCase{"Height790", 790, 400, kBelow800, 1002},
                    ModuleCase{"Height850", 850, 400, kAbove800, 1002},
                    ModuleCase{"Height900", 900, 400, nullptr, 0},
                    ModuleCase{"Height950", 950, 400, kAbove800, 1002},
                    ModuleCase{"Height800Point7", 800.7, 400, nullptr, 0},
                    ModuleCase{"Width850", 600, 850, kAbove800, 1001},
                    ModuleCase{"Width420", 600, 420, kBelow800, 1001},
                    ModuleCase{"HeightBeyondInt", 1e10, 400, kAbove800, 1002}),
    [](const testing::TestParamInfo<ModuleCase>& p) { return std::string(p.param.name); });

TEST(SectionModule, BothSidesOffTheModuleAskTwiceWhenAnsweredNo) {
    DesignInput in;
    in.h = 620.0;
    in.b = 420.0;
    RecordingHost host;
    EXPECT_TRUE(confirmInput(validateInput(in), host));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, kBelow800);
    EXPECT_EQ(host.messages[1].text, kBelow800);
}

TEST(SectionModule, NoContinuesTheRunWithTheTypedHeight) {
    TemporaryDirectory dir;
    const std::string path = dir.file(kReportFileName);
    RecordingHost host;
    host.typed->h = 620.0;
    host.answers = {MessageAnswer::No};
    DesignSession session;
    EXPECT_EQ(onCalculate(session, host, path), RunOutcome::Done);
    ASSERT_TRUE(session.design.has_value());
    EXPECT_EQ(session.design->column.h, 620.0);
    ASSERT_EQ(host.reports.size(), 1u);
}

}  // namespace

namespace {

// The findings themselves, for callers that record rather than ask (a batch): the questions in
// check order, then the first error, and nothing after it.
TEST(InputFindings, ComeInCheckOrderAndEndWithTheFirstError) {
    DesignInput in;
    in.h = 620.0;
    in.b = 850.0;
    in.M0x = 0.0;
    in.N = 0.0;  // not reached: the M0x error ends the checks
    const std::vector<InputFinding> found = validateInput(in);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(found[0].isQuestion());
    EXPECT_EQ(found[0].message.text, kBelow800);
    EXPECT_EQ(found[0].control, ControlId::H);
    EXPECT_EQ(found[1].message.text, kAbove800);
    EXPECT_EQ(found[1].control, ControlId::B);
    EXPECT_FALSE(found[2].isQuestion());
    EXPECT_EQ(found[2].message,
              (Message{"双向偏心受压M0x应为大于零的数", "错误", MessageKind::Error}));
    EXPECT_EQ(found[2].control, ControlId::M0x);
    EXPECT_TRUE(validateInput(DesignInput{}).empty());
}

}  // namespace
