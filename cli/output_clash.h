#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tessarin {

// One file a run is about to write, and what it is ("the report", "the calculation book").
struct RunOutput {
    std::string what;
    std::string path;
};

// Two outputs of one run that would be one file, or an output that is the file stdout writes
// to: the message that refuses the run before anything is written ("the calculation book
// Result.txt is the same file as the report Result.txt; a run never writes two of its outputs
// into one file"), nullopt when every output is a file of its own. Files are compared by
// identity and by folder and name (platform/file_system.h, sameOutputFile), not by spelling.
std::optional<std::string> findOutputClash(const std::vector<RunOutput>& outputs,
                                           const std::optional<FileIdentity>& standardOutput);

}  // namespace tessarin
