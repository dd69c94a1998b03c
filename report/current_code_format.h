#pragma once

#include <string>

#include "engine/current_code/current_code_types.h"

namespace tessarin {

// The figures and labels of the current-code texts, shared by the report and the calculation book
// so that both print every number alike.

// A figure to a fixed count of decimals, the same under every locale; "∞" or "-∞" for infinity;
// from kLargestFixed on as a mantissa with those decimals and a power of ten ("1.23e+300").
inline constexpr double kLargestFixed = 1e9;
[[nodiscard]] std::string fixedText(double value, int decimals);

// A ratio as a percentage: 0.0055 to "0.55%".
[[nodiscard]] std::string percentText(double ratio, int decimals = 2);

// A length as it was typed: 6000 to "6000", 42.5 to "42.5".
[[nodiscard]] std::string lengthText(double mm);

// "框架结构" or "框架-抗震墙等双重体系".
[[nodiscard]] const char* structureLabel(StructureType structure);

// "中柱、边柱" or "角柱、框支柱".
[[nodiscard]] const char* positionLabel(ColumnPosition position);

// "三级框架结构柱", "二级框架-抗震墙等双重体系的柱".
[[nodiscard]] std::string seismicColumnLabel(const CurrentCodeColumn& column);

}  // namespace tessarin
