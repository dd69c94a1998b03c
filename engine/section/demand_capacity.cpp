#include "engine/section/demand_capacity.h"

#include <cmath>
#include <limits>

#include "engine/section/bracketed_root.h"
#include "engine/section/direction_solver.h"

namespace tessarin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The other moment of a plane parallel to the bending axis that counts as none: rounding only.
constexpr double kNegligibleShare = 1e-9;
// The shallowest compression zone tried without a tensile strain limit (mapped depth).
constexpr double kShallowestDepth = 1e-12;

}  // namespace

namespace {

DemandCapacity capacityFrom(const SectionResistance& section, double N, double Mx, double My,
                            const DemandCapacity* near, DirectionSolver::Precision precision) {
    DemandCapacity result;
    result.N = N;
    result.Mx = Mx;
    result.My = My;
    const DirectionSolver solver(section, N, precision);
    if (!solver.reachable()) {
        result.axialCapacityExceeded = true;
        result.utilisation = kInfinity;
        return result;
    }
    const double direction = (Mx == 0.0 && My == 0.0) ? 0.0 : std::atan2(My, Mx);
    const DirectionSolver::Found found =
        near != nullptr && !near->axialCapacityExceeded
            ? solver.inMomentDirection(direction, near->found.state.plane.axisAngle, near->found)
            : solver.inMomentDirection(direction, elasticAxisAngle(section.size(), Mx, My));
    result.found = found;
    result.MxR = found.state.forces.Mx;
    result.MyR = found.state.forces.My;
    result.plane = found.state.plane;
    result.utilisation = std::hypot(Mx, My) / std::hypot(result.MxR, result.MyR);
    return result;
}

}  // namespace

DemandCapacity capacityInDemandDirection(const SectionResistance& section, double N, double Mx,
                                         double My, DirectionSolver::Precision precision) {
    return capacityFrom(section, N, Mx, My, nullptr, precision);
}

DemandCapacity capacityInDemandDirection(const SectionResistance& section, double N, double Mx,
                                         double My, const DemandCapacity& near,
                                         DirectionSolver::Precision precision) {
    return capacityFrom(section, N, Mx, My, &near, precision);
}

double uniaxialCapacityAtEccentricity(const SectionResistance& section, BendingAxis axis,
                                      double eccentricity) {
    const double squash = section.squashLoad();
    const double arm = std::fabs(eccentricity);
    if (!(arm > 0.0)) return squash;
    // The moment direction of the eccentricity: +-Mx about the x axis, +-My about the y axis.
    const double sign = eccentricity < 0.0 ? -1.0 : 1.0;
    const double mx = axis == BendingAxis::X ? sign : 0.0;
    const double my = axis == BendingAxis::Y ? sign : 0.0;
    // A section symmetric about the bending axis reaches its pure moment with the neutral axis
    // parallel to that axis. Along those planes, deeper ones carry more force and less moment, so
    // the one whose moment is N e is a root in the depth alone: M - N e falls from positive at
    // the shallowest zone to -N0 e at the squash load. Where the other moment of that plane is
    // not negligible, or no root is bracketed, the force is searched over the capacities in the
    // moment direction below.
    const double axisAngle = elasticAxisAngle(section.size(), mx, my);
    const double extent = DirectionSolver(section, 0.0).extentAlong(axisAngle);
    SectionForces atRoot;
    const auto excessMoment = [&](double x) {
        atRoot = section.forcesAt({axisAngle, DirectionSolver::depthOf(x, extent)});
        const double along = axis == BendingAxis::X ? sign * atRoot.Mx : sign * atRoot.My;
        return along - arm * atRoot.N;
    };
    const double shallowest = section.tensionLimited() ? -1.0 : kShallowestDepth;
    const double valueShallowest = excessMoment(shallowest);
    if (valueShallowest > 0.0) {
        const Bracket depths{shallowest, valueShallowest, 1.0, -arm * squash};
        const double root = solveBracketed(excessMoment, depths, {1e-14, 0.0});
        excessMoment(root);
        const double along = axis == BendingAxis::X ? sign * atRoot.Mx : sign * atRoot.My;
        const double across = axis == BendingAxis::X ? atRoot.My : atRoot.Mx;
        if (along > 0.0 && std::fabs(across) <= kNegligibleShare * along) return atRoot.N;
    }
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
