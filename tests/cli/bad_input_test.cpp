#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_main.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

struct BadInput {
    const char* name;
    std::string text;  // given as --l0
    int code;
    const char* report;  // "old": Result.txt untouched; "golden": the start-up report; "new"
};

class CliBadInput : public testing::TestWithParam<BadInput> {};

// Nothing crashes, nothing is computed from a rejected value, Result.txt is untouched after every
// rejection; what the strict parser accepts runs as typed.
TEST_P(CliBadInput, IsRejectedOrRunsAsTyped) {
    ScratchDirectory scratch;
    writeFileBytes("Result.txt", "earlier report");
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"--l0", GetParam().text}, out, err), GetParam().code) << err.str();
    const std::string report = readFileBytes("Result.txt");
    const std::string expected = GetParam().report;
    if (expected == "old") {
        EXPECT_EQ(report, "earlier report");
        EXPECT_EQ(out.str(), "");
    } else if (expected == "golden") {
        EXPECT_EQ(report, testData("startup_scheme1_d22.gbk"));
    } else {
        EXPECT_NE(report, "earlier report");
        EXPECT_NE(report, testData("startup_scheme1_d22.gbk"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, CliBadInput,
    testing::Values(
        BadInput{"Empty", "", 2, "old"}, BadInput{"Blank", " ", 2, "old"},
        BadInput{"Letters", "abc", 2, "old"}, BadInput{"DecimalComma", "1,5", 2, "old"},
        BadInput{"TwoPoints", "1.5.2", 2, "old"}, BadInput{"Overflow", "1e999", 2, "old"},
        BadInput{"NegativeOverflow", "-1e999", 2, "old"},
        BadInput{"UnderflowIsZeroAndFailsTheCheck", "1e-400", 1, "old"},
        BadInput{"Infinity", "inf", 2, "old"}, BadInput{"NotANumber", "nan", 2, "old"},
        BadInput{"Hex", "0x10", 2, "old"}, BadInput{"PlusSign", "+5", 0, "new"},
        BadInput{"Blanks", " 6000 ", 0, "golden"}, BadInput{"Tab", "\t6000", 0, "golden"},
        BadInput{"Exponent", "6e3", 0, "golden"},
        BadInput{"NegativeZeroFailsTheCheck", "-0", 1, "old"},
        BadInput{"FullWidthDigits", "\xEF\xBC\x96\xEF\xBC\x90\xEF\xBC\x90\xEF\xBC\x90", 2, "old"},
        BadInput{"TenThousandDigits", std::string(10000, '7'), 2, "old"},
        BadInput{"EmbeddedNul",
                 std::string("60\0"
                             "00",
                             5),
                 2, "old"}),
    [](const testing::TestParamInfo<BadInput>& p) { return std::string(p.param.name); });

}  // namespace
