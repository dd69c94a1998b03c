#pragma once

namespace tessarin {

// Exit codes of tessarin-cli (constants rather than enumerators: they are the process's int).
inline constexpr int kExitDone = 0;
inline constexpr int kExitRejected = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFile = 3;
inline constexpr int kExitSomeRejected = 4;  // --batch: some rows were rejected, the rest designed
inline constexpr int kExitNoLayout = 5;      // --code 2010: no layout fits; the reason is reported

}  // namespace tessarin
