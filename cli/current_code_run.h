#pragma once

#include <iosfwd>

#include "cli/current_code_options.h"

namespace tessarin {

// tessarin-cli --code 2010: checks the input, designs the column, writes Result-GB2010.txt in the
// current directory (Result.txt is never touched), prints the report (UTF-8, LF) or the JSON
// object and, with --book, writes the calculation book (a path that cannot take it is refused
// before anything else). Exit codes: 0 designed, 1 input rejected (message on err), 3 the report,
// the drawing or the book could not be written, 5 no layout fits (the reason on err; the report,
// the JSON and the book say it too).
int runCurrentCode(const CurrentCodeCliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tessarin
