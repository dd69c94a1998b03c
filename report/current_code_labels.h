#pragma once

#include <optional>
#include <string_view>

#include "engine/current_code/current_code_types.h"

namespace tessarin {

// Labels of the current-code steels and concretes as the engineer types and reads them.
inline constexpr const char* kSteelLabels2010[] = {"HPB300", "HRB335", "HRB400", "HRB500"};

// "HPB300" ... "HRB500" to the steel; nullopt for another label.
[[nodiscard]] std::optional<SteelGrade2010> steelFromLabel2010(std::string_view label);
[[nodiscard]] const char* steelLabel2010(SteelGrade2010 steel);

// "C20" ... "C80" (steps of 5) to the grade number; nullopt for another label.
[[nodiscard]] std::optional<int> concreteFromLabel2010(std::string_view label);

// The words of the command line and the batch columns: "none", "1" ... "4"; "frame", "dual";
// "middle" (or "edge"), "corner" (or "frame-supporting"). nullopt for another word.
[[nodiscard]] std::optional<SeismicGrade> seismicGradeFromText(std::string_view text);
[[nodiscard]] std::optional<StructureType> structureFromText(std::string_view text);
[[nodiscard]] std::optional<ColumnPosition> positionFromText(std::string_view text);

// The seismic grade as the codes name it: "一" ... "四"; "" without a grade.
[[nodiscard]] const char* seismicGradeLabel(SeismicGrade grade);

}  // namespace tessarin
