#include "report/current_code_drawing.h"

#include "report/current_code_labels.h"

namespace tessarin {

SectionDrawing currentCodeSectionDrawing(const CurrentCodeDesign& design,
                                         const std::string& columnId) {
    SectionDrawing drawing;
    drawing.b = design.column.b;
    drawing.h = design.column.h;
    drawing.cover = design.cover;
    drawing.stirrupDiameter = design.column.stirrup;
    if (!design.layout) return drawing;
    const BarLayout& layout = *design.layout;
    for (const PlacedBar& bar : layout.bars) drawing.bars.push_back({bar.u, bar.v, bar.d});
    const LayoutChoice& choice = layout.choice;
    drawing.annotation =
        flatNotationLines({design.column.b, design.column.h, choice.cornerDiameter,
                           choice.webDiameter, choice.webBarsAlongB, choice.webBarsAlongH});
    double utilisation = 0.0;
    if (design.governing >= 0 &&
        static_cast<std::size_t>(design.governing) < design.combinations.size()) {
        utilisation = design.combinations[static_cast<std::size_t>(design.governing)].utilisation;
    }
    drawing.title =
        drawingTitle(columnId, "C" + std::to_string(design.column.concreteGrade),
                     steelLabel2010(design.column.steel), utilisation, design.governing + 1);
    return drawing;
}

}  // namespace tessarin
