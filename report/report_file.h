#pragma once

#include <string>

#include "engine/file_result.h"

namespace tessarin {

// The report file: always this bare name, so it lives in the current working directory.
inline constexpr const char* kReportFileName = "Result.txt";

// What readReport gives: the bytes actually read (GBK), or the failure with the system's reason.
struct ReportContent {
    FileResult result;
    std::string bytes;
};

// The whole report file, byte for byte.
ReportContent readReport();

// Replaces the report file's content by bytes (creating it), or appends them to the existing file
// (never creating it). Used by the two section writers of ColumnCalculator.
FileResult writeReportBytes(const std::string& bytes, bool append);

}  // namespace tessarin
