#include "engine/section/ultimate_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

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

    // The depth runs over (0, infinity); x = depth / (depth + extent) maps it onto (0, 1).
    const SectionSize& size = section_.size();
    const double extent =
        size.h * std::fabs(std::cos(axisAngle)) + size.b * std::fabs(std::sin(axisAngle));
    auto depthOf = [extent](double x) { return x < 1.0 ? extent * x / (1.0 - x) : kInfinity; };
    auto excess = [&](double x) {
        return section_.forcesAt({axisAngle, depthOf(x)}).N - axialForce_;
    };

    double x = kShallowestZone;
    const double excessShallow = excess(x);
    if (excessShallow < 0.0) {
        const double forceTolerance = 1e-10 * std::max(squash_, -tension_);
        x = solveBracketed(excess, {x, excessShallow, 1.0, squash_ - axialForce_},
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
