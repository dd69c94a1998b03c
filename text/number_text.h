#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// Locale-free number text. The process locale (which Qt takes from the environment) never changes
// a digit, a sign or the decimal point here.

// printf "%f": fixed-point, six decimals, leading minus for negative values (also -0.0);
// non-finite values spell inf, -inf, nan, -nan.
std::string formatFixed(double value);

// Fixed-point with the given number of decimals, for figures shown to the engineer.
std::string formatDecimals(double value, int decimals);

// printf "%.15g": the shortest general form with up to 15 significant digits, as an edit field
// shows a number (6000 as "6000", 0.25 as "0.25", 1e-05 as "1e-05").
std::string formatGeneral(double value);

// The shortest text that reads back to the same double (for machine-readable output).
std::string formatShortest(double value);

// Strict decimal reading of a typed field: optional blanks and tabs, optional sign, digits with an
// optional decimal point (at least one digit), an optional exponent, optional blanks and tabs.
// Anything else, and a value too large for a double, is no number. A value too small for a
// double reads as zero of its sign, as strtod gives it.
std::optional<double> parseNumber(std::string_view text);

}  // namespace tessarin
