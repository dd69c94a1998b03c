#include "report/design_drawing.h"

#include "report/current_code_format.h"
#include "report/current_code_labels.h"

namespace tessarin {

SectionDrawing designSectionDrawing(const CurrentCodeDesign& design, const std::string& columnId) {
    SectionDrawing drawing;
    drawing.b = design.column.b;
    drawing.h = design.column.h;
    drawing.cover = design.cover;
    drawing.stirrupDiameter = design.column.stirrup;
    if (design.layout) {
        const LayoutChoice& choice = design.layout->choice;
        for (const PlacedBar& bar : design.layout->bars)
            drawing.bars.push_back({bar.u, bar.v, bar.d});
        drawing.annotation = flatNotationLines(
            {design.column.b, design.column.h, choice.cornerDiameter, choice.webDiameter,
             choice.webBarsAlongB, choice.webBarsAlongH, dxfBarSymbol(design.column.steel)});
    }
    const bool governed = design.governing >= 0 &&
                          static_cast<std::size_t>(design.governing) < design.combinations.size();
    const double utilisation =
        governed ? design.combinations[static_cast<std::size_t>(design.governing)].utilisation
                 : 0.0;
    drawing.title =
        drawingTitle(columnId, "C" + std::to_string(design.column.concreteGrade),
                     steelLabel2010(design.column.steel), utilisation, design.governing + 1);
    return drawing;
}

FileResult writeDesignDrawing(const std::string& path, const CurrentCodeDesign& design,
                              const std::string& columnId, StreamTarget streams) {
    if (!design.designed || !design.layout) {
        return FileResult::refusal(path, FileAction::Write, "no layout was chosen");
    }
    return writeSectionDrawing(path, designSectionDrawing(design, columnId), streams);
}

}  // namespace tessarin
