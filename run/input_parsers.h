#pragma once

#include <optional>
#include <string_view>

namespace tessarin {

// Reading the typed choices of a design case: shared by the command-line flags and the batch
// columns, so both accept exactly the same texts. Each caller words its own message.

// The list position of a concrete grade label ("C30" is 3); nullopt for a label not listed.
std::optional<int> parseConcreteGrade(std::string_view text);
// The list position of a steel grade label ("HRB400" is 2); nullopt for a label not listed.
std::optional<int> parseSteelGrade(std::string_view text);
// The scheme dialog's radio button for "1" or "2" (0 or 1); nullopt for anything else.
std::optional<int> parseSchemeIndex(std::string_view text);
// A corner-bar diameter the scheme dialog lists, read as a number ("22", "2.2e1").
std::optional<double> parseBarDiameter(std::string_view text);

// A web ratio Aswx/Asx or Aswy/Asy: a number from 0 to 1.
struct RatioReading {
    enum class Status { Ok, NotANumber, OutOfRange };
    Status status = Status::NotANumber;
    double value = 0.0;
};
RatioReading parseWebRatio(std::string_view text);

}  // namespace tessarin
