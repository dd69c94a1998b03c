#include "engine/section/direction_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/section/bracketed_root.h"

namespace tessarin {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Shallowest compression zone tried without a tensile strain limit, as a fraction of the
// section's extent along the gradient (x = depth / (depth + extent)): there every bar has long
// yielded in tension.
constexpr double kShallowestZone = 1e-12;

// Tolerances of the two searches: the depth to 1e-10 of the largest axial force or of the
// distance to the nearer limit (or 1e-15 of the mapped depth), the neutral-axis angle until the
// moment direction is within 1e-12 rad of the demand's (or the bracket 1e-13 rad wide).
constexpr double kRelativeForceTolerance = 1e-10;
constexpr Tolerance kAngleTolerance = {1e-13, 1e-11};
// The coarse searches: the force to 1e-5, the direction to 1e-5 rad.
constexpr double kCoarseForceTolerance = 1e-5;
constexpr Tolerance kCoarseAngleTolerance = {1e-6, 1e-5};

// Steps taken from a guess before the far end of the range is used as the bracket's other end.
constexpr double kDepthStep = 0.02;    // of the mapped depth's room on that side
constexpr double kAngleStep = 0.05;    // rad; a thousandth of it is the shortest first step
constexpr int kAngleExpansions = 40;   // doublings before a half turn is certainly spanned
constexpr double kSecantReach = 1.05;  // of the secant step from a guess with a known slope

}  // namespace

DirectionSolver::DirectionSolver(const SectionResistance& section, double axialForce,
                                 Precision precision)
    : section_(section),
      axialForce_(axialForce),
      squash_(section.squashLoad()),
      tension_(section.tensionLimit()),
      // Close to either limit the moments shrink with the distance to it, and so does the
      // tolerance on the force.
      forceTolerance_(
          (precision == Precision::Fine ? kRelativeForceTolerance : kCoarseForceTolerance) *
          std::min({std::max(squash_, -tension_), squash_ - axialForce_, axialForce_ - tension_})),
      angleTolerance_(precision == Precision::Fine ? kAngleTolerance : kCoarseAngleTolerance) {}

bool DirectionSolver::reachable() const {
    return axialForce_ < squash_ && axialForce_ > tension_;
}

double DirectionSolver::extentAlong(double axisAngle) const {
    const SectionSize& size = section_.size();
    return size.h * std::fabs(std::cos(axisAngle)) + size.b * std::fabs(std::sin(axisAngle));
}

double DirectionSolver::depthOf(double x, double extent) {
    if (x >= 1.0) return kInfinity;
    if (x <= -1.0) return -kInfinity;
    return x >= 0.0 ? extent * x / (1.0 - x) : extent * x / (1.0 + x);
}

DirectionSolver::Found DirectionSolver::atAxisAngle(double axisAngle, double guess,
                                                    double slope) const {
    Found found;
    found.state.plane.axisAngle = axisAngle;
    if (!(axialForce_ < squash_)) {
        found.x = 1.0;
        found.state.plane.compressionDepth = kInfinity;
        found.state.forces = section_.forcesAt(found.state.plane);
        return found;
    }
    const double extent = extentAlong(axisAngle);
    // Every evaluation keeps its forces, so the root found needs no second one.
    // The last two evaluations give the slope dN/dx to guess from at the next angle.
    SectionForces last;
    double lastX = kInfinity;
    double previousX = kInfinity;
    double previousN = 0.0;
    auto excess = [&](double x) {
        previousX = lastX;
        previousN = last.N;
        lastX = x;
        last = section_.forcesAt({axisAngle, depthOf(x, extent)});
        return last.N - axialForce_;
    };
    auto finish = [&](double x) {
        found.x = x;
        if (std::isfinite(previousX) && previousX != lastX) {
            found.depthSlope = (last.N - previousN) / (lastX - previousX);
        }
        found.state.plane.compressionDepth = depthOf(x, extent);
        found.state.forces = x == lastX ? last : section_.forcesAt(found.state.plane);
        return found;
    };

    // The ends of the range: x = 1 is the squash load; below, the shallowest zone (its force
    // found only when the bracket needs it) or, with a tensile strain limit, the uniform limit
    // strain.
    const bool limited = section_.tensionLimited();
    Bracket range{limited ? -1.0 : kShallowestZone, tension_ - axialForce_, 1.0,
                  squash_ - axialForce_};
    bool lowKnown = limited;
    if (limited && !(range.valueLo < 0.0)) return finish(range.lo);

    if (guess > range.lo && guess < range.hi) {
        // From the guess a secant step with the slope given (or a short step towards the root),
        // then the range's end on that side.
        const double valueGuess = excess(guess);
        if (std::fabs(valueGuess) <= forceTolerance_) return finish(guess);
        const bool below = valueGuess < 0.0;
        const double room = below ? range.hi - guess : guess - range.lo;
        double step = guess + (below ? kDepthStep : -kDepthStep) * room;
        if (slope > 0.0 && std::isfinite(slope)) {
            // A little beyond the secant's root, so that the step brackets it more often than not.
            const double secant = guess - kSecantReach * valueGuess / slope;
            step = std::clamp(secant, guess - 0.5 * (guess - range.lo),
                              guess + 0.5 * (range.hi - guess));
        }
        const double valueStep = excess(step);
        if (std::fabs(valueStep) <= forceTolerance_) return finish(step);
        if ((valueStep < 0.0) != below) {
            range = below ? Bracket{guess, valueGuess, step, valueStep}
                          : Bracket{step, valueStep, guess, valueGuess};
            lowKnown = true;
        } else if (below) {
            range.lo = step;
            range.valueLo = valueStep;
            lowKnown = true;
        } else {
            range.hi = step;
            range.valueHi = valueStep;
        }
    }
    if (!lowKnown) {
        range.valueLo = excess(range.lo);
        if (!(range.valueLo < 0.0)) return finish(range.lo);
    }
    return finish(solveBracketed(excess, range, {1e-15, forceTolerance_}));
}

DirectionSolver::Found DirectionSolver::inMomentDirection(double direction, double angleGuess,
                                                          const Found& near) const {
    // The moment direction turns with the neutral axis; miss is its signed angle from the target.
    double x = near.x;
    double depthSlope = near.depthSlope;
    Found at;
    Found closest;
    double closestMiss = kInfinity;
    double previousAngle = kInfinity;
    double previousMiss = 0.0;
    auto miss = [&](double angle) {
        at = atAxisAngle(angle, x, depthSlope);
        x = at.x;
        if (std::isfinite(at.depthSlope)) depthSlope = at.depthSlope;
        const double offset =
            std::remainder(std::atan2(at.state.forces.My, at.state.forces.Mx) - direction, kTwoPi);
        if (std::isfinite(previousAngle) && angle != previousAngle) {
            at.angleSlope = (offset - previousMiss) / (angle - previousAngle);
        }
        previousAngle = angle;
        previousMiss = offset;
        if (std::fabs(offset) < closestMiss) {
            closestMiss = std::fabs(offset);
            closest = at;
        }
        return offset;
    };

    double a = angleGuess;
    double missA = miss(a);
    if (missA == 0.0) return at;
    // First step: the secant with the slope of a neighbouring state, or as far as the miss (the
    // moment turning about as fast as the axis), a little further so as to straddle the root.
    double slope = near.angleSlope > 0.0 && std::isfinite(near.angleSlope) ? near.angleSlope : 1.0;
    double step = std::clamp(kSecantReach * std::fabs(missA) / slope, 1e-3 * kAngleStep, 0.5 * kPi);
    for (int i = 0; i < kAngleExpansions; ++i) {
        const double b = a - std::copysign(step, missA);
        const double missB = miss(b);
        if (missB == 0.0) return at;
        // A sign change counts only where the direction did not wrap round the half turn away.
        if ((missB < 0.0) != (missA < 0.0) && std::fabs(missB - missA) < kPi) {
            const Bracket bracket =
                b < a ? Bracket{b, missB, a, missA} : Bracket{a, missA, b, missB};
            const double angle = solveBracketed(miss, bracket, angleTolerance_);
            return at.state.plane.axisAngle == angle ? at : atAxisAngle(angle, x, depthSlope);
        }
        a = b;
        missA = missB;
        step = std::min(2.0 * step, 0.5 * kPi);
    }
    return closest;
}

DirectionSolver::Found DirectionSolver::inMomentDirection(double direction,
                                                          double angleGuess) const {
    return inMomentDirection(direction, angleGuess, Found{});
}

double elasticAxisAngle(const SectionSize& size, double Mx, double My) {
    if (Mx == 0.0 && My == 0.0) return 0.0;
    return std::atan2(My * (size.h * size.h), Mx * (size.b * size.b));
}

}  // namespace tessarin
