#include "engine/section/demand_capacity.h"

#include <cmath>
#include <limits>

#include "engine/section/direction_solver.h"

namespace tessarin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

DemandCapacity capacityInDemandDirection(const SectionResistance& section, double N, double Mx,
                                         double My) {
    DemandCapacity result;
    result.N = N;
    result.Mx = Mx;
    result.My = My;
    const DirectionSolver solver(section, N);
    if (!solver.reachable()) {
        result.axialCapacityExceeded = true;
        result.utilisation = kInfinity;
        return result;
    }
    const double direction = (Mx == 0.0 && My == 0.0) ? 0.0 : std::atan2(My, Mx);
    const DirectionSolver::Found found =
        solver.inMomentDirection(direction, elasticAxisAngle(section.size(), Mx, My));
    result.MxR = found.state.forces.Mx;
    result.MyR = found.state.forces.My;
    result.plane = found.state.plane;
    result.utilisation = std::hypot(Mx, My) / std::hypot(result.MxR, result.MyR);
    return result;
}

double uniaxialCapacityAtEccentricity(const SectionResistance& section, BendingAxis axis,
                                      double eccentricity) {
    const double squash = section.squashLoad();
    const double arm = std::fabs(eccentricity);
    if (!(arm > 0.0)) return squash;
    // The moment direction of the eccentricity: +-Mx about the x axis, +-My about the y axis.
    const double sign = eccentricity < 0.0 ? -1.0 : 1.0;
    const double mx = axis == BendingAxis::x ? sign : 0.0;
    const double my = axis == BendingAxis::y ? sign : 0.0;
    // The ray M = N e leaves the origin, inside the section's N-M diagram, and crosses its convex
    // boundary once: the moment capacity at N less N e falls from positive at N = 0 to negative
    // at the squash load, where no moment is left.
    auto surplus = [&](double axial) {
        const DemandCapacity c = capacityInDemandDirection(section, axial, mx, my);
        if (c.axialCapacityExceeded) return -axial * arm;
        return std::hypot(c.MxR, c.MyR) - axial * arm;
    };
    double lo = 0.0;
    double hi = squash;
    double valueLo = surplus(lo);
    double valueHi = -squash * arm;
    if (!(valueLo > 0.0)) {
        // A section without bars carries no moment without axial force, but a little above it
        // does, as long as the eccentricity is inside the section.
        lo = 1e-9 * squash;
        valueLo = surplus(lo);
        if (!(valueLo > 0.0)) return 0.0;
    }
    // Regula falsi with the Illinois halving, to a force tolerance of 1e-12 of N0.
    const double tolerance = 1e-12 * squash;
    int keptSide = 0;
    double x = 0.5 * (lo + hi);
    for (int i = 0; i < 200 && hi - lo > tolerance; ++i) {
        x = (lo * valueHi - hi * valueLo) / (valueHi - valueLo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        const double fx = surplus(x);
        if (fx == 0.0) return x;
        if (fx > 0.0) {
            lo = x;
            valueLo = fx;
            if (keptSide == 1) valueHi *= 0.5;
            keptSide = 1;
        } else {
            hi = x;
            valueHi = fx;
            if (keptSide == -1) valueLo *= 0.5;
            keptSide = -1;
        }
    }
    return x;
}

}  // namespace tessarin
