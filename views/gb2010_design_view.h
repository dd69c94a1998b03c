#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/gb2010/column_with_stirrups.h"

namespace tessarin {

// What the current-code design window shows of a design, without Qt: the summary beside the
// section, whether it reports a failure, and the table of the combinations (one row each, the
// governing one marked). The Qt dialog paints these; a test reads them.
inline constexpr std::array<const char*, 11> kGb2010ResultHeaders = {
    "N(kN)",         "Mx(kN.m)",
    "My(kN.m)",      "ηns,x",
    "ηns,y",         "轴压比 N/(fcA)",
    "利用率",        "N/(0.9φ(fcA+fy'As'))",
    "Nu(kN) 6.2.21", "γRE",
    "受剪利用率"};

struct Gb2010DesignView {
    std::vector<std::string> summary;  // one line each
    bool failed = false;               // no layout, or no stirrup on it
    std::vector<std::array<std::string, kGb2010ResultHeaders.size()>> results;
    int governing = -1;  // the row of the governing combination, -1 for none
};

[[nodiscard]] Gb2010DesignView gb2010DesignView(const ColumnWithStirrups& whole);

}  // namespace tessarin
