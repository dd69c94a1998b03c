#include "views/column_design.h"

#include "engine/gb2010/gb2010_design.h"
#include "run/gb2010_input.h"

namespace tessarin {

ColumnOutcome designProjectColumn(const ProjectColumn& column) {
    ColumnOutcome outcome;
    const Gb2010Input input{column.column, column.combinations};
    if (auto finding = validateGb2010Input(input)) {
        outcome.status = ColumnStatus::InputError;
        outcome.finding = std::move(finding->message);
        return outcome;
    }
    outcome.whole = designColumnWithStirrups(column.column, column.combinations);
    outcome.design = outcome.whole->longitudinal;
    const bool stirrups = outcome.whole->stirrups && outcome.whole->stirrups->designed;
    outcome.status =
        outcome.design->designed && stirrups ? ColumnStatus::Designed : ColumnStatus::NoLayout;
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
