#pragma once

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// What one axis of one combination needs: N (kN), the end moments M2 (kN*m) and M1/M2, the length
// between supports lc and the depth D in the bending direction (mm), the corner bars' centre
// distance a from the face (mm), fc (N/mm^2) and the gross area A (mm^2).
struct AxisLoad {
    double N = 0.0;
    double M2 = 0.0;
    double m1m2 = 1.0;
    double lc = 0.0;
    double depth = 0.0;
    double a = 0.0;
    double fc = 0.0;
    double area = 0.0;
};

// Screening (6.2.3), Cm and etaNs (6.2.4), ea (6.2.5) and ei (6.2.17) of one axis.
[[nodiscard]] AxisDemand axisDemand(const AxisLoad& load);

// One bending axis of the column: the length between supports lc (6.2.3) and the depth D of the
// section in the bending direction (mm): h for x bending, b for y bending.
struct AxisSpan {
    double lc = 0.0;
    double depth = 0.0;
};

// The demand of a combination on a column whose corner bars lie a from the faces: both axes and
// Mx = N eix, My = N eiy. The gross area is x.depth times y.depth. For a uniaxial column the
// direction without moment takes no ea (6.2.5): its ei and moment are 0.
[[nodiscard]] CombinationDemand combinationDemand(
    const LoadCombination& combination, AxisSpan x, AxisSpan y, double a, double fc,
    MomentDirections directions = MomentDirections::Biaxial);

}  // namespace tessarin
