#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// UTF-8 inside, UTF-16 at the Windows API. Invalid input becomes U+FFFD; nothing is dropped.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace tessarin
