#pragma once

#include <optional>
#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The drawn symbol of a steel grade as the Chinese drawings print it (GB 50010 table 4.2.2-1),
// made of strokes so that every front end (Qt, GDI, SVG, PDF, Word) draws the same shape without
// a font. Units are the text's character size (its em): x to the right from the symbol's left
// edge, y up from the baseline. The shapes follow the forms of the structural CAD fonts' codes
// %%130 to %%133:
//   HPB300 (%%130)  a circle with one vertical stroke through it (the plain Φ);
//   HRB335 (%%131)  the same with a short horizontal foot under the stroke;
//   HRB400 (%%132)  a circle with two vertical strokes through it and the foot under them;
//   HRB500 (%%133)  the two strokes with a horizontal bar above and the foot under them.
struct GradeSymbolShape {
    struct Stroke {
        double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    };
    double circleX = 0.0;  // the circle's centre and radius
    double circleY = 0.0;
    double radius = 0.0;
    std::vector<Stroke> strokes;
    double advance = 0.0;    // how far the text after the symbol starts
    double lineWidth = 0.0;  // stroke width
};

[[nodiscard]] GradeSymbolShape gradeSymbolShape(SteelGrade2010 grade);

// The grade whose plain-text letter is given ('A' HPB300, 'B' HRB335, 'C' HRB400, 'D' HRB500);
// nullopt for any other character.
[[nodiscard]] std::optional<SteelGrade2010> gradeOfSymbolLetter(char letter);

}  // namespace tessarin
