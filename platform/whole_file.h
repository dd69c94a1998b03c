#pragma once

#include <string>
#include <string_view>

#include "platform/file_result.h"
#include "platform/file_system.h"

namespace tessarin {

// The one write policy for the files the program writes: Result-GB2010.txt (through ReportFile),
// the calculation books, the drawings, the batch results and every per-column file.
//
// - Whole: the bytes go to a temporary file beside the target, which is renamed over it only
//   once everything is written. A failure at any step leaves the target as it was (or absent)
//   and no temporary file behind; the result names path and gives the system's reason.
// - Never through a link: a link at path is replaced by the new file; the file it points at is
//   untouched.
// - A stream is not a file to replace: a terminal, pipe or device named on the command line
//   (/dev/null, /dev/stdout when it is a pipe) is written as it is when the caller lets it
//   (StreamTarget::Write), or refused with its kind. A directory and a file the engineer made
//   read-only are refused.
//
// The report lock (ReportFile) is taken by the reports only: Result.txt is written in two steps
// and read back, and Result-GB2010.txt and the batch reports share its writer, so that two runs
// in one folder never interleave a report. The other outputs are written once, whole, by one run
// that names them; the rename alone keeps them whole.
enum class StreamTarget { Write, Refuse };
FileResult writeWholeFile(const std::string& path, std::string_view bytes,
                          StreamTarget streams = StreamTarget::Write);

// Why something that is not a regular file cannot be written whole ("not a regular file but a
// named pipe (FIFO)").
const char* notRegularReason(PathKind kind);

}  // namespace tessarin
