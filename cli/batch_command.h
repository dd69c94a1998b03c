#pragma once

#include <iosfwd>

#include "batch/batch_run.h"

namespace tessarin {

// tessarin-cli --batch: runs the batch, shows a progress line on a terminal when it takes over
// a second, prints what stopped it and turns the outcome into the exit code.
int runBatchCommand(const BatchOptions& options, std::ostream& out, std::ostream& err,
                    bool showProgress);

}  // namespace tessarin
