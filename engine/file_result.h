#pragma once

#include <string>

namespace tessarin {

// What a file operation reports: success, or the file it was working on and the operating
// system's own reason for the failure. The engine computes without failing; only its report
// writers touch the disk and return one of these.
struct FileResult {
    bool ok = true;
    std::string fileName;  // the name as it was opened, e.g. "Result.txt"
    std::string action;    // what was being done: "create", "write", "append", "read"
    std::string reason;    // the system's text for errno, e.g. "No space left on device"

    static FileResult success() { return {}; }
    static FileResult failure(std::string file, std::string what, int errorNumber);
};

}  // namespace tessarin
