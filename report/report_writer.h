#pragma once

#include <string>

#include "engine/column_design.h"
#include "report/file_result.h"

namespace tessarin {

// The calculation report on disk, written in two steps as the calculate command runs: step 1
// makes the report afresh with the input echo and the equivalent areas, step 2 adds the layout.
FileResult writeStep1Report(const std::string& path, const Step1Design& design);
FileResult writeStep2Report(const std::string& path, const ColumnDesign& design);

}  // namespace tessarin
