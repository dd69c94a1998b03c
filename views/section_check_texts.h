#pragma once

#include <string>
#include <vector>

#include "engine/section/section_check.h"

namespace tessarin {

// The texts of the section check dialog, the same on both desktops (UTF-8).

// "利用率 0.93", or "利用率 ∞" when N exceeds the axial capacity.
std::string utilisationText(const SectionCheckResult& result);
// The demand, N0 and N/N0, the capacity in the demand's direction, the steel ratios and the
// findings, one line each.
std::vector<std::string> detailLines(const SectionCheckResult& result);
// One line naming the model: strain compatibility, the concrete law, the integration.
std::string modelText(const SectionCheckResult& result);
// Whether the utilisation is shown as failing (red): above 1.00 or not a number.
inline bool utilisationFails(const SectionCheckResult& result) {
    return !(result.utilisation <= 1.0);
}

}  // namespace tessarin
