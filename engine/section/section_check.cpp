#include "engine/section/section_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/section/demand_capacity.h"
#include "engine/section/ultimate_contour.h"

namespace tessarin {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Detailing limits for columns, on the whole section area.
constexpr double kMinimumTotalRatio = 0.006;        // HPB235 and HRB335
constexpr double kMinimumTotalRatioHrb400 = 0.005;  // HRB400 (and code 4, the same steel)
constexpr double kHighStrengthIncrement = 0.001;    // from C60 up
constexpr double kMinimumOneSideRatio = 0.002;
constexpr double kMaximumTotalRatio = 0.05;

// A designed area as the check counts it: a negative (or undefined) area is no steel.
double counted(double area, bool& clamped) {
    if (area >= 0.0) return area;
    clamped = true;
    return 0.0;
}

// Areas of one corner bar and of the web steel of one face of each pair.
struct LayoutAreas {
    double corner = 0.0;
    double webX = 0.0;
    double webY = 0.0;
};

std::vector<CheckedBar> placeBars(const ColumnCalculator& c, const LayoutAreas& areas) {
    const double uc = 0.5 * c.h - c.ax;
    const double vc = 0.5 * c.b - c.ay;
    const double corner = areas.corner;
    std::vector<CheckedBar> bars;
    bars.reserve(16);
    for (const double u : {uc, -uc}) {
        for (const double v : {vc, -vc}) bars.push_back({u, v, corner, BarGroup::Corner});
    }
    // Web bars at the quarter points between the corner bars of their face.
    constexpr std::array<double, 3> kQuarterPoints = {-0.5, 0.0, 0.5};
    for (const double u : {uc, -uc}) {
        for (const double q : kQuarterPoints) {
            bars.push_back({u, q * vc, areas.webX / 3.0, BarGroup::WebX});
        }
    }
    for (const double v : {vc, -vc}) {
        for (const double q : kQuarterPoints) {
            bars.push_back({q * uc, v, areas.webY / 3.0, BarGroup::WebY});
        }
    }
    return bars;
}

}  // namespace

SectionCheck::SectionCheck(const ColumnDesign& design, ConcreteIntegration integration)
    : integration_(integration) {
    record_.restore(design);
}

SectionCheckResult SectionCheck::run(Contour contour) const {
    const ColumnCalculator& c = record_;
    SectionCheckResult r;
    r.b = c.b;
    r.h = c.h;
    r.scheme = c.scheme;
    r.concrete = ConcreteLaw::forGrade({c.concreteGrade, c.fc});
    r.steel = SteelLaw{c.fy, c.Es};
    r.integration = integration_;

    // Layout.
    bool clamped = false;
    double corner = 0.0;
    double webX = 0.0;
    double webY = 0.0;
    if (c.scheme == 2) {
        // Only the face totals are designed; the corner bar is the largest both faces allow.
        corner = counted(std::min((c.Asx - c.Aswx) / 2.0, (c.Asy - c.Aswy) / 2.0), clamped);
        webX = counted(c.Asx - 2.0 * corner, clamped);
        webY = counted(c.Asy - 2.0 * corner, clamped);
    } else {
        corner = counted(c.Asc, clamped);
        webX = counted(c.Aswx, clamped);
        webY = counted(c.Aswy, clamped);
    }
    r.cornerBarArea = corner;
    r.webAreaX = webX;
    r.webAreaY = webY;
    r.negativeAreaClamped = clamped;
    r.bars = placeBars(c, {corner, webX, webY});
    r.totalSteelArea = 4.0 * corner + 2.0 * webX + 2.0 * webY;

    // Ratios on the whole section.
    const double grossArea = c.b * c.h;
    r.totalSteelRatio = r.totalSteelArea / grossArea;
    r.oneSideRatioX = (2.0 * corner + webX) / grossArea;
    r.oneSideRatioY = (2.0 * corner + webY) / grossArea;
    const bool hrb400 = c.steelGrade == 3 || c.steelGrade == 4;
    r.minimumTotalRatio = hrb400 ? kMinimumTotalRatioHrb400 : kMinimumTotalRatio;
    if (c.concreteGrade >= 60.0) r.minimumTotalRatio += kHighStrengthIncrement;
    r.totalRatioBelowMinimum = r.totalSteelRatio < r.minimumTotalRatio;
    r.minimumOneSideRatio = kMinimumOneSideRatio;
    r.maximumTotalRatio = kMaximumTotalRatio;
    r.oneSideRatioBelowMinimum = std::min(r.oneSideRatioX, r.oneSideRatioY) < kMinimumOneSideRatio;
    r.totalRatioAboveMaximum = r.totalSteelRatio > kMaximumTotalRatio;

    // Resistance model.
    std::vector<SectionBar> bars;
    bars.reserve(r.bars.size());
    for (const CheckedBar& bar : r.bars) bars.push_back({bar.u, bar.v, bar.area});
    const SectionResistance section({c.b, c.h}, r.concrete, r.steel, std::move(bars), integration_);

    // Demand in N and N*mm.
    const double axial = c.N * 1000.0;
    const double momentX = axial * (c.etaX * c.eix);
    const double momentY = axial * (c.etaY * c.eiy);
    const double demandDirection =
        (momentX == 0.0 && momentY == 0.0) ? 0.0 : std::atan2(momentY, momentX);
    r.N = c.N;
    r.Mx = momentX / 1e6;
    r.My = momentY / 1e6;
    r.demandDirection = demandDirection / kDegree;

    const double squash = section.squashLoad();
    r.squashLoad = squash / 1000.0;
    r.axialRatio = axial / squash;

    const DemandCapacity capacity = capacityInDemandDirection(section, axial, momentX, momentY);
    if (capacity.axialCapacityExceeded) {
        // At or above N0 (or beyond the bars' tension limit) no moment can be carried.
        r.axialCapacityExceeded = true;
        r.utilisation = std::numeric_limits<double>::infinity();
        return r;
    }
    r.MxR = capacity.MxR / 1e6;
    r.MyR = capacity.MyR / 1e6;
    r.neutralAxisAngle = capacity.plane.axisAngle / kDegree;
    r.compressionDepth = capacity.plane.compressionDepth;
    r.utilisation = capacity.utilisation;
    if (contour == Contour::Skipped) return r;

    std::vector<double> directions;
    directions.reserve(kContourPoints);
    for (int k = 0; k < kContourPoints; ++k) {
        directions.push_back(kContourStepDegrees * static_cast<double>(k) * kDegree);
    }
    const std::vector<UltimateState> states =
        UltimateContour(section, axial).inMomentDirections(directions);
    r.contour.reserve(states.size());
    for (std::size_t k = 0; k < states.size(); ++k) {
        r.contour.push_back({kContourStepDegrees * static_cast<double>(k),
                             states[k].forces.Mx / 1e6, states[k].forces.My / 1e6});
    }
    return r;
}

}  // namespace tessarin
