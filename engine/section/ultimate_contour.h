#pragma once

#include <span>
#include <vector>

#include "engine/section/section_resistance.h"

namespace tessarin {

// The ultimate states of a section at one axial force: for each direction of the neutral axis
// the compression depth whose axial force is N, and so the Mx-My contour of the section at N.
class UltimateContour {
  public:
    // Axial force in N, compression positive. Keeps its own copy of the section.
    UltimateContour(SectionResistance section, double axialForce);

    // True when N lies strictly between the bars' tension limit and the squash load, so that the
    // section can carry a moment with it.
    [[nodiscard]] bool reachable() const;

    // The ultimate state with gradient direction axisAngle (radians) that carries N. The axial
    // force rises monotonically with the compression depth (every fibre's strain rises, and both
    // laws rise with strain), so the depth is found within a bracket. At or above the squash load
    // this is the uniform strain; at or below the tension limit the shallowest zone tried.
    [[nodiscard]] UltimateState atAxisAngle(double axisAngle) const;

    // The ultimate states whose moments point in the given directions (radians, atan2(My, Mx)),
    // found directly and in order, each search starting from the plane of the direction before
    // (the first from the elastic estimate). Empty when the contour is not reachable.
    [[nodiscard]] std::vector<UltimateState> inMomentDirections(
        std::span<const double> directions) const;

    // The same by a sweep: the neutral axis turned once around the section, every 5 degrees,
    // each direction then pinned down between the two neighbouring planes that straddle it.
    // Slower; kept as the independent reference of the direct search.
    [[nodiscard]] std::vector<UltimateState> inMomentDirectionsBySweep(
        std::span<const double> directions) const;

  private:
    SectionResistance section_;
    double axialForce_;
    double squash_;
    double tension_;
};

}  // namespace tessarin
