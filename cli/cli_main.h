#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessarin {

// Exit codes of tessarin-cli.
enum CliExit : int {
    kExitDone = 0,
    kExitRejected = 1,
    kExitUsage = 2,
    kExitFile = 3,
    kExitSomeRejected = 4,  // --batch: some rows were rejected, the rest designed
    kExitNoLayout = 5,      // --code 2010: no layout fits; the reason is reported
};

// The whole command: arguments without the program name; report to out, messages to err.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tessarin
