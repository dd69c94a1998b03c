#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "project/project.h"

namespace tessarin {

// How a column stands in the list: its colour and status word follow from it.
enum class ColumnStatus {
    NotDesigned,  // edited since (or never) designed
    Designed,     // a layout carries every combination
    NoLayout,     // the input is sound, but no layout the rules allow carries it
    InputError,   // a field or a combination breaks a rule: not designed
};

// The design of one column as the window shows it.
struct ColumnOutcome {
    ColumnStatus status = ColumnStatus::NotDesigned;
    std::string finding;                      // the rule the input breaks (inputError)
    std::optional<Gb2010Design> design;       // the bars
    std::optional<ColumnWithStirrups> whole;  // the bars and the stirrups on them
};

// One column designed as the current-code batch designs the rows of its id: every input checked
// first (one rejected combination leaves the column undesigned), then one layout for all
// combinations and the stirrups on it; a column without a layout or a stirrup is noLayout.
[[nodiscard]] ColumnOutcome designProjectColumn(const ProjectColumn& column);

// Every column in turn, for the worker thread: progress is told after each column (done, total)
// and cancel is looked at before each; a cancelled run gives the columns designed so far.
std::vector<ColumnOutcome> designProjectColumns(
    const std::vector<ProjectColumn>& columns, const std::atomic<bool>& cancel,
    const std::function<void(std::size_t done, std::size_t total)>& progress = {});

}  // namespace tessarin
