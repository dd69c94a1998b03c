#pragma once

#include <string>

#include "report/file_result.h"

namespace tessarin {

// The report file of the calculate command: this bare name, so it lives in the current working
// directory. Every operation below takes the report's path, so other callers and tests name
// their own.
inline constexpr const char* kReportFileName = "Result.txt";

// What readReport gives: the bytes actually read (GBK), or the failure with the system's reason.
struct ReportContent {
    FileResult result;
    std::string bytes;
};

// The whole report file, byte for byte.
ReportContent readReport(const std::string& path);

// Replaces the report file's content by bytes (creating it), or appends them to the existing file
// (never creating it).
FileResult writeReportBytes(const std::string& path, const std::string& bytes, bool append);

}  // namespace tessarin
