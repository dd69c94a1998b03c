#include "book/grade_symbol.h"

namespace tessarin {

namespace {

// The proportions, in character sizes: the strokes stand from the baseline to the digits' height
// (0.72), the circle sits between them, and the symbol is a little wider than a digit, so that the
// two strokes of HRB400 and HRB500 stay apart and the foot shows at a window's small text too.
constexpr double kTop = 0.72;
constexpr double kCentreX = 0.40;
constexpr double kRadius = 0.25;
constexpr double kStemGap = 0.09;   // half the distance of the two strokes of HRB400 and HRB500
constexpr double kFootHalf = 0.20;  // half the length of the foot and of the top bar
constexpr double kAdvance = 0.80;
constexpr double kLineWidth = 0.07;

}  // namespace

GradeSymbolShape gradeSymbolShape(SteelGrade2010 grade) {
    GradeSymbolShape shape;
    shape.circleX = kCentreX;
    shape.circleY = kTop / 2.0;
    shape.radius = kRadius;
    shape.advance = kAdvance;
    shape.lineWidth = kLineWidth;
    const bool twoStems = grade == SteelGrade2010::HRB400 || grade == SteelGrade2010::HRB500;
    if (twoStems) {
        shape.strokes.push_back({kCentreX - kStemGap, 0.0, kCentreX - kStemGap, kTop});
        shape.strokes.push_back({kCentreX + kStemGap, 0.0, kCentreX + kStemGap, kTop});
    } else {
        shape.strokes.push_back({kCentreX, 0.0, kCentreX, kTop});
    }
    if (grade != SteelGrade2010::HPB300) {
        shape.strokes.push_back({kCentreX - kFootHalf, 0.0, kCentreX + kFootHalf, 0.0});
    }
    if (grade == SteelGrade2010::HRB500) {
        shape.strokes.push_back({kCentreX - kFootHalf, kTop, kCentreX + kFootHalf, kTop});
    }
    return shape;
}

std::optional<SteelGrade2010> gradeOfSymbolLetter(char letter) {
    switch (letter) {
        case 'A':
            return SteelGrade2010::HPB300;
        case 'B':
            return SteelGrade2010::HRB335;
        case 'C':
            return SteelGrade2010::HRB400;
        case 'D':
            return SteelGrade2010::HRB500;
        default:
            return std::nullopt;
    }
}

}  // namespace tessarin
