#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/batch_design.h"
#include "cli/current_code_options.h"
#include "run/design_input.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

// The single-case command line: the main dialog's fields and the scheme dialog's choice as flags.
struct CliOptions {
    DesignInput input;    // start values unless a flag says otherwise
    SchemeChoice scheme;  // what OK at once in the scheme dialog gives: scheme 1, 22 mm, 0, 0
    bool check = false;   // also verify the designed layout by strain compatibility
};

// Outcome of reading the arguments.
struct CliParse {
    enum class Kind { Run, Batch, Help, UsageError, CurrentCode };
    Kind kind = Kind::Run;
    CliOptions options;
    CurrentCodeCliOptions currentCode;  // --code 2010
    BatchOptions batch;
    std::string text;  // the help text, or the usage error naming the flag and why
};

CliParse parseCliArguments(const std::vector<std::string>& arguments);

}  // namespace tessarin
