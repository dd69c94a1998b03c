#pragma once

#include <iosfwd>
#include <optional>

#include "cli/gb2010_options.h"
#include "platform/file_system.h"

namespace tessarin {

// tessarin-cli --code 2010: checks the input, designs the column, writes Result-GB2010.txt in the
// current directory (Result.txt is never touched), prints the report (UTF-8, LF) or the JSON
// object and, with --book, writes the calculation book (a path that cannot take it is refused
// before anything else). Exit codes: 0 designed, 1 input rejected (message on err), 3 the report,
// the drawing, the book or stdout could not be written, 5 no layout fits (the reason on err; the
// report, the JSON and the book say it too), 2 two outputs name one file (the report, --dxf,
// --book, or the file stdout writes to: standardOutput), refused before anything is written.
int runGb2010(const Gb2010CliOptions& options, std::ostream& out, std::ostream& err,
              const std::optional<FileIdentity>& standardOutput = std::nullopt);

}  // namespace tessarin
