#include "text/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tessarin {

namespace {

std::string nonFinite(double value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    return value < 0 ? "-inf" : "inf";
}

template <typename... Format>
std::string toChars(double value, Format... format) {
    if (!std::isfinite(value)) return nonFinite(value);
    // The largest double in fixed notation with six decimals needs 309 + 1 + 6 characters.
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
    return std::string(buffer.data(), result.ptr);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string formatFixed(double value) {
    return toChars(value, std::chars_format::fixed, 6);
}

std::string formatDecimals(double value, int decimals) {
    return toChars(value, std::chars_format::fixed, decimals);
}

std::string formatGeneral(double value) {
    return toChars(value, std::chars_format::general, 15);
}

std::string formatShortest(double value) {
    return toChars(value);
}

std::optional<double> parseNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j >= n || !isDigit(text[j])) return std::nullopt;
        while (j < n && isDigit(text[j])) ++j;
        i = j;
    }
    const std::size_t numberEnd = i;
    while (i < n && isBlank(text[i])) ++i;
    if (i != n) return std::nullopt;

    // The grammar is checked; from_chars reads the unsigned number exactly as strtod would.
    double value = 0.0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + numberEnd;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: a value that would overflow is no number, one
        // that underflows reads as zero, as strtod gives it. The value is about
        // 0.d * 10^(integerDigits - firstSignificant + exponent).
        long long integerDigits = 0;
        long long index = 0;
        long long firstSignificant = -1;
        bool seenPoint = false;
        const char* p = first;
        for (; p < last && *p != 'e' && *p != 'E'; ++p) {
            if (*p == '.') {
                seenPoint = true;
                continue;
            }
            if (!seenPoint) ++integerDigits;
            if (firstSignificant < 0 && *p != '0') firstSignificant = index;
            ++index;
        }
        long long exponent = 0;
        if (p < last) {
            ++p;
            bool exponentNegative = false;
            if (*p == '+' || *p == '-') exponentNegative = *p++ == '-';
            for (; p < last; ++p) {
                if (exponent < 1'000'000'000LL) exponent = exponent * 10 + (*p - '0');
            }
            if (exponentNegative) exponent = -exponent;
        }
        if (firstSignificant >= 0 && integerDigits - firstSignificant + exponent > 0) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (result.ec != std::errc() || result.ptr != last) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace tessarin
