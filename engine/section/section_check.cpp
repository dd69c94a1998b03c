#include "engine/section/section_check.h"

#include <algorithm>
#include <array>
#include <charconv>
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
        for (const double v : {vc, -vc}) bars.push_back({u, v, corner, BarGroup::corner});
    }
    // Web bars at the quarter points between the corner bars of their face.
    constexpr std::array<double, 3> kQuarterPoints = {-0.5, 0.0, 0.5};
    for (const double u : {uc, -uc}) {
        for (const double q : kQuarterPoints) {
            bars.push_back({u, q * vc, areas.webX / 3.0, BarGroup::webX});
        }
    }
    for (const double v : {vc, -vc}) {
        for (const double q : kQuarterPoints) {
            bars.push_back({q * uc, v, areas.webY / 3.0, BarGroup::webY});
        }
    }
    return bars;
}

std::string fixed(double value, int decimals) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0.0 ? "-∞" : "∞";
    std::array<char, 400> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals);
    return std::string(buffer.data(), end.ptr);
}

std::string percent(double ratio) {
    return fixed(ratio * 100.0, 2) + "%";
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
    if (contour == Contour::skipped) return r;

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

std::string formatSectionCheckSummary(const SectionCheckResult& r) {
    std::string text;
    auto line = [&text](const std::string& content) {
        text += content;
        text += "\n";
    };
    const std::string integration = r.integration.exact
                                        ? "混凝土按条带精确积分"
                                        : "混凝土按 " + std::to_string(r.integration.cellsU) + "×" +
                                              std::to_string(r.integration.cellsV) + " 纤维积分";
    line("截面验算");
    line(
        "计算模型：应变协调法，平截面假定，截面最大受压角点应变达到εcu；混凝土抛物线-矩形应力图"
        "(n=" +
        fixed(r.concrete.n, 3) + "，ε0=" + fixed(r.concrete.eps0, 5) +
        "，εcu=" + fixed(r.concrete.epsCu, 5) +
        ")，不计受拉；钢筋理想弹塑性，扣除钢筋所占混凝土；" + integration);
    line("钢筋布置(mm*mm)：角筋 4×" + fixed(r.cornerBarArea, 2) + "；垂直于X轴两对边腹部各 3×" +
         fixed(r.webAreaX / 3.0, 2) + "；垂直于Y轴两对边腹部各 3×" + fixed(r.webAreaY / 3.0, 2) +
         "；合计 " + fixed(r.totalSteelArea, 2));
    if (r.negativeAreaClamped) line("注意：设计钢筋面积为负值，验算中按0计");
    line("设计内力：N = " + fixed(r.N, 2) + " kN，Mx = " + fixed(r.Mx, 2) +
         " kN.m，My = " + fixed(r.My, 2) + " kN.m");
    line("轴压承载力：N0 = " + fixed(r.squashLoad, 2) + " kN，N/N0 = " + fixed(r.axialRatio, 4));
    if (r.axialCapacityExceeded) {
        line("轴力超过截面轴压承载力，截面不能再承受弯矩：利用率 = ∞，不满足");
    } else {
        line("受弯承载力(同一轴力、同一弯矩方向)：MxR = " + fixed(r.MxR, 2) +
             " kN.m，MyR = " + fixed(r.MyR, 2) + " kN.m");
        line("利用率 |M|/|MR| = " + fixed(r.utilisation, 3) +
             (r.utilisation <= 1.0 ? "，满足" : "，不满足"));
    }
    line("配筋率：全部纵筋 " + percent(r.totalSteelRatio) + "，垂直于X轴一侧 " +
         percent(r.oneSideRatioX) + "，垂直于Y轴一侧 " + percent(r.oneSideRatioY));
    if (r.totalRatioBelowMinimum) {
        line("警告：全部纵筋配筋率小于最小配筋率 " + percent(r.minimumTotalRatio));
    }
    if (r.oneSideRatioBelowMinimum) line("警告：一侧纵筋配筋率小于 0.20%");
    if (r.totalRatioAboveMaximum) line("警告：全部纵筋配筋率大于 5.00%");
    return text;
}

}  // namespace tessarin
