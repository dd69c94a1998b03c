#pragma once

#include <string>
#include <vector>

#include "drawing/dxf_document.h"
#include "platform/file_result.h"

namespace tessarin {

// One longitudinal bar: its centre from the section's centroid, u along h and v along b (mm),
// and its diameter d (mm).
struct DrawnBar {
    double u = 0.0;
    double v = 0.0;
    double d = 0.0;
};

// What the section detail of one designed column shows. The section is drawn at 1:1 in mm with b
// across and h upwards, its centroid at the origin, so a bar lies at x = v, y = u.
struct SectionDrawing {
    double b = 0.0;
    double h = 0.0;
    double cover = 0.0;            // concrete cover to the stirrup's outer face
    double stirrupDiameter = 0.0;  // drawn to its width, with the two 135° hook ends
    std::vector<DrawnBar> bars;
    // The inner hoops (closed) and single ties (open) of a compound stirrup, centre lines in the
    // drawing's coordinates (x = v, y = u), drawn as wide as the stirrup on the layer 复合箍筋.
    struct StirrupPiece {
        std::vector<DxfPoint> points;
        bool closed = false;
    };
    std::vector<StirrupPiece> innerStirrups;
    std::vector<std::string> annotation;  // the flat-notation block beside the section
    std::string title;                    // the line under the drawing
};

// The bars of a symmetric layout in the notation of the national flat-notation drawings.
struct BarNotation {
    double b = 0.0;
    double h = 0.0;
    int cornerDiameter = 0;
    int webDiameterB = 0;
    int webBarsAlongB = 0;  // on each of the two faces of length b
    int webDiameterH = 0;
    int webBarsAlongH = 0;  // on each of the two faces of length h
    std::string symbol;     // the steel grade's symbol as the drawing writes it ("%%132")
};

// "400×600", "角筋 4%%13225", "b边一侧中部筋 3%%13220", "h边一侧中部筋 2%%13220" for HRB400; a
// face without web bars has no line, as the drawings leave it out.
std::vector<std::string> flatNotationLines(const BarNotation& notation);

// "KZ1  C30  HRB400  GB 50010-2010  利用率 0.870（组合 2）", without the id when it is empty;
// governing counts from 1.
std::string drawingTitle(const std::string& columnId, const std::string& concrete,
                         const std::string& steel, double utilisation, int governing);

// The drawing on the layers 轮廓 (outline), 箍筋 (stirrup), 复合箍筋 (inner hoops and ties, when
// there are any), 纵筋 (bars: a circle of the bar's diameter and a filled disc each) and 标注
// (dimensions, annotation, title).
DxfDocument sectionDrawingDocument(const SectionDrawing& drawing);
// The same drawn into doc about its origin (DxfDocument::setOrigin), beside other drawings; the
// layers are declared as above.
void drawSectionDetail(DxfDocument& doc, const SectionDrawing& drawing);

// Writes the drawing as a DXF file at path, whole or not at all.
FileResult writeSectionDrawing(const std::string& path, const SectionDrawing& drawing,
                               StreamTarget streams = StreamTarget::Write);

}  // namespace tessarin
