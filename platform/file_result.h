#pragma once

#include <string>

namespace tessarin {

// What was being done to a file when it failed.
enum class FileAction {
    Create,  // making the report afresh (step 1)
    Write,   // writing its bytes
    Append,  // adding the layout section (step 2)
    Read,    // reading it back
};

// What a file operation reports: success, or the file it was working on and the operating
// system's own reason for the failure.
struct FileResult {
    bool ok = true;
    std::string fileName;  // the name as it was opened, e.g. "Result.txt"
    FileAction action = FileAction::Create;
    std::string reason;  // the system's text for errno, e.g. "No space left on device"

    static FileResult success() { return {}; }
    static FileResult failure(std::string file, FileAction what, int errorNumber);
    // A failure whose reason is ours rather than the system's ("is a named pipe ...").
    static FileResult refusal(std::string file, FileAction what, std::string reason);
};

}  // namespace tessarin
