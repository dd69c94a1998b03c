#pragma once

#include <optional>
#include <span>
#include <stop_token>

#include "engine/gb2010/gb2010_types.h"
#include "engine/section/demand_capacity.h"
#include "engine/section/section_resistance.h"

namespace tessarin {

// The current-code design of one column for all its load combinations: the demand of each
// combination (second-order effects by Cm-etaNs), then of all symmetric layouts that meet the
// detailing rules (and the seismic ones when a grade is given) the lightest that carries every
// combination (ties: fewer bars, then one diameter, then the lower governing utilisation). When
// none fits, the result says why. The input is taken as validated (validateGb2010Input).
[[nodiscard]] Gb2010Design designGb2010(const Gb2010Column& column,
                                        std::span<const LoadCombination> combinations);
// The same, stopped as soon as a stop is requested (asked between layouts and before the report
// figures): nullopt then, never a part of a design.
[[nodiscard]] std::optional<Gb2010Design> designGb2010(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const std::stop_token& stop);

// The cover to the stirrups the design takes: the given one, or the default of the concrete grade
// (8.2.1). The design holds it, with the lengths resolved, in Gb2010Design.
[[nodiscard]] double coverUsed(const Gb2010Column& column);

// The resistance model of a placed layout: the parabola-rectangle concrete of the grade and
// elastic-plastic bars where they lie, with the given ultimate tensile strain of the bars
// (kUltimateTensileStrain under the current code; 0 for none).
[[nodiscard]] SectionResistance layoutSection(const Gb2010Column& column,
                                              const Materials2010& materials,
                                              const BarLayout& layout,
                                              double ultimateTensileStrain);

// One combination against a layout: utilisation at N in the demand's moment direction (N and the
// moments times gammaRE for a seismic combination, 11.1.6), the axial
// limit 0.9 phi (fc A + fy' As') (6.2.15) and the reciprocal formula (6.2.21).
[[nodiscard]] CombinationCheck checkCombination(
    const SectionResistance& section, const BarLayout& layout, const CombinationDemand& demand,
    const Materials2010& materials, const DetailingLimits& limits, double gammaRE = 1.0);
// The same with the capacity in the demand direction already found.
[[nodiscard]] CombinationCheck checkCombination(
    const SectionResistance& section, const BarLayout& layout, const CombinationDemand& demand,
    const Materials2010& materials, const DetailingLimits& limits, const DemandCapacity& capacity,
    double gammaRE = 1.0);

}  // namespace tessarin
