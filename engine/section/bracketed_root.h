#pragma once

#include <cmath>

namespace tessarin {

// An interval whose ends give values of opposite sign.
struct Bracket {
    double lo = 0.0;
    double valueLo = 0.0;
    double hi = 0.0;
    double valueHi = 0.0;
};

struct Tolerance {
    double width = 0.0;  // stop when the bracket is this narrow
    double value = 0.0;  // or the value this small
};

// Root of f in a bracket: regula falsi with the Illinois halving, which keeps the bracket and
// converges superlinearly on the smooth pieces of the resultants (and no worse than bisection at
// their kinks, where a bar yields or the neutral axis passes a corner).
template <class F>
double solveBracketed(F&& f, Bracket b, Tolerance tolerance) {
    constexpr int kMaxIterations = 200;
    int keptSide = 0;
    double x = 0.5 * (b.lo + b.hi);
    for (int i = 0; i < kMaxIterations; ++i) {
        x = (b.lo * b.valueHi - b.hi * b.valueLo) / (b.valueHi - b.valueLo);
        if (!(x > b.lo && x < b.hi)) x = 0.5 * (b.lo + b.hi);
        const double fx = f(x);
        if (std::fabs(fx) <= tolerance.value) return x;
        if ((fx < 0.0) == (b.valueLo < 0.0)) {
            b.lo = x;
            b.valueLo = fx;
            if (keptSide == 1) b.valueHi *= 0.5;
            keptSide = 1;
        } else {
            b.hi = x;
            b.valueHi = fx;
            if (keptSide == -1) b.valueLo *= 0.5;
            keptSide = -1;
        }
        if (b.hi - b.lo <= tolerance.width) break;
    }
    return x;
}

}  // namespace tessarin
