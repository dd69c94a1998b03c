#pragma once

#include <span>

#include "engine/section/section_resistance.h"

namespace tessarin {

// An upper bound of the ultimate moment a section carries at the axial force N in the moment
// direction (cos, sin) of (Mx, My), N and N*mm. Any state of the strain-compatibility model has
// concrete stresses between 0 and fc and net bar stresses (steel less the displaced concrete)
// between -fy and fy; the largest moment projection of all such stress fields with the axial
// force N bounds the ultimate moment from above. By weak duality every threshold t gives such a
// bound,
//   M(t) = fc * integral over w > t of (w - t) dA + fy * sum |w_i - t| A_i + t N,
// with w = u cos + v sin the lever arm in the moment direction; the bound returned is M(t) at
// the t that minimises it (where fc A(w > t) + fy (A(w_i > t) - A(w_i < t)) = N). Negative
// infinity when no stress field carries N. Cheap: a few dozen passes over the bars.
[[nodiscard]] double momentUpperBound(const SectionSize& size, double fc, double fy,
                                      std::span<const SectionBar> bars, double N,
                                      double cosDirection, double sinDirection);

}  // namespace tessarin
