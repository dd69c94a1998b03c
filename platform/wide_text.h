#pragma once

// Windows only: the conversions between the program's UTF-8 and the UTF-16 of the wide (...W)
// functions, at the edge of platform/.
#include <string>

namespace tessarin {

// A UTF-8 path or text as UTF-16; bytes that are not UTF-8 become U+FFFD, so that such a name
// fails to open rather than opening another file.
std::wstring widePath(const std::string& utf8);
// UTF-16 as UTF-8.
std::string utf8Text(const std::wstring& wide);

}  // namespace tessarin
