#pragma once

#include <string>

#include "engine/current_code/current_code_types.h"
#include "report/file_result.h"
#include "report/section_drawing.h"

namespace tessarin {

// The section detail of a current-code design: the chosen layout's bars where they lie, the
// flat-notation block, and the title with the column id (left out when empty), the materials,
// the code edition and the utilisation of the governing combination. Only for a design that
// chose a layout (design.designed).
SectionDrawing designSectionDrawing(const CurrentCodeDesign& design, const std::string& columnId);

// The section detail of a design written as a DXF file at path, whole or not at all: what
// "导出截面图 DXF…", tessarin-cli --dxf and the batch's --dxf DIR call. A design without a
// layout is refused with the reason "no layout was chosen" and nothing is written.
// A batch, writing into a folder, refuses a stream there (StreamTarget::Refuse).
FileResult writeDesignDrawing(const std::string& path, const CurrentCodeDesign& design,
                              const std::string& columnId,
                              StreamTarget streams = StreamTarget::Write);

}  // namespace tessarin
