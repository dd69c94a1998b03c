#include "engine/section/ultimate_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "engine/section/bracketed_root.h"
#include "engine/section/direction_solver.h"

namespace tessarin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Neutral-axis directions swept once around the section (every 5 degrees) before each moment
// direction is pinned down between two neighbours.
constexpr int kSweepPlanes = 72;

constexpr double kNoGuess = std::numeric_limits<double>::quiet_NaN();

}  // namespace

UltimateContour::UltimateContour(SectionResistance section, double axialForce)
    : section_(std::move(section)),
      axialForce_(axialForce),
      squash_(section_.squashLoad()),
      tension_(section_.tensionLimit()) {}

bool UltimateContour::reachable() const {
    return axialForce_ < squash_ && axialForce_ > tension_;
}

UltimateState UltimateContour::atAxisAngle(double axisAngle) const {
    return DirectionSolver(section_, axialForce_).atAxisAngle(axisAngle, kNoGuess).state;
}

std::vector<UltimateState> UltimateContour::inMomentDirections(
    std::span<const double> directions) const {
    std::vector<UltimateState> states;
    if (!reachable()) return states;
    const DirectionSolver solver(section_, axialForce_);
    states.reserve(directions.size());
    DirectionSolver::Found previous;
    for (std::size_t k = 0; k < directions.size(); ++k) {
        const double direction = directions[k];
        // The neutral axis turns as the moment did at the direction before (at first as far).
        double angleGuess =
            elasticAxisAngle(section_.size(), std::cos(direction), std::sin(direction));
        if (k > 0) {
            const double slope = previous.angleSlope > 0.0 ? previous.angleSlope : 1.0;
            angleGuess = previous.state.plane.axisAngle +
                         std::remainder(direction - directions[k - 1], kTwoPi) / slope;
        }
        previous = solver.inMomentDirection(direction, angleGuess, previous);
        states.push_back(previous.state);
    }
    return states;
}

std::vector<UltimateState> UltimateContour::inMomentDirectionsBySweep(
    std::span<const double> directions) const {
    std::vector<UltimateState> states;
    if (!reachable()) return states;

    // Sweep the neutral axis around the section once; the moment turns with it.
    const DirectionSolver solver(section_, axialForce_);
    auto atAxisAngle = [&solver](double angle) {
        return solver.atAxisAngle(angle, kNoGuess).state;
    };
    const double sweepStep = kTwoPi / kSweepPlanes;
    std::vector<UltimateState> sweep;
    std::vector<double> sweepDirection;
    sweep.reserve(kSweepPlanes);
    sweepDirection.reserve(kSweepPlanes);
    for (int k = 0; k < kSweepPlanes; ++k) {
        sweep.push_back(atAxisAngle(sweepStep * static_cast<double>(k)));
        sweepDirection.push_back(std::atan2(sweep.back().forces.My, sweep.back().forces.Mx));
    }

    states.reserve(directions.size());
    for (const double target : directions) {
        // Signed angle from the target to a moment direction, in (-pi, pi].
        auto offset = [target](double direction) {
            return std::remainder(direction - target, kTwoPi);
        };
        // Should no pair of neighbours straddle the target, the nearest swept plane stands in.
        UltimateState found = sweep.front();
        double closest = kInfinity;
        for (std::size_t k = 0; k < sweep.size(); ++k) {
            const double before = offset(sweepDirection[k]);
            const double after = offset(sweepDirection[(k + 1) % sweep.size()]);
            if (std::fabs(before) < closest) {
                closest = std::fabs(before);
                found = sweep[k];
            }
            if (before == 0.0) break;
            // A neighbour exactly on the target is taken as it is on the next turn.
            if (before < 0.0 && after > 0.0 && after - before < std::numbers::pi) {
                const double angleLo = sweepStep * static_cast<double>(k);
                auto miss = [&](double angle) {
                    const UltimateState s = atAxisAngle(angle);
                    return offset(std::atan2(s.forces.My, s.forces.Mx));
                };
                const double angle = solveBracketed(
                    miss, {angleLo, before, angleLo + sweepStep, after}, {1e-13, 1e-12});
                found = atAxisAngle(angle);
                break;
            }
        }
        states.push_back(found);
    }
    return states;
}

}  // namespace tessarin
