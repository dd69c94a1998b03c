#include "drawing/section_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/whole_file.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

// How the section detail is drawn where the code says nothing: what a Chinese structural drawing
// shows (GB/T 50001 and GB/T 50105 for the drafting sizes). Sizes in mm on paper, plotted at 1:20,
// the usual scale of a column section detail; the model itself is 1:1 in mm.
struct DrawingChoices {
    double plotScale = 20.0;
    double textHeight = 3.5;          // annotation, dimension figures and title
    double lineSpacing = 1.6;         // annotation lines, in text heights
    double dimensionOffset = 10.0;    // first dimension line from the outline
    double extensionGap = 2.0;        // extension line starts this far from the outline
    double extensionOvershoot = 2.0;  // and ends this far beyond the dimension line
    double tickHalf = 0.9;            // the 45° tick: 2.5 mm long
    double tickWidth = 0.3;           // drawn medium-thick
    double figureLift = 1.0;          // dimension figure above its line
    double annotationGap = 10.0;      // annotation block right of the outline
    double titleGap = 8.0;            // top of the title below the lower dimension line
    double hookBarDiameters = 10.0;   // 135° hook ends of 10 stirrup diameters,
    double hookMinimum = 75.0;        // at least 75 mm (the seismic rule, safe for all)
    int outlineColour = 7;
    int stirrupColour = 3;
    int barColour = 1;
    int annotationColour = 2;
};
constexpr DrawingChoices kChoices;

constexpr const char* kOutlineLayer = "轮廓";
constexpr const char* kStirrupLayer = "箍筋";
constexpr const char* kInnerStirrupLayer = "复合箍筋";
constexpr const char* kBarLayer = "纵筋";
constexpr const char* kAnnotationLayer = "标注";

double paper(double millimetres) {
    return millimetres * kChoices.plotScale;
}

std::string bars(int count, const std::string& symbol, int diameter) {
    return std::to_string(count) + symbol + std::to_string(diameter);
}

// A dimension as drafted by hand: two extension lines, the dimension line between them, a 45°
// tick at each end and the figure above the line. from and to lie on the outline; side is the
// unit direction from the outline towards the dimension line.
void dimension(DxfDocument& doc, DxfPoint from, DxfPoint to, DxfPoint side, double length) {
    const double offset = paper(kChoices.dimensionOffset);
    const auto at = [&](DxfPoint p, double distance) {
        return DxfPoint{p.x + side.x * distance, p.y + side.y * distance};
    };
    for (const DxfPoint p : {from, to}) {
        doc.line(kAnnotationLayer, at(p, paper(kChoices.extensionGap)),
                 at(p, offset + paper(kChoices.extensionOvershoot)));
    }
    const DxfPoint a = at(from, offset);
    const DxfPoint z = at(to, offset);
    doc.line(kAnnotationLayer, a, z);
    // Read along the line, the tick leans like "/": turned with the line for an upright one.
    const DxfPoint along{(z.x - a.x) / length, (z.y - a.y) / length};
    const DxfPoint lean{(along.x - along.y) * paper(kChoices.tickHalf),
                        (along.y + along.x) * paper(kChoices.tickHalf)};
    for (const DxfPoint p : {a, z}) {
        doc.polyline(kAnnotationLayer, {{p.x - lean.x, p.y - lean.y}, {p.x + lean.x, p.y + lean.y}},
                     false, paper(kChoices.tickWidth));
    }
    // The figure stands just above the line as it is read: under the section between line and
    // section, at its left side outside the line, running upwards.
    const double lift = paper(kChoices.figureLift);
    const DxfPoint base{(a.x + z.x) / 2.0 - along.y * lift, (a.y + z.y) / 2.0 + along.x * lift};
    const double rotation = std::atan2(along.y, along.x) * 180.0 / std::numbers::pi;
    const double figureHeight = paper(kChoices.textHeight);
    doc.text(kAnnotationLayer, base, figureHeight, formatGeneral(length), DxfAlign::Centre,
             rotation);
}

// The two hook ends of the stirrup at the corner bar nearest the top left: each leaves the bar
// tangentially on one side and runs 45° into the core.
void hooks(DxfDocument& doc, const SectionDrawing& drawing) {
    if (drawing.bars.empty()) return;
    const auto corner = std::max_element(
        drawing.bars.begin(), drawing.bars.end(),
        [](const DrawnBar& l, const DrawnBar& r) { return l.u - l.v < r.u - r.v; });
    const double ds = drawing.stirrupDiameter;
    const double radius = corner->d / 2.0 + ds / 2.0;
    const double length = std::max(kChoices.hookBarDiameters * ds, kChoices.hookMinimum);
    const double k = std::numbers::sqrt2 / 2.0;
    for (const double sign : {1.0, -1.0}) {
        const DxfPoint start{corner->v + sign * k * radius, corner->u + sign * k * radius};
        doc.polyline(kStirrupLayer, {start, {start.x + k * length, start.y - k * length}}, false,
                     ds);
    }
}

std::vector<DxfPoint> rectangle(double halfWidth, double halfHeight) {
    return {{-halfWidth, -halfHeight},
            {halfWidth, -halfHeight},
            {halfWidth, halfHeight},
            {-halfWidth, halfHeight}};
}

}  // namespace

std::vector<std::string> flatNotationLines(const BarNotation& notation) {
    std::vector<std::string> lines{formatGeneral(notation.b) + "×" + formatGeneral(notation.h),
                                   "角筋 " + bars(4, notation.symbol, notation.cornerDiameter)};
    if (notation.webBarsAlongB > 0) {
        lines.push_back("b边一侧中部筋 " +
                        bars(notation.webBarsAlongB, notation.symbol, notation.webDiameterB));
    }
    if (notation.webBarsAlongH > 0) {
        lines.push_back("h边一侧中部筋 " +
                        bars(notation.webBarsAlongH, notation.symbol, notation.webDiameterH));
    }
    return lines;
}

std::string drawingTitle(const std::string& columnId, const std::string& concrete,
                         const std::string& steel, double utilisation, int governing) {
    return (columnId.empty() ? "" : columnId + "  ") + concrete + "  " + steel +
           "  GB 50010-2010  利用率 " + formatDecimals(utilisation, 3) + "（组合 " +
           std::to_string(governing) + "）";
}

DxfDocument sectionDrawingDocument(const SectionDrawing& drawing) {
    DxfDocument doc;
    drawSectionDetail(doc, drawing);
    return doc;
}

void drawSectionDetail(DxfDocument& doc, const SectionDrawing& drawing) {
    doc.addLayer(kOutlineLayer, kChoices.outlineColour);
    doc.addLayer(kStirrupLayer, kChoices.stirrupColour);
    doc.addLayer(kBarLayer, kChoices.barColour);
    doc.addLayer(kAnnotationLayer, kChoices.annotationColour);

    const double halfB = drawing.b / 2.0;
    const double halfH = drawing.h / 2.0;
    doc.polyline(kOutlineLayer, rectangle(halfB, halfH), true, 0.0);
    // The stirrup's centre line, half its diameter inside the cover, drawn as wide as the bar.
    const double inset = drawing.cover + drawing.stirrupDiameter / 2.0;
    doc.polyline(kStirrupLayer, rectangle(halfB - inset, halfH - inset), true,
                 drawing.stirrupDiameter);
    hooks(doc, drawing);
    if (!drawing.innerStirrups.empty()) {
        doc.addLayer(kInnerStirrupLayer, kChoices.stirrupColour);
        for (const SectionDrawing::StirrupPiece& piece : drawing.innerStirrups) {
            doc.polyline(kInnerStirrupLayer, piece.points, piece.closed, drawing.stirrupDiameter);
        }
    }
    for (const DrawnBar& bar : drawing.bars) {
        doc.circle(kBarLayer, {bar.v, bar.u}, bar.d / 2.0);
        doc.disc(kBarLayer, {bar.v, bar.u}, bar.d / 2.0);
    }

    dimension(doc, {-halfB, -halfH}, {halfB, -halfH}, {0.0, -1.0}, drawing.b);
    dimension(doc, {-halfB, -halfH}, {-halfB, halfH}, {-1.0, 0.0}, drawing.h);

    const double textHeight = paper(kChoices.textHeight);
    DxfPoint line{halfB + paper(kChoices.annotationGap), halfH - textHeight};
    for (const std::string& text : drawing.annotation) {
        doc.text(kAnnotationLayer, line, textHeight, text);
        line.y -= kChoices.lineSpacing * textHeight;
    }
    const double titleY =
        -halfH - paper(kChoices.dimensionOffset + kChoices.titleGap + kChoices.textHeight);
    doc.text(kAnnotationLayer, {-halfB - paper(kChoices.dimensionOffset), titleY}, textHeight,
             drawing.title);
}

FileResult writeSectionDrawing(const std::string& path, const SectionDrawing& drawing,
                               StreamTarget streams) {
    return writeDxf(path, sectionDrawingDocument(drawing), streams);
}

}  // namespace tessarin
