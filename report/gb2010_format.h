#pragma once

#include <string>

#include "engine/gb2010/gb2010_types.h"

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

// The steel grade's symbol in plain text, as Chinese structural drawings and programs write it:
// HPB300 "A", HRB335 "B", HRB400 "C", HRB500 "D" ("4C25"); a bare Φ would mean HPB300.
[[nodiscard]] const char* barSymbol(SteelGrade2010 steel);

// The key of those letters, as the report's header gives it.
inline constexpr const char* kBarSymbolKey =
    "钢筋符号：A-HPB300，B-HRB335，C-HRB400，D-HRB500(如 4C28 为 4 根直径 28mm 的 HRB400 钢筋)";

// The same symbol in a DXF text: the codes %%130 to %%133 that the Chinese structural drafting
// fonts draw as the grade symbols.
[[nodiscard]] const char* dxfBarSymbol(SteelGrade2010 steel);

// "框架结构", "框架-抗震墙等双重体系" or "部分框支抗震墙结构的框支柱": the structure types in the
// order of StructureType, as the lists show them.
[[nodiscard]] const char* structureLabel(StructureType structure);

// "中柱、边柱" or "角柱".
[[nodiscard]] const char* positionLabel(ColumnPosition position);

// The column's seismic data as the report's input echo gives it: "一级，框架结构，中柱、边柱";
// a frame-supporting column has no position of its own: "一级，部分框支抗震墙结构的框支柱".
[[nodiscard]] std::string seismicDataText(const Gb2010Column& column);

// "三级框架结构柱", "二级框架-抗震墙等双重体系的柱", "一级部分框支抗震墙结构的框支柱".
[[nodiscard]] std::string seismicColumnLabel(const Gb2010Column& column);

// The axial-ratio limit with the notes that lowered it: "0.85" where none did,
// "0.85 - 0.05(C70) = 0.80", "0.65 - 0.10(C80) - 0.05(λ = 1.80 ≤ 2) = 0.50".
[[nodiscard]] std::string axialRatioLimitText(const DetailingLimits& limits, int concreteGrade);

// "λx = Hn/(2h0x) = 3000/(2×564) = 2.66，λy = 3000/(2×364) = 4.12，取较小值 λ = 2.66".
[[nodiscard]] std::string shearSpanText(const ShearSpan& span);

// "μN = N/(fcA) = 0.728 ≤ 0.80，满足" (or "> 0.80，不满足").
[[nodiscard]] std::string axialRatioCheckText(double ratio, double limit);

// A uniaxial column's treatment in one sentence: the moment's direction takes ea (6.2.5), the
// other is checked by 6.2.15 with phi of l0 over the side across the moment plane (6.2.17). ""
// for a biaxial column.
[[nodiscard]] std::string momentDirectionsText(const DetailingLimits& limits, double l0);

// "l0/b" or, for a uniaxial column bent about y, "l0/h": the ratio phi of 6.2.15 is read at.
[[nodiscard]] const char* slendernessLabel(const DetailingLimits& limits);

}  // namespace tessarin
