#include "engine/section/section_resistance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace tessarin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A piece of the rising branch shorter than this fraction of the branch's length is a sliver.
constexpr double kSliver = 1e-3;

// Three-point Gauss-Legendre rule on [-1, 1]: offsets and weights.
constexpr std::array<std::pair<double, double>, 3> kGauss3 = {
    {{-0.7745966692414834, 5.0 / 9.0}, {0.0, 8.0 / 9.0}, {0.7745966692414834, 5.0 / 9.0}}};

// A linear function of s written as alpha + beta t, where s = sPeak - lambda t.
struct LinearInT {
    double alpha = 0.0;
    double beta = 0.0;
};

// A piece [sa, sb] of the rising branch, where t = (sPeak - s) / lambda = 1 - strain/eps0 runs
// from ta down to tb.
struct RisingPiece {
    double sa = 0.0;
    double sb = 0.0;
    double sPeak = 0.0;
    double lambda = 0.0;
    double ta = 0.0;
    double tb = 0.0;
};

// Values of a linear function at the two ends of a piece.
struct EndValues {
    double atA = 0.0;
    double atB = 0.0;
};

LinearInT toT(EndValues values, const RisingPiece& piece) {
    const double slope = (values.atB - values.atA) / (piece.sb - piece.sa);
    return {values.atA + slope * (piece.sPeak - piece.sa), -slope * piece.lambda};
}

// Product of two linear functions of t, as coefficients of 1, t, t^2.
std::array<double, 3> product(LinearInT f, LinearInT g) {
    return {f.alpha * g.alpha, f.alpha * g.beta + f.beta * g.alpha, f.beta * g.beta};
}

// Integral over t in [tb, ta] of t^n (q0 + q1 t + q2 t^2).
double powerMoment(double n, const std::array<double, 3>& q, const RisingPiece& piece) {
    double sum = 0.0;
    // The classic exponent 2 (up to C50) needs no pow.
    double powA = n == 2.0 ? piece.ta * piece.ta * piece.ta : std::pow(piece.ta, n + 1.0);
    double powB = n == 2.0 ? piece.tb * piece.tb * piece.tb : std::pow(piece.tb, n + 1.0);
    for (std::size_t j = 0; j < q.size(); ++j) {
        sum += q[j] * (powA - powB) / (n + 1.0 + static_cast<double>(j));
        powA *= piece.ta;
        powB *= piece.tb;
    }
    return sum;
}

}  // namespace

ConcreteLaw::Formulas ConcreteLaw::formulas(double gradeNumber) {
    const double above50 = gradeNumber - 50.0;
    return {2.0 - above50 / 60.0, 0.002 + 0.5 * above50 * 1e-5, 0.0033 - above50 * 1e-5};
}

ConcreteLaw ConcreteLaw::forGrade(const ConcreteGrade& grade) {
    const Formulas raw = formulas(grade.number);
    ConcreteLaw law;
    law.fc = grade.fc;
    law.n = std::min(2.0, raw.n);
    law.eps0 = std::max(0.002, raw.eps0);
    law.epsCu = std::min(0.0033, raw.epsCu);
    return law;
}

double ConcreteLaw::stress(double strain) const {
    if (!(strain > 0.0)) return 0.0;
    if (strain >= eps0) return fc;
    // The classic exponent 2 (up to C50) needs no pow, as in powerMoment.
    const double rest = 1.0 - strain / eps0;
    return fc * (1.0 - (n == 2.0 ? rest * rest : std::pow(rest, n)));
}

double SteelLaw::stress(double strain) const {
    return std::clamp(Es * strain, -fy, fy);
}

SectionResistance::SectionResistance(SectionSize size, ConcreteLaw concrete, SteelLaw steel,
                                     std::vector<SectionBar> bars, ConcreteIntegration integration)
    : size_(size),
      concrete_(concrete),
      steel_(steel),
      bars_(std::move(bars)),
      integration_(integration),
      tensionLimited_(steel_.ultimateTensileStrain > 0.0 && std::isfinite(lowestBar(1.0, 0.0))) {}

double SectionResistance::lowestBar(double cosA, double sinA) const {
    double lowest = kInfinity;
    for (const SectionBar& bar : bars_) {
        if (bar.area > 0.0) lowest = std::min(lowest, bar.u * cosA + bar.v * sinA);
    }
    return lowest;
}

SectionResistance::PlaneFrame SectionResistance::frameOf(const StrainPlane& plane) const {
    PlaneFrame frame;
    frame.cosA = std::cos(plane.axisAngle);
    frame.sinA = std::sin(plane.axisAngle);
    // Directions along an edge are made exact, so that such an axis cuts a band of even width.
    if (std::fabs(frame.cosA) < 1e-14) frame.cosA = 0.0;
    if (std::fabs(frame.sinA) < 1e-14) frame.sinA = 0.0;
    frame.extreme = 0.5 * size_.h * std::fabs(frame.cosA) + 0.5 * size_.b * std::fabs(frame.sinA);
    const double depth = plane.compressionDepth;
    frame.top = concrete_.epsCu;
    frame.curvature = std::isinf(depth) ? 0.0 : concrete_.epsCu / depth;
    if (!tensionLimited()) return frame;

    const double limit = steel_.ultimateTensileStrain;
    if (std::isinf(depth)) {
        if (depth < 0.0) frame.top = -limit;  // uniform tension at the limit
        return frame;
    }
    // The extreme tension bar lies reach = extreme - s below the corner; with the corner at epsCu
    // its strain is epsCu (depth - reach) / depth. Beyond the limit (or with no compressed zone
    // at all) the plane turns about the neutral axis until the bar is at the limit.
    const double reach = frame.extreme - lowestBar(frame.cosA, frame.sinA);
    const double arm = reach - depth;  // from the neutral axis down to the bar
    if (depth > 0.0 && concrete_.epsCu * arm <= limit * depth) return frame;
    if (!(arm > 0.0)) {
        frame.top = -limit;
        frame.curvature = 0.0;
        return frame;
    }
    frame.curvature = limit / arm;
    frame.top = frame.curvature * depth;
    return frame;
}

bool SectionResistance::tensionLimited() const {
    return tensionLimited_;
}

SectionResistance::PlaneStrains SectionResistance::strainsAt(const StrainPlane& plane) const {
    const PlaneFrame frame = frameOf(plane);
    const double lowest = lowestBar(frame.cosA, frame.sinA);
    return {frame.top, std::isfinite(lowest) ? frame.strainAt(lowest) : frame.top};
}

// With u = s cos - r sin and v = s sin + r cos, each pair of edges bounds r on the line.
SectionResistance::Chord SectionResistance::chordAt(double s, const PlaneFrame& frame) const {
    const double halfH = 0.5 * size_.h;
    const double halfB = 0.5 * size_.b;
    double lo = -kInfinity;
    double hi = kInfinity;
    if (frame.sinA != 0.0) {
        const double r1 = (s * frame.cosA - halfH) / frame.sinA;
        const double r2 = (s * frame.cosA + halfH) / frame.sinA;
        lo = std::max(lo, std::min(r1, r2));
        hi = std::min(hi, std::max(r1, r2));
    } else if (std::fabs(s * frame.cosA) > halfH) {
        return {};
    }
    if (frame.cosA != 0.0) {
        const double r1 = (-halfB - s * frame.sinA) / frame.cosA;
        const double r2 = (halfB - s * frame.sinA) / frame.cosA;
        lo = std::max(lo, std::min(r1, r2));
        hi = std::min(hi, std::max(r1, r2));
    } else if (std::fabs(s * frame.sinA) > halfB) {
        return {};
    }
    if (!(hi > lo)) return {};
    return {lo, hi};
}

SectionResistance::StripResultants SectionResistance::concreteExact(const PlaneFrame& frame) const {
    StripResultants sum;
    const double top = frame.top;
    const double eps0 = concrete_.eps0;
    const double fc = concrete_.fc;
    if (frame.curvature == 0.0) {
        // Uniform strain: the whole rectangle at one stress, resultant at the centroid.
        sum.force = concrete_.stress(top) * size_.b * size_.h;
        return sum;
    }
    if (!(top > 0.0)) return sum;  // the whole section in tension

    const double extreme = frame.extreme;
    const double sZero = extreme - top / frame.curvature;           // the neutral axis
    const double sPeak = extreme - (top - eps0) / frame.curvature;  // strain eps0: fc reached
    const double lambda = eps0 / frame.curvature;  // length over which the parabola rises
    const double halfH = 0.5 * size_.h;
    const double halfB = 0.5 * size_.b;
    const double cosA = frame.cosA;
    const double sinA = frame.sinA;

    // Break points: the corners (the chord width changes slope) and the two stress boundaries.
    std::array<double, 6> breaks = {halfH * cosA + halfB * sinA,
                                    halfH * cosA - halfB * sinA,
                                    -halfH * cosA + halfB * sinA,
                                    -halfH * cosA - halfB * sinA,
                                    sZero,
                                    sPeak};
    for (double& s : breaks) s = std::clamp(s, -extreme, extreme);
    std::sort(breaks.begin(), breaks.end());

    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double sa = breaks[i];
        const double sb = breaks[i + 1];
        if (!(sb > sa)) continue;
        const double sm = 0.5 * (sa + sb);
        const double strainMid = frame.strainAt(sm);
        if (!(strainMid > 0.0)) continue;

        // Within a piece the chord ends move linearly with s. They are taken at the quarter
        // points, where the chord is never degenerate (at an outer corner it shrinks to a point
        // whose position the clipping does not give), and carried to the ends and the middle.
        const Chord c1 = chordAt(sa + 0.25 * (sb - sa), frame);
        const Chord c3 = chordAt(sb - 0.25 * (sb - sa), frame);
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

        // Width and its first moments along s and r: at most quadratic in s, so Simpson's rule
        // integrates them exactly.
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
        if (sb - sa < kSliver * lambda) {
            // A sliver of the rising branch (the axis nearly parallel to an edge puts two corners
            // a hair apart): the closed form below would divide by its width, so Gauss-Legendre
            // on the stress itself, exact for n = 2 and far below the tolerances otherwise.
            for (const auto& [offset, weight] : kGauss3) {
                const double sg = sm + offset * 0.5 * (sb - sa);
                const double wg = wm + offset * 0.5 * (wb - wa);
                const double mg = mm + offset * 0.5 * (mb - ma);
                const double f =
                    weight * 0.5 * (sb - sa) * concrete_.stress(frame.strainAt(sg)) * wg;
                sum.force += f;
                sum.momentS += f * sg;
                sum.momentR += f * mg;
            }
            continue;
        }

        // Rising branch: sigma = fc (1 - t^n). The polynomial part is done above; the t^n part
        // integrates in closed form once the width and the arms are polynomials in t.
        RisingPiece piece{sa, sb, sPeak, lambda, 0.0, 0.0};
        piece.ta = std::clamp((sPeak - sa) / lambda, 0.0, 1.0);
        piece.tb = std::clamp((sPeak - sb) / lambda, 0.0, 1.0);
        const LinearInT w = toT({wa, wb}, piece);
        const LinearInT m = toT({ma, mb}, piece);
        const LinearInT s = {sPeak, -lambda};
        const double n = concrete_.n;
        // ds = -lambda dt: the integral over s from sa to sb is lambda times that over t from tb
        // to ta.
        sum.force += fc * (area - lambda * powerMoment(n, {w.alpha, w.beta, 0.0}, piece));
        sum.momentS += fc * (firstS - lambda * powerMoment(n, product(w, s), piece));
        sum.momentR += fc * (firstR - lambda * powerMoment(n, product(w, m), piece));
    }
    return sum;
}

SectionForces SectionResistance::concreteFibres(const PlaneFrame& frame) const {
    SectionForces sum;
    const int cellsU = std::max(1, integration_.cellsU);
    const int cellsV = std::max(1, integration_.cellsV);
    const double du = size_.h / static_cast<double>(cellsU);
    const double dv = size_.b / static_cast<double>(cellsV);
    const double cellArea = du * dv;
    for (int i = 0; i < cellsU; ++i) {
        const double u = -0.5 * size_.h + (static_cast<double>(i) + 0.5) * du;
        for (int j = 0; j < cellsV; ++j) {
            const double v = -0.5 * size_.b + (static_cast<double>(j) + 0.5) * dv;
            const double strain = frame.strainAt(u * frame.cosA + v * frame.sinA);
            const double force = concrete_.stress(strain) * cellArea;
            sum.N += force;
            sum.Mx += force * u;
            sum.My += force * v;
        }
    }
    return sum;
}

SectionForces SectionResistance::forcesAt(const StrainPlane& plane) const {
    const PlaneFrame frame = frameOf(plane);
    SectionForces total;
    if (integration_.exact) {
        const StripResultants strips = concreteExact(frame);
        total.N = strips.force;
        total.Mx = frame.cosA * strips.momentS - frame.sinA * strips.momentR;
        total.My = frame.sinA * strips.momentS + frame.cosA * strips.momentR;
    } else {
        total = concreteFibres(frame);
    }

    for (const SectionBar& bar : bars_) {
        const double strain = frame.strainAt(bar.u * frame.cosA + bar.v * frame.sinA);
        const double force = bar.area * (steel_.stress(strain) - concrete_.stress(strain));
        total.N += force;
        total.Mx += force * bar.u;
        total.My += force * bar.v;
    }
    return total;
}

double SectionResistance::squashLoad() const {
    return forcesAt({0.0, kInfinity}).N;
}

double SectionResistance::tensionLimit() const {
    double area = 0.0;
    for (const SectionBar& bar : bars_) area += bar.area;
    if (!tensionLimited()) return -steel_.fy * area;
    return area * steel_.stress(-steel_.ultimateTensileStrain);
}

}  // namespace tessarin
