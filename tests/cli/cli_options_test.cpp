#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_main.h"
#include "cli/console_host.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

using namespace tessarin;

namespace {

using Args = std::vector<std::string>;

TEST(CliOptions, NoFlagsGiveTheStartValuesAndOkAtOnce) {
    const CliParse p = parseCliArguments({});
    ASSERT_EQ(p.kind, CliParse::Kind::Run);
    const DesignInput& in = p.options.input;
    EXPECT_EQ(in.l0, 6000.0);
    EXPECT_EQ(in.b, 400.0);
    EXPECT_EQ(in.h, 600.0);
    EXPECT_EQ(in.M0x, 244.0);
    EXPECT_EQ(in.M0y, 120.0);
    EXPECT_EQ(in.N, 400.0);
    EXPECT_EQ(in.ax, 40.0);
    EXPECT_EQ(in.ay, 40.0);
    EXPECT_EQ(in.concreteIndex, 3);
    EXPECT_EQ(in.steelIndex, 2);
    EXPECT_EQ(p.options.scheme.schemeIndex, 0);
    EXPECT_EQ(p.options.scheme.diameter, 22.0);
    EXPECT_EQ(p.options.scheme.ratioX, 0.0);
    EXPECT_EQ(p.options.scheme.ratioY, 0.0);
}

TEST(CliOptions, EveryFlagReachesItsField) {
    const CliParse p = parseCliArguments(
        {"--l0",       "3000",       "--b",       " 300 ",   "--h=6e2",   "--M0x",    "+5",
         "--M0y",      "600",        "--N",       "400.5",   "--ax",      "35",       "--ay",
         "45",         "--concrete", "C80",       "--steel", "HPB235",    "--scheme", "2",
         "--diameter", "40",         "--ratio-x", "1",       "--ratio-y", "0"});
    ASSERT_EQ(p.kind, CliParse::Kind::Run) << p.text;
    const DesignInput& in = p.options.input;
    EXPECT_EQ(in.l0, 3000.0);
    EXPECT_EQ(in.b, 300.0);
    EXPECT_EQ(in.h, 600.0);
    EXPECT_EQ(in.M0x, 5.0);
    EXPECT_EQ(in.M0y, 600.0);
    EXPECT_EQ(in.N, 400.5);
    EXPECT_EQ(in.ax, 35.0);
    EXPECT_EQ(in.ay, 45.0);
    EXPECT_EQ(in.concreteIndex, 13);
    EXPECT_EQ(in.steelIndex, 0);
    EXPECT_EQ(p.options.scheme.schemeIndex, 1);
    EXPECT_EQ(p.options.scheme.diameter, 40.0);
    EXPECT_EQ(p.options.scheme.ratioX, 1.0);
    EXPECT_EQ(p.options.scheme.ratioY, 0.0);
}

struct UsageCase {
    const char* name;
    Args args;
    const char* mentions;
};

class CliUsageError : public testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageError, NamesTheFlagAndWhy) {
    const CliParse p = parseCliArguments(GetParam().args);
    EXPECT_EQ(p.kind, CliParse::Kind::UsageError);
    EXPECT_NE(p.text.find(GetParam().mentions), std::string::npos) << p.text;
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CliUsageError,
    testing::Values(
        UsageCase{"UnknownFlag", {"--width", "400"}, "--width"},
        UsageCase{"MissingValue", {"--l0"}, "--l0"},
        UsageCase{"LetterO", {"--h", "6OO"}, "--h: \"6OO\" is not a number"},
        UsageCase{"DecimalComma", {"--N", "1,5"}, "--N: \"1,5\" is not a number"},
        UsageCase{"Infinity", {"--M0x", "inf"}, "--M0x: \"inf\" is not a number"},
        UsageCase{"Overflow", {"--b", "1e999"}, "--b: \"1e999\" is not a number"},
        UsageCase{"Hex", {"--ax", "0x10"}, "--ax: \"0x10\" is not a number"},
        UsageCase{"Empty", {"--ay", ""}, "--ay: \"\" is not a number"},
        UsageCase{"UnknownConcrete", {"--concrete", "C32"}, "C15, C20"},
        UsageCase{"LowerCaseSteel", {"--steel", "hrb400"}, "HPB235, HRB335, HRB400"},
        UsageCase{"SchemeThree", {"--scheme", "3"}, "use 1 or 2"},
        UsageCase{"UnlistedDiameter", {"--diameter", "21"}, "not a listed bar diameter"},
        UsageCase{"DiameterNotANumber", {"--diameter", "abc"}, "not a listed bar diameter"},
        UsageCase{"RatioAboveOne", {"--ratio-x", "1.5"}, "between 0 and 1"},
        UsageCase{"RatioBelowZero", {"--ratio-y", "-0.1"}, "between 0 and 1"},
        UsageCase{"RatioNotANumber", {"--ratio-y", "half"}, "--ratio-y: \"half\" is not a number"},
        UsageCase{"Positional", {"6000"}, "6000"},
        UsageCase{"UnknownInTheOrderGiven",
                  {"6000", "--width", "400", "x"},
                  "The following arguments were not expected: 6000 --width 400 x"}),
    [](const testing::TestParamInfo<UsageCase>& p) { return std::string(p.param.name); });

TEST(CliMain, HelpExplainsFlagsAndExitCodes) {
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"--help"}, out, err), kExitDone);
    for (const char* text : {"--l0", "--ratio-y", "--diameter", "Result.txt", "Exit codes",
                             "3  Result.txt could not be written"}) {
        EXPECT_NE(out.str().find(text), std::string::npos) << text;
    }
}

// CLI11 knows what holds in every mode (a need, an exclusion) and finds it while parsing; the
// message is still the one the mode rules give, in their order: an unexpected argument first,
// then the edition, then the project mode, then the current-code flags. Each text is the rule's
// own wording, assembled by hand from the rule (flag, "does not go with", the mode's reason).
TEST(CliOptions, ModeRulesWordWhatCli11Finds) {
    struct Row {
        Args args;
        const char* message;
    };
    const Row rows[] = {
        // --id needs --book, but the stray 6000 is told first, as without the need.
        {{"--id", "KZ1", "6000"}, "The following argument was not expected: 6000"},
        // --book-format needs --books; within a project the project's rule speaks.
        {{"--open", "p.tsn", "--book-format", "docx"},
         "--book-format does not go with --open: a project file holds every column and its data"},
        // --save-project excludes --open: the first given flag --open does not take.
        {{"--save-project", "p.tsn", "--open", "q.tsn"},
         "--save-project does not go with --open: a project file holds every column and its data"},
        // --ax excludes --code; an edition that is not one is told first.
        {{"--code", "2011", "--ax", "40"}, "--code: \"2011\" is not a design edition; use 2010"},
        {{"--json", "--batch", "x.csv"}, "--json goes with --code 2010"},
        {{"--code", "2010", "--scheme", "2", "--json"},
         "--scheme does not apply with --code 2010: the bar centres follow from --cover, "
         "--stirrup and the bar diameters, and the layout is chosen"},
        {{"--save-project", "p.tsn", "--code", "2010"},
         "--save-project goes with --batch and --code 2010"},
        {{"--batch", "x.csv", "--code", "2010", "--save-project", "p.tsn", "--dxf", "d"},
         "--dxf does not go with --save-project: it only writes the project; design it with "
         "--open"},
    };
    for (const Row& row : rows) {
        const CliParse p = parseCliArguments(row.args);
        EXPECT_EQ(p.kind, CliParse::Kind::UsageError) << row.message;
        EXPECT_EQ(p.text, row.message);
    }
    // What the rules allow, CLI11's declarations allow too: a project with its drawings and books.
    const CliParse open = parseCliArguments({"--open", "p.tsn", "--dxf", "d", "--books", "b"});
    EXPECT_EQ(open.kind, CliParse::Kind::OpenProject) << open.text;
}

// The help groups the flags by what they belong to and shows what CLI11 enforces.
TEST(CliMain, HelpGroupsTheFlagsWithTheirNeeds) {
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"--help"}, out, err), kExitDone);
    const std::string help = out.str();
    const char* const inOrder[] = {"Design case (both editions):\n  --l0 V",
                                   "2002 design (not with --code 2010):\n  --ax V Excludes: --code",
                                   "Current-code design (with --code 2010):\n  --code V",
                                   "Calculation book:\n  --book FILE",
                                   "Batch design:\n  --batch FILE",
                                   "--book-format F:{html,pdf,docx} Needs: --books",
                                   "Projects:\n  --open FILE",
                                   "Batch design: tessarin-cli --batch columns.csv"};
    std::size_t from = 0;
    for (const char* text : inOrder) {
        const std::size_t at = help.find(text, from);
        ASSERT_NE(at, std::string::npos) << text;
        from = at;
    }
}

TEST(CliMain, UsageErrorWritesNothing) {
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"--N", "x"}, out, err), kExitUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("--N"), std::string::npos);
}

}  // namespace

namespace {

// The section check follows the report on stdout and leaves Result.txt as the plain run writes it.
TEST(CliMain, CheckPrintsTheSectionCheckAfterTheReport) {
    ScratchDirectory scratch;
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"--check"}, out, err), kExitDone) << err.str();
    EXPECT_EQ(readFileBytes("Result.txt"), testData("startup_scheme1_d22.gbk"));
    const std::string text = out.str();
    const std::string report = withUnixLineEnds(gbkToUtf8(testData("startup_scheme1_d22.gbk")));
    ASSERT_EQ(text.rfind(report, 0), 0u);
    const std::string block = text.substr(report.size());
    EXPECT_EQ(block.rfind("截面验算\n", 0), 0u) << block;
    // N0 = fc (b h - As) + fy As with As = 4 Asc + 2 Aswx + 2 Aswy = 3671.0553 mm^2:
    // 14.3 * 236328.9447 + 360 * 3671.0553 = 4701083.8 N.
    EXPECT_NE(block.find("N0 = 4701.08 kN"), std::string::npos) << block;
    // Demand: N etaX eix = 400 * 1.0634920634920635 * 630 = 268.00 kN*m, and
    // N etaY eiy = 400 * 1.1808035714285714 * 320 = 151.14 kN*m.
    EXPECT_NE(block.find("Mx = 268.00 kN.m，My = 151.14 kN.m"), std::string::npos) << block;
    EXPECT_NE(block.find("利用率 |M|/|MR| = "), std::string::npos);
}

TEST(CliOptions, CheckGoesWithBothModes) {
    EXPECT_TRUE(parseCliArguments({"--check"}).options.check);
    const CliParse batch = parseCliArguments({"--batch", "x.csv", "--check"});
    ASSERT_EQ(batch.kind, CliParse::Kind::Batch);
    EXPECT_TRUE(batch.batch.check);
    EXPECT_EQ(parseCliArguments({"--batch", "x.csv", "--l0", "5"}).kind,
              CliParse::Kind::UsageError);
    EXPECT_EQ(parseCliArguments({"--out", "r.csv"}).kind, CliParse::Kind::UsageError);
}

}  // namespace
