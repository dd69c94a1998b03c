// The current-code design command through a recording host: which calls it makes in which order,
// what it returns, and when the report file is written.

#include "run/current_code_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/current_code/column_with_stirrups.h"

namespace tessarin {
namespace {

// Plays the engineer and the window: gives the input (nullopt: a field held no number), cancels
// the design when asked to, records every call as a short line.
class RecordingCurrentCodeHost : public CurrentCodeHost {
  public:
    std::optional<CurrentCodeInput> typed = CurrentCodeInput{};
    bool cancel = false;
    std::vector<std::string> calls;
    std::optional<CurrentCodeFinding> refused;

    std::optional<CurrentCodeInput> readInput() override {
        calls.emplace_back("read");
        return typed;
    }
    void refuse(const CurrentCodeFinding& finding) override {
        calls.push_back("refuse " + finding.message);
        refused = finding;
    }
    std::optional<ColumnWithStirrups> runDesign(const CurrentCodeInput& input) override {
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
    void (*setUp)(RecordingCurrentCodeHost& host);
    bool reportFolderMissing;
    CurrentCodeOutcome outcome;
    std::vector<std::string> calls;
    int refusedCombination;  // -1: a column field, or nothing refused
};

// The messages are those of the input checks: "柱截面宽度b应为大于零的数(mm)" for b = 0, and a
// combination's prefixed with its number, "第2组荷载组合：".
const CommandCase kCases[] = {
    {"a field held no number",
     [](RecordingCurrentCodeHost& host) { host.typed.reset(); },
     false,
     CurrentCodeOutcome::FieldRejected,
     {"read"},
     -1},
    {"a zero width is refused before any design",
     [](RecordingCurrentCodeHost& host) { host.typed->column.b = 0.0; },
     false,
     CurrentCodeOutcome::InputRejected,
     {"read", "refuse 柱截面宽度b应为大于零的数(mm)"},
     -1},
    {"the second combination's zero force names its row",
     [](RecordingCurrentCodeHost& host) {
         host.typed->combinations.push_back(LoadCombination{0.0, 100.0, 1.0, 50.0, 1.0});
     },
     false,
     CurrentCodeOutcome::InputRejected,
     {"read", "refuse 第2组荷载组合：轴向压力N应为大于零的数(kN)"},
     1},
    {"a cancelled design writes no report",
     [](RecordingCurrentCodeHost& host) { host.cancel = true; },
     false,
     CurrentCodeOutcome::NotDesigned,
     {"read", "design"},
     -1},
    {"a report that cannot be written is not shown",
     [](RecordingCurrentCodeHost&) {},
     true,
     CurrentCodeOutcome::FileFailed,
     {"read", "design", "report failed"},
     -1},
    {"designed, written, shown",
     [](RecordingCurrentCodeHost&) {},
     false,
     CurrentCodeOutcome::Shown,
     {"read", "design", "show"},
     -1},
};

TEST(CurrentCodeCommand, CallsInOrder) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / "current_code_command";
    for (const CommandCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::filesystem::path report = c.reportFolderMissing
                                                 ? folder / "missing" / "Result-GB2010.txt"
                                                 : folder / "Result-GB2010.txt";
        RecordingCurrentCodeHost host;
        c.setUp(host);
        EXPECT_EQ(runCurrentCodeCommand(host, report.string()), c.outcome);
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
        const bool shown = c.outcome == CurrentCodeOutcome::Shown;
        EXPECT_EQ(std::filesystem::exists(report), shown);
        if (shown) {
            EXPECT_GT(std::filesystem::file_size(report), 0u);
        }
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tessarin
