#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_files.h"
#include "cli/cli_exit.h"

namespace tessarin {

// What the process's standard streams are, as main() finds them.
struct CliStreams {
    std::optional<FileIdentity> outFile;  // the file stdout writes to, when it is one
    bool errIsTerminal = false;           // stderr shows a batch's progress line
};

// The standard streams of this process.
CliStreams processStreams();

// The whole command: arguments without the program name; report to out, messages to err.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           const CliStreams& streams = {});

}  // namespace tessarin
