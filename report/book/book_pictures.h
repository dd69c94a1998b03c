#pragma once

#include <optional>

#include "engine/section/section_check.h"
#include "report/book/book.h"

namespace tessarin {

struct BookCase;

// The section to a standard scale with its bars (the checked layout: four corner bars and the web
// steel of each face as three equal bars at the quarter points), the overall dimensions and a
// legend of the areas. nullopt when the section or the areas are not finite numbers.
std::optional<BookPicture> sectionPicture(const BookCase& bookCase);

// The ultimate Mx-My contour at the design axial force with the demand point, the capacity in its
// direction and the utilisation. nullopt when there is no contour (axial capacity exceeded) or a
// value is not a finite number.
std::optional<BookPicture> contourPicture(const SectionCheckResult& result);

// The scale denominator for a drawing of real size `size` (mm) that must fit into `room` (mm on
// paper): the smallest of 1, 2, 2.5, 5 times a power of ten that is large enough; 0 when size or
// room is not a positive finite number.
double drawingScale(double size, double room);

// A tick step for an axis reaching to `extent`: 1, 2 or 5 times a power of ten giving two to
// five ticks; 0 when extent is not a positive finite number.
double tickStep(double extent);

}  // namespace tessarin
