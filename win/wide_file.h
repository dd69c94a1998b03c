#pragma once

#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace tessarin {

// Replaces the file at path (any characters: the wide file API) by bytes as a whole: the bytes
// go to a temporary file beside it, flushed, which then replaces the target. A failure at any
// step leaves the target as it was (or absent) and no temporary file behind; the result names
// the file (UTF-8) and gives the system's own message. A folder of that name is refused.
FileResult writeWholeFileWide(const std::wstring& path, std::string_view bytes);

// The system's message for an error code, UTF-8, without the trailing line break.
std::string systemMessage(unsigned long error);

}  // namespace tessarin
