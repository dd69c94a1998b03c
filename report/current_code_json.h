#pragma once

#include <string>

#include "engine/current_code/current_code_types.h"

namespace tessarin {

// The design as one JSON object (UTF-8, one line and a final "\n"):
// {"status": "designed" | "no-layout", "reason", "cornerDiameter", "webDiameter",
//  "webBarsAlongB", "webBarsAlongH", "bars": [{"u", "v", "d"}], "steelArea", "ratio",
//  "combinations": [{"N", "Mx", "My", "etaNsX", "etaNsY", "CmX", "CmY", "utilisation",
//  "axialRatio"}], "governing"}. Units: mm, mm^2, kN, kN*m; ratio as a fraction; governing is the
// 0-based index into combinations. Without a layout the layout fields, the utilisations and the
// axial ratios are null (never a design); governing is then the combination the reason names, or
// null. A value that is not finite (a utilisation beyond the section) is null as well.
[[nodiscard]] std::string currentCodeJson(const CurrentCodeDesign& design);

}  // namespace tessarin
