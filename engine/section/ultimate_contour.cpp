#include "engine/section/ultimate_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "engine/section/bracketed_root.h"

namespace tessarin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Neutral-axis directions swept once around the section (every 5 degrees) before each moment
// direction is pinned down between two neighbours.
constexpr int kSweepPlanes = 72;

// Shallowest compression zone tried, as a fraction of the section's extent along the gradient:
// there every bar has long yielded in tension.
constexpr double kShallowestZone = 1e-12;

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
    UltimateState state;
    state.plane.axisAngle = axisAngle;
    if (!(axialForce_ < squash_)) {
        state.plane.compressionDepth = kInfinity;
        state.forces = section_.forcesAt(state.plane);
        return state;
    }

    // The depth runs over (0, infinity); x = depth / (depth + extent) maps it onto (0, 1). With a
    // tensile strain limit it runs on below zero, x = depth / (extent - depth) over (-1, 0), down
    // to the uniform limit strain at -1.
    const SectionSize& size = section_.size();
    const double extent =
        size.h * std::fabs(std::cos(axisAngle)) + size.b * std::fabs(std::sin(axisAngle));
    auto depthOf = [extent](double x) {
        if (x >= 1.0) return kInfinity;
        if (x <= -1.0) return -kInfinity;
        return x >= 0.0 ? extent * x / (1.0 - x) : extent * x / (1.0 + x);
    };
    auto excess = [&](double x) {
        return section_.forcesAt({axisAngle, depthOf(x)}).N - axialForce_;
    };

    const double forceTolerance = 1e-10 * std::max(squash_, -tension_);
    double x = kShallowestZone;
    const double excessShallow = excess(x);
    if (excessShallow < 0.0) {
        x = solveBracketed(excess, {x, excessShallow, 1.0, squash_ - axialForce_},
                           {1e-15, forceTolerance});
    } else if (section_.tensionLimited() && axialForce_ > tension_) {
        // The whole section in tension: the neutral axis beyond the corner.
        x = solveBracketed(excess, {-1.0, tension_ - axialForce_, x, excessShallow},
                           {1e-15, forceTolerance});
    }
    state.plane.compressionDepth = depthOf(x);
    state.forces = section_.forcesAt(state.plane);
    return state;
}

std::vector<UltimateState> UltimateContour::inMomentDirections(
    std::span<const double> directions) const {
    std::vector<UltimateState> states;
    if (!reachable()) return states;

    // Sweep the neutral axis around the section once; the moment turns with it.
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
