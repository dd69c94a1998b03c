#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessarin {

// Text that came from outside (a CSV file, a command line) on its way into a file others read:
// what is not well-formed UTF-8 and what no reader shows is replaced.

// The code point of the well-formed UTF-8 sequence text starts with and its length, or length 0
// for a stray or truncated byte, an overlong form, a surrogate or a value beyond U+10FFFF.
struct CodePoint {
    char32_t value = 0;
    std::size_t length = 0;
};
[[nodiscard]] CodePoint firstCodePoint(std::string_view text);

// The text with each byte that is not part of well-formed UTF-8, each NUL and each control
// character (U+0001 to U+001F but TAB, LF and CR; DEL; U+0080 to U+009F) replaced by U+FFFD.
// Well-formed text without such characters comes back as it was.
[[nodiscard]] std::string printableText(std::string_view text);

}  // namespace tessarin
