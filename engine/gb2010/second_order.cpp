#include "engine/gb2010/second_order.h"

#include <algorithm>
#include <cmath>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {

AxisDemand axisDemand(const AxisLoad& load) {
    AxisDemand d;
    d.depth = load.depth;
    d.M2 = load.M2;
    d.m1m2 = load.m1m2;
    d.lc = load.lc;
    d.ea = accidentalEccentricity(load.depth);
    d.a = load.a;
    d.h0 = load.depth - load.a;

    // Screening (6.2.3): the second-order effect may be ignored when M1/M2 <= 0.9,
    // N/(fc A) <= 0.9 and lc/i <= 34 - 12 M1/M2 all hold.
    const double newtons = load.N * 1000.0;
    d.radiusOfGyration = load.depth / std::sqrt(12.0);
    d.slenderness = load.lc / d.radiusOfGyration;
    d.slendernessLimit = 34.0 - 12.0 * load.m1m2;
    d.axialRatio = newtons / (load.fc * load.area);
    d.secondOrderIgnored =
        load.m1m2 <= 0.9 && d.axialRatio <= 0.9 && d.slenderness <= d.slendernessLimit;

    if (d.secondOrderIgnored) {
        // Nothing is magnified: Cm, etaNs and their product stand at 1 and M = M2.
        d.Cm = 1.0;
        d.zetaC = 1.0;
        d.etaNs = 1.0;
        d.CmEtaNs = 1.0;
        d.M = load.M2;
    } else {
        // Cm = 0.7 + 0.3 M1/M2, not below 0.7 (6.2.4-2).
        d.Cm = std::max(0.7, 0.7 + 0.3 * load.m1m2);
        // zetaC = 0.5 fc A / N, at most 1.0, N in newtons (6.2.4-4).
        d.zetaC = std::min(1.0, 0.5 * load.fc * load.area / newtons);
        // etaNs = 1 + (lc/D)^2 zetaC / (1300 (M2/N + ea) / h0), M2/N in mm (6.2.4-3).
        const double e2 = load.M2 * 1e6 / newtons;
        const double slender = load.lc / load.depth;
        d.etaNs = 1.0 + slender * slender * d.zetaC / (1300.0 * (e2 + d.ea) / d.h0);
        // Cm etaNs below 1.0 is taken as 1.0 (6.2.4).
        d.CmEtaNs = std::max(1.0, d.Cm * d.etaNs);
        d.M = d.CmEtaNs * load.M2;
    }
    // e0 = M / N and ei = e0 + ea (6.2.17), mm.
    d.e0 = d.M * 1e6 / newtons;
    d.ei = d.e0 + d.ea;
    return d;
}

CombinationDemand combinationDemand(const LoadCombination& combination, AxisSpan x, AxisSpan y,
                                    double a, double fc, MomentDirections directions) {
    CombinationDemand demand;
    demand.N = combination.N;
    const double area = y.depth * x.depth;  // b h
    const auto onAxis = [&](AxisSpan span, double M2, double m1m2) {
        return axisDemand({combination.N, M2, m1m2, span.lc, span.depth, a, fc, area});
    };
    demand.x = onAxis(x, combination.M2x, combination.m1m2X);
    demand.y = onAxis(y, combination.M2y, combination.m1m2Y);
    // ea acts in the direction of the eccentricity (6.2.5): not across the moment plane of a
    // uniaxial column, which 6.2.15 checks instead.
    const auto momentFree = [](AxisDemand& axis) {
        axis.momentFree = true;
        axis.ea = 0.0;
        axis.ei = axis.e0;
    };
    if (directions == MomentDirections::XOnly) momentFree(demand.y);
    if (directions == MomentDirections::YOnly) momentFree(demand.x);
    demand.axialRatio = demand.x.axialRatio;
    demand.Mx = combination.N * demand.x.ei / 1000.0;
    demand.My = combination.N * demand.y.ei / 1000.0;
    return demand;
}

}  // namespace tessarin
