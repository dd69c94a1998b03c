#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "batch/batch_files.h"
#include "cli/cli_main.h"
#include "tests/support/scratch_directory.h"

using namespace tessarin;

namespace {

// Each report a batch writes is byte for byte what the single-case command writes for that case.
TEST(BatchCommand, ReportsEqualWhatTheSingleCaseCommandWrites) {
    ScratchDirectory scratch;
    writeFileBytes("columns.csv", testData("batch_columns.csv"));
    {
        std::ostringstream out, err;
        ASSERT_EQ(runCli({"--batch", "columns.csv", "--reports", "reports"}, out, err),
                  kExitSomeRejected)
            << err.str();
    }
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

const char* kCases =
    "id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel\n"
    "A,6000,400,600,244,120,400,40,40,C30,HRB400\n";

struct ExitCase {
    const char* name;
    std::string csv;  // written as columns.csv (not at all when empty)
    std::vector<std::string> args;
    bool stdoutIsTheInput;
    int exit;
    std::vector<const char*> mentions;  // on stderr
    const char* never;                  // never on stderr
};

class BatchExit : public testing::TestWithParam<ExitCase> {};

// What stops a batch is said once on stderr, and the exit code says which kind it was. Whatever
// is refused leaves the input as it was.
TEST_P(BatchExit, SaysWhatStoppedItAndExitsWithItsCode) {
    const ExitCase& c = GetParam();
    ScratchDirectory scratch;
    if (!c.csv.empty()) writeFileBytes("columns.csv", c.csv);
    std::filesystem::create_directory("folder");
    CliStreams streams;
    if (c.stdoutIsTheInput) streams.outFile = identityOfPath("columns.csv");
    std::ostringstream out, err;
    EXPECT_EQ(runCli(c.args, out, err, streams), c.exit) << err.str();
    for (const char* text : c.mentions) {
        EXPECT_NE(err.str().find(text), std::string::npos) << text << " in " << err.str();
    }
    if (c.exit == kExitDone || c.exit == kExitSomeRejected) {
        EXPECT_EQ(err.str(), "");
    } else {
        const std::string text = err.str();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
    if (c.never != nullptr) {
        EXPECT_EQ(err.str().find(c.never), std::string::npos) << err.str();
    }
    if (!c.csv.empty()) {
        EXPECT_EQ(readFileBytes("columns.csv"), c.csv);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, BatchExit,
    testing::Values(
        ExitCase{"AllAccepted", kCases, {"--batch", "columns.csv"}, false, kExitDone, {}, nullptr},
        ExitCase{"SomeRejected",
                 std::string(kCases) + "B,0,400,600,244,120,400,40,40,C30,HRB400\n",
                 {"--batch", "columns.csv"},
                 false,
                 kExitSomeRejected,
                 {},
                 nullptr},
        ExitCase{"MissingFile",
                 "",
                 {"--batch", "missing.csv"},
                 false,
                 kExitFile,
                 {"cannot read missing.csv: No such file or directory"},
                 nullptr},
        ExitCase{"Directory",
                 "",
                 {"--batch", "folder"},
                 false,
                 kExitFile,
                 {"cannot read folder: Is a directory"},
                 "empty"},
        ExitCase{"OutputIsTheInput",
                 kCases,
                 {"--batch", "columns.csv", "--out", "./columns.csv"},
                 false,
                 kExitUsage,
                 {"./columns.csv is the same file as the input columns.csv"},
                 nullptr},
        ExitCase{"StdoutIsTheInput",
                 kCases,
                 {"--batch", "columns.csv"},
                 true,
                 kExitUsage,
                 {"stdout is the same file as the input columns.csv"},
                 nullptr}),
    [](const testing::TestParamInfo<ExitCase>& p) { return std::string(p.param.name); });

}  // namespace
