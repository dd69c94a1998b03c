#pragma once

#include <string>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The design as one JSON object (UTF-8, one line and a final "\n"):
// {"status": "designed" | "no-layout", "reason", "cornerDiameter", "webDiameter",
//  "webBarsAlongB", "webBarsAlongH", "webDiameterB", "webDiameterH", "bars": [{"u", "v", "d"}],
//  "steelArea", "ratio",
//  "combinations": [{"N", "Mx", "My", "etaNsX", "etaNsY", "CmX", "CmY", "utilisation",
//  "axialRatio"}], "governing"}. Units: mm, mm^2, kN, kN*m; ratio as a fraction; governing is the
// 0-based index into combinations. Without a layout the layout fields, the utilisations and the
// axial ratios are null (never a design); governing is then the combination the reason names, or
// null. A value that is not finite (a utilisation beyond the section) is null as well.
// webBarsAlongB and webBarsAlongH count the web (middle) bars on each face of length b and h;
// webDiameterB and webDiameterH are their diameters (null on a face without web bars);
// webDiameter is the one web diameter of all faces, null when the b and h faces' differ (without
// any web bars it is the corner diameter).
[[nodiscard]] std::string gb2010Json(const Gb2010Design& design);
// The same with the stirrups: per combination also "kind" ("seismic", "non-seismic" or null),
// "gammaRE", "Vx", "Vy" (|V|, kN) and "shearUtilisation" (null without a stirrup), and
// "stirrups": {"status": "designed" | "no-stirrup", "reason", "diameter", "spacing",
// "denseSpacing", "denseLength", "legsX", "legsY", "volumetricRatio", "requiredVolumetricRatio",
// "type", "notation"} (null without a layout; the choice's fields null without a stirrup).
[[nodiscard]] std::string gb2010Json(const ColumnWithStirrups& column);

}  // namespace tessarin
