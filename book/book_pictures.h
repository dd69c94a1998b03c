#pragma once

#include <optional>
#include <string>
#include <vector>

#include "book/book.h"
#include "engine/gb2010/gb2010_types.h"
#include "engine/section/section_check.h"

namespace tessarin {

struct BookCase;

// The section to a standard scale, b across and h up with the axes x (along h) and y (along b),
// with its bars (the checked layout: four corner bars and the web steel of each face as three
// equal bars at the quarter points), the overall dimensions and a legend of the areas. nullopt when
// the section or the areas are not finite numbers.
std::optional<BookPicture> sectionPicture(const BookCase& bookCase);

// The ultimate Mx-My contour at the design axial force with the demand point, the capacity in its
// direction and the utilisation. nullopt when there is no contour (axial capacity exceeded) or a
// value is not a finite number.
std::optional<BookPicture> contourPicture(const SectionCheckResult& result);

// The section of a current-code design to a standard scale, b across and h up: outline, stirrup,
// every bar of the layout where it lies and of its own diameter, each group labelled outside the
// outline with its count, its grade's drawn symbol and its diameter, the overall dimensions and a
// legend with the notation, As and rho. nullopt without a layout or when the section is not a
// finite size.
std::optional<BookPicture> layoutPicture(const Gb2010Design& design);

// A further demand drawn on a contour: its moments (kN*m) and a short name.
struct ContourMark {
    double Mx = 0.0;
    double My = 0.0;
    std::string name;
};

// What a contour picture shows: the ultimate contour at N (kN), the demand with the capacity in
// its direction (kN*m) and the utilisation, further demands at the same N, and the caption.
struct ContourFigure {
    double N = 0.0;
    std::vector<ContourPoint> contour;
    double Mx = 0.0, My = 0.0;
    double MxR = 0.0, MyR = 0.0;
    double utilisation = 0.0;
    std::vector<ContourMark> others;
    std::string caption;
};

// The contour with its points; nullopt when there is no contour or a value is not finite.
std::optional<BookPicture> contourPicture(const ContourFigure& figure);

// A bar label drawn with its grade's own symbol: the text before the symbol ("4", "b边每侧 3"),
// the symbol as strokes (see grade_symbol.h) and the text after it (the diameter, "28"). (x, y)
// is the baseline point the anchor refers to, as for a text; size the character size (mm).
struct BarLabel {
    double x = 0.0, y = 0.0;
    std::string before;
    SteelGrade2010 grade = SteelGrade2010::HRB400;
    std::string after;
    double size = 3.0;
    TextAnchor anchor = TextAnchor::Start;
    std::string colour = "#000000";
};

// Adds the label's shapes: the text before (anchored at the symbol's left edge), the symbol's
// circle and strokes, the text after (from the symbol's advance). The widths of the texts are
// estimated (estimatedTextWidth), so the symbol keeps to the anchor within a character or so.
void addBarLabel(BookPicture& picture, const BarLabel& bar);

// The width of a text as the books' faces set it, estimated: a full character size for each CJK
// or full-width character, 0.55 of it for any other (digits, Latin letters, spaces).
double estimatedTextWidth(const std::string& text, double size);

// The scale denominator for a drawing of real size `size` (mm) that must fit into `room` (mm on
// paper): the smallest of 1, 2, 2.5, 5 times a power of ten that is large enough; 0 when size or
// room is not a positive finite number.
double drawingScale(double size, double room);

// A tick step for an axis reaching to `extent`: 1, 2 or 5 times a power of ten giving two to
// five ticks; 0 when extent is not a positive finite number.
double tickStep(double extent);

}  // namespace tessarin
