#include "engine/gb2010/moment_bound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/section/bracketed_root.h"

namespace tessarin {

namespace {

struct Point {
    double u = 0.0;
    double v = 0.0;
};

// Area of the part of the rectangle where w > t, and the integral of (w - t) over it: the
// rectangle clipped by the half-plane, then the shoelace area and centroid of the clipped polygon
// (w - t is linear, so its integral is the area times its value at the centroid).
struct ClippedPart {
    double area = 0.0;
    double excess = 0.0;
};

ClippedPart clipAbove(const SectionSize& size, double c, double s, double t) {
    const double hu = size.h / 2.0;
    const double hv = size.b / 2.0;
    const std::array<Point, 4> corners = {{{hu, hv}, {-hu, hv}, {-hu, -hv}, {hu, -hv}}};
    std::array<Point, 8> kept{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point& p = corners[i];
        const Point& q = corners[(i + 1) % corners.size()];
        const double gp = p.u * c + p.v * s - t;
        const double gq = q.u * c + q.v * s - t;
        if (gp > 0.0) kept[n++] = p;
        if ((gp > 0.0) != (gq > 0.0)) {
            const double k = gp / (gp - gq);
            kept[n++] = {p.u + k * (q.u - p.u), p.v + k * (q.v - p.v)};
        }
    }
    if (n < 3) return {};
    double twiceArea = 0.0;
    double cu = 0.0;
    double cv = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = kept[i];
        const Point& q = kept[(i + 1) % n];
        const double cross = p.u * q.v - q.u * p.v;
        twiceArea += cross;
        cu += (p.u + q.u) * cross;
        cv += (p.v + q.v) * cross;
    }
    if (twiceArea == 0.0) return {};
    const double area = twiceArea / 2.0;
    const double centroidU = cu / (3.0 * twiceArea);
    const double centroidV = cv / (3.0 * twiceArea);
    return {area, area * (centroidU * c + centroidV * s - t)};
}

}  // namespace

double momentUpperBound(const SectionSize& size, double fc, double fy,
                        std::span<const SectionBar> bars, double N, double c, double s) {
    // w over the rectangle runs between -wCorner and +wCorner.
    const double wCorner = std::abs(c) * size.h / 2.0 + std::abs(s) * size.b / 2.0;
    double steel = 0.0;
    for (const SectionBar& bar : bars) steel += bar.area;
    const double gross = size.b * size.h;
    // The axial force of the field at threshold t: fc on w > t, +fy above, -fy below. Beyond the
    // extreme forces no field carries N.
    if (!(N <= fc * gross + fy * steel) || !(N >= -fy * steel)) {
        return -std::numeric_limits<double>::infinity();
    }
    // The bars' lever arms, taken once for every threshold tried.
    std::vector<double> arms(bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) arms[i] = bars[i].u * c + bars[i].v * s;
    const auto axialAbove = [&](double t) {
        double force = fc * clipAbove(size, c, s, t).area;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            force += (arms[i] > t ? fy : -fy) * bars[i].area;
        }
        return force;
    };
    // The force falls as t rises (with a step at each bar); the threshold that carries N is
    // found within its bracket. Any threshold gives a bound, and near the best one the bound
    // changes little: t to 1e-5 of the section's reach leaves it a fraction of a per mille above
    // its least value.
    const Bracket range{-wCorner, fc * gross + fy * steel - N, wCorner, -fy * steel - N};
    const double t = range.valueLo <= 0.0 ? -wCorner
                     : range.valueHi >= 0.0
                         ? wCorner
                         : solveBracketed([&](double x) { return axialAbove(x) - N; }, range,
                                          {1e-5 * wCorner, 0.0});
    double bound = fc * clipAbove(size, c, s, t).excess + t * N;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bound += fy * std::abs(arms[i] - t) * bars[i].area;
    }
    return bound;
}

}  // namespace tessarin
