#include "drawing/design_drawing.h"

#include <algorithm>

#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"

namespace tessarin {

SectionDrawing designSectionDrawing(const Gb2010Design& design, const std::string& columnId) {
    SectionDrawing drawing;
    drawing.b = design.column.b;
    drawing.h = design.column.h;
    drawing.cover = design.cover;
    drawing.stirrupDiameter = design.column.stirrup;
    if (design.layout) {
        const LayoutChoice& choice = design.layout->choice;
        for (const PlacedBar& bar : design.layout->bars)
            drawing.bars.push_back({bar.u, bar.v, bar.d});
        drawing.annotation =
            flatNotationLines({design.column.b, design.column.h, choice.cornerDiameter,
                               choice.webDiameterB, choice.webBarsAlongB, choice.webDiameterH,
                               choice.webBarsAlongH, dxfBarSymbol(design.column.steel)});
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

FileResult writeDesignDrawing(const std::string& path, const Gb2010Design& design,
                              const std::string& columnId, StreamTarget streams) {
    if (!design.designed || !design.layout) {
        return FileResult::refusal(path, FileAction::Write, "no layout was chosen");
    }
    return writeSectionDrawing(path, designSectionDrawing(design, columnId), streams);
}

std::vector<SectionDrawing::StirrupPiece> innerStirrupPieces(const Gb2010Design& design,
                                                             const StirrupChoice& choice,
                                                             double stirrupDiameter) {
    std::vector<SectionDrawing::StirrupPiece> pieces;
    if (!design.layout) return pieces;
    const BarLayout& layout = *design.layout;
    const double ds = stirrupDiameter;
    const double inset = design.cover + ds / 2.0;
    const double halfB = design.column.b / 2.0 - inset;  // the outer hoop's centre line
    const double halfH = design.column.h / 2.0 - inset;
    // The bars of one face of length b (largest u) in the order of v, and of one face of length h
    // (largest v) in the order of u: corners first and last.
    // placeLayout lists the 4 corners, then the web bars of the faces of length b (the face at
    // u > 0 first), then those of the faces of length h (v > 0 first).
    std::vector<PlacedBar> faceB;
    std::vector<PlacedBar> faceH;
    const auto webB = static_cast<std::size_t>(layout.choice.webBarsAlongB);
    const auto webH = static_cast<std::size_t>(layout.choice.webBarsAlongH);
    for (std::size_t i = 0; i < layout.bars.size(); ++i) {
        const PlacedBar& bar = layout.bars[i];
        if (i < 4) {
            if (bar.u > 0.0) faceB.push_back(bar);
            if (bar.v > 0.0) faceH.push_back(bar);
        } else if (i < 4 + webB) {
            faceB.push_back(bar);
        } else if (i >= 4 + 2 * webB && i < 4 + 2 * webB + webH) {
            faceH.push_back(bar);
        }
    }
    std::sort(faceB.begin(), faceB.end(),
              [](const PlacedBar& a, const PlacedBar& b) { return a.v < b.v; });
    std::sort(faceH.begin(), faceH.end(),
              [](const PlacedBar& a, const PlacedBar& b) { return a.u < b.u; });
    // along: true for legs parallel to h (vertical in the drawing, at x = v).
    const auto place = [&](const std::vector<PlacedBar>& face, const std::vector<int>& held,
                           bool alongH) {
        std::vector<const PlacedBar*> inner;
        for (const int index : held) {
            if (index <= 0 || index + 1 >= static_cast<int>(face.size())) continue;
            inner.push_back(&face[static_cast<std::size_t>(index)]);
        }
        const auto point = [alongH](double across, double along) {
            return alongH ? DxfPoint{across, along} : DxfPoint{along, across};
        };
        const double half = alongH ? halfH : halfB;
        for (std::size_t i = 0; i < inner.size(); i += 2) {
            const double first = alongH ? inner[i]->v : inner[i]->u;
            if (i + 1 < inner.size()) {
                const double second = alongH ? inner[i + 1]->v : inner[i + 1]->u;
                const double low = first - (inner[i]->d / 2.0 + ds / 2.0);
                const double high = second + (inner[i + 1]->d / 2.0 + ds / 2.0);
                const double end = half - ds;
                pieces.push_back(
                    {{point(low, -end), point(high, -end), point(high, end), point(low, end)},
                     true});
            } else {
                pieces.push_back({{point(first, -half), point(first, half)}, false});
            }
        }
    };
    place(faceB, choice.heldBarsB, true);
    place(faceH, choice.heldBarsH, false);
    return pieces;
}

SectionDrawing designSectionDrawing(const ColumnWithStirrups& column, const std::string& columnId) {
    const Gb2010Design& design = column.longitudinal;
    SectionDrawing drawing = designSectionDrawing(design, columnId);
    // The bars were placed with this stirrup diameter (a thicker stirrup placed them anew).
    drawing.stirrupDiameter = column.stirrupDiameterUsed;
    if (column.stirrups && column.stirrups->designed) {
        const StirrupDesign& s = *column.stirrups;
        drawing.innerStirrups = innerStirrupPieces(design, s.choice, drawing.stirrupDiameter);
        std::string notation = stirrupNotation(s.column.stirrupSteel, s.choice);
        // The grade letter of the plain text gives way to the drafting font's symbol.
        notation = dxfBarSymbol(s.column.stirrupSteel) + notation.substr(1);
        drawing.annotation.push_back("箍筋 " + notation + "  " + stirrupType(s.choice));
    }
    return drawing;
}

FileResult writeDesignDrawing(const std::string& path, const ColumnWithStirrups& column,
                              const std::string& columnId, StreamTarget streams) {
    const Gb2010Design& design = column.longitudinal;
    if (!design.designed || !design.layout) {
        return FileResult::refusal(path, FileAction::Write, "no layout was chosen");
    }
    return writeSectionDrawing(path, designSectionDrawing(column, columnId), streams);
}

}  // namespace tessarin
