#pragma once

#include "engine/column_calculator.h"
#include "engine/file_result.h"
#include "run/design_input.h"
#include "run/message.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

class RunHost;

// What the main dialog keeps for its whole life and every calculation works on.
struct DesignSession {
    DesignInput input;
    ColumnCalculator calculator;
    ReinforcementScheme scheme;
};

enum class RunOutcome {
    Done,           // the report is on screen (possibly with the non-convergence warning)
    FieldRejected,  // a typed field held no number; nothing was computed
    InputRejected,  // a check failed or the engineer chose to edit; nothing was computed
    FileFailed,     // the report file could not be written or read; the run stopped there
};

// The calculate command: exchange, checks, step 1 with the report's first section, the scheme
// question, step 2 with the second section, the report read back and shown.
RunOutcome onCalculate(DesignSession& session, RunHost& host);

// Loads a checked case into the engine in the order the engine needs.
void loadDesignCase(const DesignInput& input, ColumnCalculator& calculator);

// The message for a report file that could not be created, written, extended or read.
Message fileFailureMessage(const FileResult& failure);

// The warning shown after the report when an equivalent-steel iteration did not settle.
Message convergenceWarning(bool convergedX, bool convergedY);

}  // namespace tessarin
