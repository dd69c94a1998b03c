#pragma once

#include <string>
#include <vector>

#include "views/column_design.h"

namespace tessarin {

// The section of a column to scale as a vector model for any front end: millimetres with the
// origin at the centroid, x across (along b) and y up (along h), the orientation of the drawing.
// (These are the picture's coordinates; the reports name the section's axes the other way round:
// their x axis runs along h, the lever arm of Mx, and their y axis along b. A picture labels its
// vertical axis x and its horizontal axis y.)
// A front end fits the outline into its area with one scale and flips y for its screen.
struct SectionPicture {
    struct Circle {
        double x = 0.0;
        double y = 0.0;
        double diameter = 0.0;
        bool corner = false;
    };
    double width = 0.0;   // b
    double height = 0.0;  // h
    // The stirrup's centre line, c + ds/2 inside the faces; 0 when the cover is unknown.
    double stirrupInset = 0.0;
    std::vector<Circle> bars;  // empty without a layout
    std::string caption;       // "KZ1  400×600  4C22+8C20", as plain text
    // The layout's notation alone ("4C22+8C20"; the end of the caption), which a picture draws
    // with the grade's own symbol in place of its letter; empty without a layout.
    std::string notation;
    SteelGrade2010 steel = SteelGrade2010::HRB400;
};

[[nodiscard]] SectionPicture sectionPicture(const ProjectColumn& column,
                                            const ColumnOutcome& outcome);

}  // namespace tessarin
