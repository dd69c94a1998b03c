#include "run/input_parsers.h"

#include "run/design_input.h"
#include "run/reinforcement_scheme.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

std::optional<int> listed(int index) {
    if (index < 0) return std::nullopt;
    return index;
}

}  // namespace

std::optional<int> parseConcreteGrade(std::string_view text) {
    return listed(labelIndex(text, kConcreteLabels, kConcreteGradeCount));
}

std::optional<int> parseSteelGrade(std::string_view text) {
    return listed(labelIndex(text, kSteelLabels, kSteelGradeCount));
}

std::optional<int> parseSchemeIndex(std::string_view text) {
    if (text == "1") return 0;
    if (text == "2") return 1;
    return std::nullopt;
}

std::optional<double> parseBarDiameter(std::string_view text) {
    const auto value = parseNumber(text);
    if (!isListedDiameter(value)) return std::nullopt;
    return value;
}

RatioReading parseWebRatio(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value) return {};
    // Written so that a value that is not a number would fall out of range too.
    if (!(*value >= 0.0 && *value <= 1.0)) return {RatioReading::Status::OutOfRange, *value};
    return {RatioReading::Status::Ok, *value};
}

}  // namespace tessarin
