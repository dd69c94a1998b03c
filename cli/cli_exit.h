#pragma once

namespace tessarin {

// Exit codes of tessarin-cli.
enum CliExit : int {
    kExitDone = 0,
    kExitRejected = 1,
    kExitUsage = 2,
    kExitFile = 3,
    kExitSomeRejected = 4,  // --batch: some rows were rejected, the rest designed
};

}  // namespace tessarin
