#include "views/section_check_texts.h"

#include "report/section_check_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

std::string fixed(double value, int decimals) {
    return formatDecimals(value, decimals);
}
std::string percent(double ratio) {
    return fixed(ratio * 100.0, 2) + "%";
}

}  // namespace

std::string utilisationText(const SectionCheckResult& r) {
    if (r.axialCapacityExceeded) return "利用率 ∞";
    return "利用率 " + fixed(r.utilisation, 2);
}

std::vector<std::string> detailLines(const SectionCheckResult& r) {
    std::vector<std::string> lines;
    lines.push_back("N = " + fixed(r.N, 1) + " kN，Mx = " + fixed(r.Mx, 2) +
                    " kN·m，My = " + fixed(r.My, 2) + " kN·m");
    lines.push_back("N0 = " + fixed(r.squashLoad, 1) + " kN，N/N0 = " + fixed(r.axialRatio, 3));
    const auto findings = [&](FindingPlace place) {
        for (const SectionCheckFinding& finding : sectionCheckFindings()) {
            if (finding.place == place && r.*finding.flag) {
                lines.push_back(findingText(finding, r));
            }
        }
    };
    if (r.axialCapacityExceeded) {
        findings(FindingPlace::Capacity);
    } else {
        lines.push_back("MxR = " + fixed(r.MxR, 2) + " kN·m，MyR = " + fixed(r.MyR, 2) +
                        " kN·m（同一轴力、同一弯矩方向）");
    }
    lines.push_back("配筋率：全部 " + percent(r.totalSteelRatio) + "，垂直于X轴一侧 " +
                    percent(r.oneSideRatioX) + "，垂直于Y轴一侧 " + percent(r.oneSideRatioY));
    findings(FindingPlace::Warning);
    findings(FindingPlace::Note);
    return lines;
}

std::string modelText(const SectionCheckResult& r) {
    const std::string integration = r.integration.exact
                                        ? std::string("混凝土按条带精确积分")
                                        : "混凝土按 " + std::to_string(r.integration.cellsU) + "×" +
                                              std::to_string(r.integration.cellsV) + " 纤维积分";
    return "模型：应变协调（平截面），最大受压角点应变 εcu = " + fixed(r.concrete.epsCu, 5) +
           "；混凝土抛物线-矩形（n = " + fixed(r.concrete.n, 3) +
           "，ε0 = " + fixed(r.concrete.eps0, 5) +
           "），不计受拉；钢筋理想弹塑性，扣除所占混凝土；" + integration + "。";
}

}  // namespace tessarin
