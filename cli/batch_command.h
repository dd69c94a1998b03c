#pragma once

#include <functional>
#include <iosfwd>

#include "batch/batch_run.h"

namespace tessarin {

// A batch run (2002 or current code) told where to report its progress.
using BatchRun = std::function<BatchOutcome(const BatchProgressListener& progress)>;

// tessarin-cli --batch: runs the batch, shows a progress line on a terminal when it takes over
// a second, prints what stopped it and turns the outcome into the exit code.
int runBatchCommand(const BatchRun& run, std::ostream& err, bool showProgress);

}  // namespace tessarin
