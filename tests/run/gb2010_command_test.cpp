// The current-code design command through a recording host: which calls it makes in which order,
// what it returns, and when the report file is written.

#include "run/gb2010_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/gb2010/column_with_stirrups.h"

namespace tessarin {
namespace {

// Plays the engineer and the window: gives the input (nullopt: a field held no number), cancels
// the design when asked to, records every call as a short line.
class RecordingGb2010Host : public Gb2010Host {
  public:
    std::optional<Gb2010Input> typed = Gb2010Input{};
    bool cancel = false;
    std::vector<std::string> calls;
    std::optional<Gb2010Finding> refused;

    std::optional<Gb2010Input> readInput() override {
        calls.emplace_back("read");
        return typed;
    }
    void refuse(const Gb2010Finding& finding) override {
        calls.push_back("refuse " + finding.message);
        refused = finding;
    }
    std::optional<ColumnWithStirrups> runDesign(const Gb2010Input& input) override {
        calls.emplace_back("design");
        if (cancel) return std::nullopt;
        return designColumnWithStirrups(input.column, input.combinations);
    }
    void reportFailed(const FileResult& failure) override {
        calls.push_back("report failed " + failure.fileName);
    }
    void showResult(const ColumnWithStirrups& /*whole*/) override { calls.emplace_back("show"); }
};

struct CommandCase {
    const char* name;
    void (*setUp)(RecordingGb2010Host& host);
    bool reportFolderMissing;
    Gb2010Outcome outcome;
    std::vector<std::string> calls;
    int refusedCombination;  // -1: a column field, or nothing refused
};

// The messages are those of the input checks: "柱截面宽度b应为大于零的数(mm)" for b = 0, and a
// combination's prefixed with its number, "第2组荷载组合：".
const CommandCase kCases[] = {
    {"a field held no number",
     [](RecordingGb2010Host& host) { host.typed.reset(); },
     false,
     Gb2010Outcome::FieldRejected,
     {"read"},
     -1},
    {"a zero width is refused before any design",
     [](RecordingGb2010Host& host) { host.typed->column.b = 0.0; },
     false,
     Gb2010Outcome::InputRejected,
     {"read", "refuse 柱截面宽度b应为大于零的数(mm)"},
     -1},
    {"the second combination's zero force names its row",
     [](RecordingGb2010Host& host) {
         host.typed->combinations.push_back(LoadCombination{0.0, 100.0, 1.0, 50.0, 1.0});
     },
     false,
     Gb2010Outcome::InputRejected,
     {"read", "refuse 第2组荷载组合：轴向压力N应为大于零的数(kN)"},
     1},
    {"a cancelled design writes no report",
     [](RecordingGb2010Host& host) { host.cancel = true; },
     false,
     Gb2010Outcome::NotDesigned,
     {"read", "design"},
     -1},
    {"a report that cannot be written is not shown",
     [](RecordingGb2010Host&) {},
     true,
     Gb2010Outcome::FileFailed,
     {"read", "design", "report failed"},
     -1},
    {"designed, written, shown",
     [](RecordingGb2010Host&) {},
     false,
     Gb2010Outcome::Shown,
     {"read", "design", "show"},
     -1},
};

TEST(Gb2010Command, CallsInOrder) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / "gb2010_command";
    for (const CommandCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::filesystem::path report = c.reportFolderMissing
                                                 ? folder / "missing" / "Result-GB2010.txt"
                                                 : folder / "Result-GB2010.txt";
        RecordingGb2010Host host;
        c.setUp(host);
        EXPECT_EQ(runGb2010Command(host, report.string()), c.outcome);
        // The failure line carries the file's name after "report failed ".
        std::vector<std::string> calls = host.calls;
        if (!calls.empty() && calls.back().rfind("report failed", 0) == 0) {
            EXPECT_NE(calls.back().find("Result-GB2010.txt"), std::string::npos);
            calls.back() = "report failed";
        }
        EXPECT_EQ(calls, c.calls);
        if (host.refused) {
            EXPECT_EQ(host.refused->combination, c.refusedCombination);
        }
        // The report exists exactly when the design is shown, and is not empty then.
        const bool shown = c.outcome == Gb2010Outcome::Shown;
        EXPECT_EQ(std::filesystem::exists(report), shown);
        if (shown) {
            EXPECT_GT(std::filesystem::file_size(report), 0u);
        }
    }
    std::filesystem::remove_all(folder);
}

// A batch without --reports runs the command with no report: the column is designed and shown,
// and no file is written in the folder.
TEST(Gb2010Command, WithoutAReportNothingIsWritten) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / "gb2010_command_no_report";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    RecordingGb2010Host host;
    EXPECT_EQ(runGb2010Command(host, std::nullopt), Gb2010Outcome::Shown);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"read", "design", "show"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tessarin
