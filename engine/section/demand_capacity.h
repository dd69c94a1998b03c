#pragma once

#include "engine/section/direction_solver.h"
#include "engine/section/section_resistance.h"

namespace tessarin {

// What a section carries at a given axial force in the moment direction of a demand. Units of
// engine/section: N, N*mm.
struct DemandCapacity {
    double N = 0.0;               // N, the axial force held fixed
    double Mx = 0.0, My = 0.0;    // demand, N*mm
    double MxR = 0.0, MyR = 0.0;  // ultimate moment at N in the demand's moment direction, N*mm
    double utilisation = 0.0;     // |M| / |MR|; 0 without moment; +inf when N is outside
                                  // (tension limit, squash load)
    bool axialCapacityExceeded = false;
    StrainPlane plane;  // the ultimate plane found
    // What the search found, for the next search of a similar section to start from (the
    // neutral-axis angle, the depth and the slopes).
    DirectionSolver::Found found;
};

// The capacity at the axial force N in the moment direction of (Mx, My); without moment, in the
// direction of pure Mx.
[[nodiscard]] DemandCapacity capacityInDemandDirection(
    const SectionResistance& section, double N, double Mx, double My,
    DirectionSolver::Precision precision = DirectionSolver::Precision::Fine);
// The same, the search starting from what it found for a section of the same size with other
// bars (near.found): a layout next to one just checked needs only a few steps.
[[nodiscard]] DemandCapacity capacityInDemandDirection(
    const SectionResistance& section, double N, double Mx, double My, const DemandCapacity& near,
    DirectionSolver::Precision precision = DirectionSolver::Precision::Fine);

// Uniaxial capacity at a fixed eccentricity: the largest axial force N (N) whose ultimate state
// has Mx = N*eu and My = 0 (axis = x; moment about the x bending axis, lever arm along u), or
// My = N*ev and Mx = 0 (axis = y). For the reciprocal formula 1/Nu = 1/Nux + 1/Nuy - 1/Nu0.
enum class BendingAxis { X, Y };
[[nodiscard]] double uniaxialCapacityAtEccentricity(const SectionResistance& section,
                                                    BendingAxis axis, double eccentricity);

}  // namespace tessarin
