#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// GBK (code page 936) and UTF-8 converted by the system's tables: iconv on POSIX systems, the
// code page functions on Windows (see file_system.h for the rule of platform/). A character
// without a form in the target, or bytes that are not valid in the source, become replacement
// (byte by byte), and the rest goes on; both systems give the same bytes.
enum class GbkDirection { ToGbk, ToUtf8 };
std::string convertGbk(std::string_view input, GbkDirection direction);

}  // namespace tessarin
