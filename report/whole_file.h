#pragma once

#include <string>
#include <string_view>

#include "report/file_result.h"

namespace tessarin {

// Replaces the file at path by bytes as a whole: the bytes go to a temporary file beside it, which
// is renamed over the target only once everything is written. A failure at any step leaves the
// target as it was (or absent) and no temporary file behind; the result names path and gives the
// system's reason. A target that exists and is not a regular file (a terminal, a pipe, /dev/full)
// cannot be replaced, so it is written directly; a directory is refused.
FileResult writeWholeFile(const std::string& path, std::string_view bytes);

}  // namespace tessarin
