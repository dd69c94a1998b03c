#pragma once

#include "engine/column_design.h"
#include "run/design_input.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

class ColumnCalculator;

// The design sequence, once for every caller: the checked input loaded into the engine in the
// order the engine needs (steel grade before concrete grade), step 1, then step 2 with the bar
// arrangement. The input is taken as it stands; validateInput comes first.
Step1Design designStep1(const DesignInput& input);
ColumnDesign designStep2(const Step1Design& first, const ReinforcementScheme& scheme);
ColumnDesign designColumn(const DesignInput& input, const ReinforcementScheme& scheme);

// Loads a checked case into an engine record in that order (for callers that drive the engine's
// own operations).
void loadDesignCase(const DesignInput& input, ColumnCalculator& calculator);

}  // namespace tessarin
