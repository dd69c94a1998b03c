#pragma once

// The texts of the stirrup design (箍筋) and of the combination kinds, in one place: the report
// Result-GB2010.txt and the calculation book print the same lines, so that their figures agree
// digit for digit; the JSON, the batch and the CLI take the failure sentence from here.

#include <string>
#include <vector>

#include "engine/gb2010/column_with_stirrups.h"

namespace tessarin {

// "地震组合", "非地震组合", "未指明".
[[nodiscard]] const char* combinationKindLabel(CombinationKind kind);

// Whether any combination says what kind it is.
[[nodiscard]] bool anyKindGiven(const Gb2010Design& design);

// The sentence on how the combinations' kinds were treated: seismic ones with gammaRE and the
// axial-ratio limit, non-seismic ones with neither, unspecified ones conservatively (no gammaRE,
// the limit applies). Empty for a column without a seismic grade and no kinds given.
[[nodiscard]] std::string combinationKindTreatmentText(const Gb2010Design& design);

// Why no stirrup was chosen, one sentence in Chinese; empty when designed.
[[nodiscard]] std::string stirrupFailureText(const StirrupDesign& design);

// One line of the stirrup block: a heading line (a title of a part) or a line of figures.
struct StirrupLine {
    bool heading = false;
    std::string text;
};

// The stirrup block, line by line: materials, the detailing limits with their parts (9.3.2; GB
// 50011 6.3.7, 6.3.9), the choice with its leg spacings and volumetric ratios, and per combination
// the shear checks (6.3.11 - 6.3.17, 11.4.6 - 11.4.8) with every figure put in; or the failure.
[[nodiscard]] std::vector<StirrupLine> stirrupBlockLines(const ColumnWithStirrups& column);

}  // namespace tessarin
