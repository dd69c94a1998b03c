#include "section_resistance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Strain planes swept once around the section (every 5 degrees) before each moment direction is
// pinned down between two neighbours.
constexpr int kSweepPlanes = 72;

// Shallowest compression zone tried, as a fraction of the section's extent along the gradient:
// there every bar has long yielded, so the axial force is the bars' tension limit.
constexpr double kShallowestZone = 1e-12;

// Root of f between lo and hi, where f(lo) and f(hi) have opposite signs: regula falsi with the
// Illinois halving, which keeps the bracket and converges superlinearly on the smooth pieces of
// the resultants (and never worse than bisection at their kinks, where a bar yields).
template <class F>
double solveBracketed(F&& f, double lo, double flo, double hi, double fhi, double xTolerance,
                      double fTolerance) {
    constexpr int kMaxIterations = 200;
    int keptSide = 0;
    double x = 0.5 * (lo + hi);
    for (int i = 0; i < kMaxIterations; ++i) {
        x = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        const double fx = f(x);
        if (std::fabs(fx) <= fTolerance) return x;
        if ((fx < 0.0) == (flo < 0.0)) {
            lo = x;
            flo = fx;
            if (keptSide == 1) fhi *= 0.5;
            keptSide = 1;
        } else {
            hi = x;
            fhi = fx;
            if (keptSide == -1) flo *= 0.5;
            keptSide = -1;
        }
        if (hi - lo <= xTolerance) break;
    }
    return x;
}

// Direction cosines of the strain gradient, with the directions along an edge made exact so that
// an axis parallel to an edge meets the section as a band of constant width.
std::pair<double, double> gradientCosines(double axisAngle) {
    double c = std::cos(axisAngle);
    double s = std::sin(axisAngle);
    if (std::fabs(c) < 1e-14) c = 0.0;
    if (std::fabs(s) < 1e-14) s = 0.0;
    return {c, s};
}

// Where the line s = const (s along the gradient) crosses the rectangle |u| <= halfH,
// |v| <= halfB, as an interval of r (along the neutral axis): u = s cos - r sin, v = s sin + r cos.
struct Chord {
    double lo = 0.0;
    double hi = 0.0;
};

Chord chordAt(double s, double cosA, double sinA, double halfH, double halfB) {
    double lo = -kInfinity;
    double hi = kInfinity;
    if (sinA != 0.0) {
        const double r1 = (s * cosA - halfH) / sinA;
        const double r2 = (s * cosA + halfH) / sinA;
        lo = std::max(lo, std::min(r1, r2));
        hi = std::min(hi, std::max(r1, r2));
    } else if (std::fabs(s * cosA) > halfH) {
        return {};
    }
    if (cosA != 0.0) {
        const double r1 = (-halfB - s * sinA) / cosA;
        const double r2 = (halfB - s * sinA) / cosA;
        lo = std::max(lo, std::min(r1, r2));
        hi = std::min(hi, std::max(r1, r2));
    } else if (std::fabs(s * sinA) > halfB) {
        return {};
    }
    if (!(hi > lo)) return {};
    return {lo, hi};
}

// A linear function of s written as alpha + beta t, where s = sPeak - lambda t.
struct LinearInT {
    double alpha = 0.0;
    double beta = 0.0;
};

LinearInT toT(double valueA, double valueB, double sa, double sb, double sPeak, double lambda) {
    const double slope = (valueB - valueA) / (sb - sa);
    return {valueA + slope * (sPeak - sa), -slope * lambda};
}

// Integral over t in [tb, ta] of t^n (q0 + q1 t + q2 t^2).
double powerMoment(double n, const std::array<double, 3>& q, double ta, double tb) {
    double sum = 0.0;
    double powA = std::pow(ta, n + 1.0);
    double powB = std::pow(tb, n + 1.0);
    for (int j = 0; j < 3; ++j) {
        const double k = n + 1.0 + static_cast<double>(j);
        sum += q[static_cast<std::size_t>(j)] * (powA - powB) / k;
        powA *= ta;
        powB *= tb;
    }
    return sum;
}

}  // namespace

ConcreteLaw ConcreteLaw::forGrade(double gradeNumber, double fcDesign) {
    ConcreteLaw law;
    law.fc = fcDesign;
    const double above50 = gradeNumber - 50.0;
    law.n = std::min(2.0, 2.0 - above50 / 60.0);
    law.eps0 = std::max(0.002, 0.002 + 0.5 * above50 * 1e-5);
    law.epsCu = std::min(0.0033, 0.0033 - above50 * 1e-5);
    return law;
}

double ConcreteLaw::stress(double strain) const {
    if (!(strain > 0.0)) return 0.0;
    if (strain >= eps0) return fc;
    return fc * (1.0 - std::pow(1.0 - strain / eps0, n));
}

double SteelLaw::stress(double strain) const {
    return std::clamp(Es * strain, -fy, fy);
}

SectionResistance::SectionResistance(double width, double height, ConcreteLaw concrete,
                                     SteelLaw steel, std::vector<SectionBar> bars,
                                     ConcreteIntegration integration)
    : width_(width),
      height_(height),
      concrete_(concrete),
      steel_(steel),
      bars_(std::move(bars)),
      integration_(integration) {}

SectionResistance::StripResultants SectionResistance::concreteExact(double cosA, double sinA,
                                                                    double extreme,
                                                                    double curvature) const {
    StripResultants sum;
    const double halfH = 0.5 * height_;
    const double halfB = 0.5 * width_;
    const double epsCu = concrete_.epsCu;
    const double eps0 = concrete_.eps0;
    const double fc = concrete_.fc;
    if (curvature == 0.0) {
        // Uniform strain epsCu: the whole rectangle at one stress, resultant at the centroid.
        sum.force = concrete_.stress(epsCu) * width_ * height_;
        return sum;
    }

    const double sZero = extreme - epsCu / curvature;           // strain 0: the neutral axis
    const double sPeak = extreme - (epsCu - eps0) / curvature;  // strain eps0: fc reached
    const double lambda = eps0 / curvature;  // distance over which the parabola rises
    auto strainAt = [&](double s) { return epsCu - curvature * (extreme - s); };

    // Break points: the corners (the chord width changes slope) and the two stress boundaries.
    std::array<double, 6> breaks = {halfH * cosA + halfB * sinA, halfH * cosA - halfB * sinA,
                                    -halfH * cosA + halfB * sinA, -halfH * cosA - halfB * sinA,
                                    sZero, sPeak};
    for (double& s : breaks) s = std::clamp(s, -extreme, extreme);
    std::sort(breaks.begin(), breaks.end());

    const double tinyPiece = 1e-9 * (2.0 * extreme);
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double sa = breaks[i];
        const double sb = breaks[i + 1];
        if (!(sb > sa)) continue;
        const double sm = 0.5 * (sa + sb);
        const double strainMid = strainAt(sm);
        if (!(strainMid > 0.0)) continue;

        // Within a piece the chord ends move linearly with s. They are taken at the quarter
        // points, where the chord is never degenerate (at an outer corner it shrinks to a point
        // and its middle is not defined by the clipping), and carried to the ends and the middle.
        const Chord c1 = chordAt(sa + 0.25 * (sb - sa), cosA, sinA, halfH, halfB);
        const Chord c3 = chordAt(sb - 0.25 * (sb - sa), cosA, sinA, halfH, halfB);
        const double w1 = c1.hi - c1.lo;
        const double w3 = c3.hi - c3.lo;
        const double m1 = 0.5 * (c1.hi + c1.lo);
        const double m3 = 0.5 * (c3.hi + c3.lo);
        const double wa = std::max(0.0, 1.5 * w1 - 0.5 * w3);
        const double wb = std::max(0.0, 1.5 * w3 - 0.5 * w1);
        const double wm = 0.5 * (w1 + w3);
        const double ma = 1.5 * m1 - 0.5 * m3;
        const double mb = 1.5 * m3 - 0.5 * m1;
        const double mm = 0.5 * (m1 + m3);

        // Width, first moment about the neutral-axis direction and about the gradient: at most
        // quadratic in s, so Simpson's rule integrates them exactly.
        const double step = (sb - sa) / 6.0;
        const double area = step * (wa + 4.0 * wm + wb);
        const double firstS = step * (wa * sa + 4.0 * wm * sm + wb * sb);
        const double firstR = step * (wa * ma + 4.0 * wm * mm + wb * mb);

        if (strainMid >= eps0) {
            sum.force += fc * area;
            sum.momentS += fc * firstS;
            sum.momentR += fc * firstR;
            continue;
        }
        if (sb - sa < tinyPiece) {
            // A sliver: Simpson on the stress itself is exact far below the tolerances.
            const double qa = concrete_.stress(strainAt(sa));
            const double qm = concrete_.stress(strainMid);
            const double qb = concrete_.stress(strainAt(sb));
            sum.force += step * (qa * wa + 4.0 * qm * wm + qb * wb);
            sum.momentS += step * (qa * wa * sa + 4.0 * qm * wm * sm + qb * wb * sb);
            sum.momentR += step * (qa * wa * ma + 4.0 * qm * wm * mm + qb * wb * mb);
            continue;
        }

        // Rising branch: sigma = fc (1 - t^n) with t = 1 - strain/eps0 = (sPeak - s) / lambda.
        // The polynomial part is done above; the t^n part integrates in closed form once the
        // width and the moment arms are written as polynomials in t.
        const double ta = std::clamp((sPeak - sa) / lambda, 0.0, 1.0);
        const double tb = std::clamp((sPeak - sb) / lambda, 0.0, 1.0);
        const LinearInT w = toT(wa, wb, sa, sb, sPeak, lambda);
        const LinearInT m = toT(ma, mb, sa, sb, sPeak, lambda);
        const LinearInT s = {sPeak, -lambda};
        const std::array<double, 3> qWidth = {w.alpha, w.beta, 0.0};
        const std::array<double, 3> qS = {w.alpha * s.alpha, w.alpha * s.beta + w.beta * s.alpha,
                                          w.beta * s.beta};
        const std::array<double, 3> qR = {w.alpha * m.alpha, w.alpha * m.beta + w.beta * m.alpha,
                                          w.beta * m.beta};
        const double n = concrete_.n;
        // ds = -lambda dt: the integral over s from sa to sb is lambda times the one over t from
        // tb to ta.
        sum.force += fc * (area - lambda * powerMoment(n, qWidth, ta, tb));
        sum.momentS += fc * (firstS - lambda * powerMoment(n, qS, ta, tb));
        sum.momentR += fc * (firstR - lambda * powerMoment(n, qR, ta, tb));
    }
    return sum;
}

SectionForces SectionResistance::concreteFibres(double cosA, double sinA, double extreme,
                                                double curvature) const {
    SectionForces sum;
    const int cellsU = std::max(1, integration_.cellsU);
    const int cellsV = std::max(1, integration_.cellsV);
    const double du = height_ / static_cast<double>(cellsU);
    const double dv = width_ / static_cast<double>(cellsV);
    const double cellArea = du * dv;
    for (int i = 0; i < cellsU; ++i) {
        const double u = -0.5 * height_ + (static_cast<double>(i) + 0.5) * du;
        for (int j = 0; j < cellsV; ++j) {
            const double v = -0.5 * width_ + (static_cast<double>(j) + 0.5) * dv;
            const double strain = concrete_.epsCu - curvature * (extreme - (u * cosA + v * sinA));
            const double force = concrete_.stress(strain) * cellArea;
            sum.N += force;
            sum.Mx += force * u;
            sum.My += force * v;
        }
    }
    return sum;
}

SectionForces SectionResistance::forcesAt(double axisAngle, double compressionDepth) const {
    const auto [cosA, sinA] = gradientCosines(axisAngle);
    // Distance along the gradient from the centroid to the most compressed corner.
    const double extreme = 0.5 * height_ * std::fabs(cosA) + 0.5 * width_ * std::fabs(sinA);
    const double curvature =
        std::isinf(compressionDepth) ? 0.0 : concrete_.epsCu / compressionDepth;

    SectionForces total;
    if (integration_.exact) {
        const StripResultants strips = concreteExact(cosA, sinA, extreme, curvature);
        total.N = strips.force;
        total.Mx = cosA * strips.momentS - sinA * strips.momentR;
        total.My = sinA * strips.momentS + cosA * strips.momentR;
    } else {
        total = concreteFibres(cosA, sinA, extreme, curvature);
    }

    for (const SectionBar& bar : bars_) {
        const double strain = concrete_.epsCu - curvature * (extreme - (bar.u * cosA + bar.v * sinA));
        const double force = bar.area * (steel_.stress(strain) - concrete_.stress(strain));
        total.N += force;
        total.Mx += force * bar.u;
        total.My += force * bar.v;
    }
    return total;
}

double SectionResistance::squashLoad() const { return forcesAt(0.0, kInfinity).N; }

double SectionResistance::tensionLimit() const {
    double area = 0.0;
    for (const SectionBar& bar : bars_) area += bar.area;
    return -steel_.fy * area;
}

bool SectionResistance::solveDepth(double axisAngle, double axialForce,
                                   UltimateState& state) const {
    state.axisAngle = axisAngle;
    const double squash = squashLoad();
    if (axialForce > squash || !(axialForce > tensionLimit())) return false;
    if (axialForce == squash) {
        state.compressionDepth = kInfinity;
        state.forces = forcesAt(axisAngle, kInfinity);
        return true;
    }

    // The depth runs over (0, infinity); x = depth / (depth + extent) maps it onto (0, 1), and the
    // axial force grows monotonically with it (every fibre's strain grows, and both laws rise).
    const auto [cosA, sinA] = gradientCosines(axisAngle);
    const double extent = height_ * std::fabs(cosA) + width_ * std::fabs(sinA);
    auto depthOf = [extent](double x) { return x < 1.0 ? extent * x / (1.0 - x) : kInfinity; };
    auto excess = [&](double x) { return forcesAt(axisAngle, depthOf(x)).N - axialForce; };

    const double lo = kShallowestZone;
    const double excessLo = excess(lo);
    double x = lo;
    if (excessLo < 0.0) {
        const double fTolerance = 1e-10 * std::max(squash, -tensionLimit());
        x = solveBracketed(excess, lo, excessLo, 1.0, squash - axialForce, 1e-15, fTolerance);
    }
    state.compressionDepth = depthOf(x);
    state.forces = forcesAt(axisAngle, state.compressionDepth);
    return true;
}

double SectionResistance::momentDirectionAt(double axisAngle, double axialForce,
                                            UltimateState& state) const {
    solveDepth(axisAngle, axialForce, state);
    return std::atan2(state.forces.My, state.forces.Mx);
}

std::vector<UltimateState> SectionResistance::ultimateMoments(
    double axialForce, std::span<const double> momentDirections) const {
    std::vector<UltimateState> states;
    if (!(axialForce < squashLoad()) || !(axialForce > tensionLimit())) return states;

    // Sweep the gradient around the section once; the moment direction turns with it.
    const double sweepStep = kTwoPi / kSweepPlanes;
    std::vector<UltimateState> sweep(kSweepPlanes);
    std::vector<double> sweepDirection(kSweepPlanes);
    for (int k = 0; k < kSweepPlanes; ++k) {
        const auto index = static_cast<std::size_t>(k);
        sweepDirection[index] =
            momentDirectionAt(sweepStep * static_cast<double>(k), axialForce, sweep[index]);
    }

    states.reserve(momentDirections.size());
    for (const double target : momentDirections) {
        auto offset = [&](double direction) { return std::remainder(direction - target, kTwoPi); };
        UltimateState found = sweep.front();
        double closest = kInfinity;
        bool bracketed = false;
        for (std::size_t k = 0; k < sweep.size() && !bracketed; ++k) {
            const std::size_t next = (k + 1) % sweep.size();
            const double before = offset(sweepDirection[k]);
            const double after = offset(sweepDirection[next]);
            if (std::fabs(before) < closest) {
                closest = std::fabs(before);
                found = sweep[k];
            }
            if (before == 0.0) {
                bracketed = true;
            } else if (before < 0.0 && after >= 0.0 && after - before < std::numbers::pi) {
                const double angleLo = sweepStep * static_cast<double>(k);
                UltimateState trial;
                auto miss = [&](double angle) {
                    return offset(momentDirectionAt(angle, axialForce, trial));
                };
                const double angle = solveBracketed(miss, angleLo, before, angleLo + sweepStep,
                                                    after, 1e-13, 1e-12);
                solveDepth(angle, axialForce, found);
                bracketed = true;
            }
        }
        states.push_back(found);
    }
    return states;
}
