#pragma once

#include "engine/column_design.h"
#include "platform/file_result.h"
#include "report/report_file.h"

namespace tessarin {

// The calculation report on disk, written in two steps as the calculate command runs: step 1
// makes the report afresh with the input echo and the equivalent areas, step 2 makes it the
// whole report, the layout added. Each step replaces the file whole (see ReportFile).
FileResult writeStep1Report(ReportFile& report, const Step1Design& design);
FileResult writeStep2Report(ReportFile& report, const ColumnDesign& design);

}  // namespace tessarin
