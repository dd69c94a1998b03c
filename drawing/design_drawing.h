#pragma once

#include <string>

#include "drawing/section_drawing.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "platform/file_result.h"

namespace tessarin {

// The section detail of a current-code design: the chosen layout's bars where they lie, the
// flat-notation block, and the title with the column id (left out when empty), the materials,
// the code edition and the utilisation of the governing combination. Only for a design that
// chose a layout (design.designed).
SectionDrawing designSectionDrawing(const Gb2010Design& design, const std::string& columnId);

// The section detail of a design written as a DXF file at path, whole or not at all: what
// "导出截面图 DXF…", tessarin-cli --dxf and the batch's --dxf DIR call. A design without a
// layout is refused with the reason "no layout was chosen" and nothing is written.
// A batch, writing into a folder, refuses a stream there (StreamTarget::Refuse).
FileResult writeDesignDrawing(const std::string& path, const Gb2010Design& design,
                              const std::string& columnId,
                              StreamTarget streams = StreamTarget::Write);

// The inner hoops and ties of a chosen stirrup where they lie (x = v, y = u, centre lines), for
// the drawing and the dialog's section picture. The outer hoop holds the corner bars; the other
// bars a leg stands on (StirrupChoice::heldBarsB for the legs parallel to h, heldBarsH for those
// parallel to b) are taken in pairs from one side, each pair by a closed inner hoop round both
// bars, its legs beside them and its other sides one stirrup diameter inside the outer hoop; an
// odd one left over by a single tie through the bar, from the outer hoop to the outer hoop.
[[nodiscard]] std::vector<SectionDrawing::StirrupPiece> innerStirrupPieces(
    const Gb2010Design& design, const StirrupChoice& choice, double stirrupDiameter);

// The section detail of the whole column: the bars as above, the stirrup as the bars were placed
// with it, its inner hoops and ties, and the stirrup in the notation block ("箍筋 %%1328@100/200
// 4×4").
SectionDrawing designSectionDrawing(const ColumnWithStirrups& column, const std::string& columnId);
FileResult writeDesignDrawing(const std::string& path, const ColumnWithStirrups& column,
                              const std::string& columnId,
                              StreamTarget streams = StreamTarget::Write);

}  // namespace tessarin
