#include "views/column_design.h"

#include "engine/current_code/current_code_design.h"
#include "run/current_code_input.h"

namespace tessarin {

ColumnOutcome designProjectColumn(const ProjectColumn& column) {
    ColumnOutcome outcome;
    const CurrentCodeInput input{column.column, column.combinations};
    if (auto finding = validateCurrentCodeInput(input)) {
        outcome.status = ColumnStatus::inputError;
        outcome.finding = std::move(finding->message);
        return outcome;
    }
    outcome.design = designCurrentCode(column.column, column.combinations);
    outcome.status = outcome.design->designed ? ColumnStatus::designed : ColumnStatus::noLayout;
    return outcome;
}

std::vector<ColumnOutcome> designProjectColumns(
    const std::vector<ProjectColumn>& columns, const std::atomic<bool>& cancel,
    const std::function<void(std::size_t, std::size_t)>& progress) {
    std::vector<ColumnOutcome> outcomes;
    outcomes.reserve(columns.size());
    for (const ProjectColumn& column : columns) {
        if (cancel.load()) break;
        outcomes.push_back(designProjectColumn(column));
        if (progress) progress(outcomes.size(), columns.size());
    }
    return outcomes;
}

}  // namespace tessarin
