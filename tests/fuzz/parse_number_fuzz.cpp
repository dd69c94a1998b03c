// The field parser never accepts what its grammar forbids, never reads outside its text, and what
// it accepts is a finite double equal to strtod's reading of the same text.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/number_text.h"

using namespace tessarin;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The grammar, written out on its own: [blanks] [sign] digits[.digits] | .digits [exponent]
// [blanks].
bool grammarAccepts(const std::string& s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= n || !isDigit(s[i])) return false;
        while (i < n && isDigit(s[i])) ++i;
    }
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    return i == n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so that any read past the text is caught.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = parseNumber(text);
    if (!value) return 0;
    if (!grammarAccepts(text) || !std::isfinite(*value)) std::abort();
    const double reference = std::strtod(text.c_str(), nullptr);
    // Bit for bit, so that -0 and +0 count as different readings.
    if (std::bit_cast<std::uint64_t>(reference) != std::bit_cast<std::uint64_t>(*value))
        std::abort();
    return 0;
}
