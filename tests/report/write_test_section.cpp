// Writes the section detail of a known column to the file named on the command line, for the
// DXF reader test (check_section_dxf.py holds the figures it expects, worked by hand).
#include <iostream>

#include "drawing/section_drawing.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_test_section FILE.dxf\n";
        return 2;
    }
    // 400 × 600, cover 20, stirrup 8: corner bars Φ25 centred 20 + 8 + 12.5 = 40.5 mm in from
    // both faces, web bars Φ20 38 mm in from their face, evenly between the corner bars.
    tessarin::SectionDrawing drawing;
    drawing.b = 400.0;
    drawing.h = 600.0;
    drawing.cover = 20.0;
    drawing.stirrupDiameter = 8.0;
    for (const double u : {-259.5, 259.5}) {
        for (const double v : {-159.5, 159.5}) drawing.bars.push_back({u, v, 25.0});
    }
    for (const double u : {-262.0, 262.0}) {
        for (const double v : {-79.75, 0.0, 79.75}) drawing.bars.push_back({u, v, 20.0});
    }
    for (const double v : {-162.0, 162.0}) {
        for (const double u : {-86.5, 86.5}) drawing.bars.push_back({u, v, 20.0});
    }
    drawing.annotation = tessarin::flatNotationLines({400.0, 600.0, 25, 20, 3, 20, 2, "%%132"});
    drawing.title = tessarin::drawingTitle("KZ1", "C30", "HRB400", 0.8704, 2);
    const tessarin::FileResult written = tessarin::writeSectionDrawing(argv[1], drawing);
    if (!written.ok) {
        std::cerr << written.fileName << ": " << written.reason << '\n';
        return 3;
    }
    return 0;
}
