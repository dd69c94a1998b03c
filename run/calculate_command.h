#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "engine/column_design.h"
#include "platform/file_result.h"
#include "report/report_file.h"
#include "run/design_input.h"
#include "run/message.h"
#include "run/reinforcement_scheme.h"
#include "run/validate_input.h"

namespace tessarin {

class RunHost;

// What the main dialog keeps for its whole life and every calculation works on.
struct DesignSession {
    DesignInput input;
    ReinforcementScheme scheme;
    // The last design whose report was written and shown whole; withdrawn when a run stops at
    // the report file, kept when a run stops at the input.
    std::optional<ColumnDesign> design;
};

enum class RunOutcome {
    Done,           // the report is on screen (possibly with a warning after it)
    FieldRejected,  // a typed field held no number; nothing was computed
    InputRejected,  // a check failed or the engineer chose to edit; nothing was computed
    FileFailed,     // the report file could not be written or read; the run stopped there
};

// The calculate command: exchange, checks, step 1 with the report's first section, the scheme
// question, step 2 with the second section, the report read back and shown. reportPath is the
// report file; the desktop program and tessarin-cli pass "Result.txt", in the current directory.
// The run owns the report from step 1 to the read-back; another run that owns it makes this one
// wait up to ownerWait and then stop with the report "in use".
RunOutcome onCalculate(DesignSession& session, RunHost& host,
                       const std::string& reportPath = kReportFileName,
                       std::chrono::milliseconds ownerWait = kReportOwnerWait);

// Shows the findings of the input checks in order and asks the questions. True when the run may
// go on: no error, and every question answered other than Yes.
bool confirmInput(const std::vector<InputFinding>& findings, RunHost& host);

// The message for a report file that could not be created, written, extended or read.
Message fileFailureMessage(const FileResult& failure);

// The warning shown after the report when an equivalent-steel iteration did not settle.
Message convergenceWarning(bool convergedX, bool convergedY);

// The warning shown after the report when an area or the demand is infinite or not a number (a
// case the checks accept can still run out of doubles); such a design is not offered for the
// section check.
Message nonFiniteWarning();

}  // namespace tessarin
