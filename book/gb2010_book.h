#pragma once

#include "book/book.h"
#include "book/design_book.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The calculation book of a current-code design (GB 50010-2010), in the order of its report: the
// title block, the inputs with every load combination, the materials, the detailing limits, per
// combination and axis the second-order steps with their formulas and the numbers put in, the
// layout in the usual notation with As, rho and the limits it meets, the section to scale with
// every bar, the check of every combination, the governing one and the Mx-My contour at its N
// with the demand and the utilisation. Every figure stands as the report prints it. Without a
// design the book says why and draws no section of a design.
Book buildGb2010Book(const BookInfo& info, const Gb2010Design& design);
// The same with the chapter 箍筋设计: the kinds and shears of the combinations, gammaRE of the
// seismic ones, the stirrup detailing, choice and shear checks with every figure put in.
Book buildGb2010Book(const BookInfo& info, const ColumnWithStirrups& column);

}  // namespace tessarin
