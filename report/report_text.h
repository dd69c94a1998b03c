#pragma once

#include <string>

#include "engine/column_design.h"

namespace tessarin {

// The two sections of the calculation report, as UTF-8 text with CR LF line ends. The report file
// holds the same text in GBK (report_file.h); these are also what a batch run writes per case.
std::string step1ReportText(const Step1Design& design);
std::string step2ReportText(const Step2Result& layout);

// Both sections in GBK, byte for byte what "Result.txt" holds after a complete run.
std::string reportBytes(const ColumnDesign& design);

}  // namespace tessarin
