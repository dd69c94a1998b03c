#pragma once

#include <string>

#include "engine/current_code/current_code_types.h"
#include "report/section_drawing.h"

namespace tessarin {

// The section detail of a current-code design's chosen layout: every bar where it lies, the
// flat-notation block and the title with the governing utilisation. The design must hold a layout;
// columnId may be empty (a single design).
[[nodiscard]] SectionDrawing currentCodeSectionDrawing(const CurrentCodeDesign& design,
                                                       const std::string& columnId);

}  // namespace tessarin
