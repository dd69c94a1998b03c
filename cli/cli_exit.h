#pragma once

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

}  // namespace tessarin
