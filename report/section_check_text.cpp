#include "report/section_check_text.h"

#include <array>
#include <cmath>

#include "text/number_text.h"

namespace tessarin {

namespace {

// The one table of the check's findings: the command line, the dialog and batch read it.
constexpr std::array<SectionCheckFinding, 5> kFindings = {{
    {"axialCapacityExceeded", FindingPlace::Capacity, &SectionCheckResult::axialCapacityExceeded,
     &SectionCheckResult::squashLoad, false, "轴力超过截面轴压承载力，截面不能再承受弯矩"},
    {"negativeAreaClamped", FindingPlace::Note, &SectionCheckResult::negativeAreaClamped, nullptr,
     false, "注意：设计钢筋面积为负值，验算中按0计"},
    {"totalRatioBelowMinimum", FindingPlace::Warning, &SectionCheckResult::totalRatioBelowMinimum,
     &SectionCheckResult::minimumTotalRatio, true, "警告：全部纵筋配筋率小于最小配筋率 "},
    {"oneSideRatioBelowMinimum", FindingPlace::Warning,
     &SectionCheckResult::oneSideRatioBelowMinimum, &SectionCheckResult::minimumOneSideRatio, true,
     "警告：一侧纵筋配筋率小于 "},
    {"totalRatioAboveMaximum", FindingPlace::Warning, &SectionCheckResult::totalRatioAboveMaximum,
     &SectionCheckResult::maximumTotalRatio, true, "警告：全部纵筋配筋率大于 "},
}};

// Fixed decimals; an infinite or undefined figure spelled as the engineer reads it.
std::string fixed(double value, int decimals) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0.0 ? "-∞" : "∞";
    return formatDecimals(value, decimals);
}

}  // namespace

std::span<const SectionCheckFinding> sectionCheckFindings() {
    return kFindings;
}

std::string ratioPercent(double ratio) {
    return fixed(ratio * 100.0, 2) + "%";
}

std::string findingText(const SectionCheckFinding& finding, const SectionCheckResult& result) {
    std::string text = finding.text;
    if (finding.showLimit && finding.limit != nullptr) text += ratioPercent(result.*finding.limit);
    return text;
}

std::string sectionCheckFlags(const SectionCheckResult& result) {
    std::string flags;
    for (const SectionCheckFinding& finding : kFindings) {
        if (!(result.*finding.flag)) continue;
        if (!flags.empty()) flags += ';';
        flags += finding.name;
    }
    return flags;
}

std::string formatSectionCheckSummary(const SectionCheckResult& r) {
    std::string text;
    auto line = [&text](const std::string& content) {
        text += content;
        text += "\n";
    };
    auto findings = [&](FindingPlace place, const std::string& tail) {
        for (const SectionCheckFinding& finding : kFindings) {
            if (finding.place == place && r.*finding.flag) line(findingText(finding, r) + tail);
        }
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
    findings(FindingPlace::Note, "");
    line("设计内力：N = " + fixed(r.N, 2) + " kN，Mx = " + fixed(r.Mx, 2) +
         " kN.m，My = " + fixed(r.My, 2) + " kN.m");
    line("轴压承载力：N0 = " + fixed(r.squashLoad, 2) + " kN，N/N0 = " + fixed(r.axialRatio, 4));
    if (r.axialCapacityExceeded) {
        findings(FindingPlace::Capacity, "：利用率 = ∞，不满足");
    } else {
        line("受弯承载力(同一轴力、同一弯矩方向)：MxR = " + fixed(r.MxR, 2) +
             " kN.m，MyR = " + fixed(r.MyR, 2) + " kN.m");
        line("利用率 |M|/|MR| = " + fixed(r.utilisation, 3) +
             (r.utilisation <= 1.0 ? "，满足" : "，不满足"));
    }
    line("配筋率：全部纵筋 " + ratioPercent(r.totalSteelRatio) + "，垂直于X轴一侧 " +
         ratioPercent(r.oneSideRatioX) + "，垂直于Y轴一侧 " + ratioPercent(r.oneSideRatioY));
    findings(FindingPlace::Warning, "");
    return text;
}

}  // namespace tessarin
