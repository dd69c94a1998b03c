#include "views/gb2010_design_view.h"

#include <cmath>

#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

std::string fixed(double value, int decimals) {
    return formatDecimals(value, decimals);
}

std::vector<std::string> summaryOf(const ColumnWithStirrups& whole, bool& failed) {
    const Gb2010Design& d = whole.longitudinal;
    const StirrupDesign* stirrups = whole.stirrups ? &*whole.stirrups : nullptr;
    std::vector<std::string> lines;
    if (!(d.designed && d.layout)) {
        failed = true;
        lines.push_back("无可行配筋：" + noLayoutReasonText(d));
        return lines;
    }
    const BarLayout& layout = *d.layout;
    lines.push_back(layoutNotation(layout.choice, d.column.steel));
    lines.push_back("As = " + fixed(layout.steelArea, 0) +
                    " mm²，ρ = " + fixed(layout.ratio * 100.0, 2) + "%（" +
                    std::to_string(layout.choice.barCount()) + " 根）");
    lines.push_back("最小配筋率 " + fixed(d.limits.minimumTotalRatio * 100.0, 2) + "%，最大 " +
                    fixed(d.limits.maximumTotalRatio * 100.0, 2) + "%；一侧 ≥ " +
                    fixed(d.limits.minimumOneSideRatio * 100.0, 2) + "%（b边 " +
                    fixed(layout.oneSideRatioB * 100.0, 2) + "%，h边 " +
                    fixed(layout.oneSideRatioH * 100.0, 2) + "%）");
    lines.push_back("纵筋中距 b边 " + fixed(layout.centreSpacingB, 0) + " mm，h边 " +
                    fixed(layout.centreSpacingH, 0) + " mm（限值 " +
                    fixed(d.limits.maximumCentreSpacingB, 0) + " / " +
                    fixed(d.limits.maximumCentreSpacingH, 0) + " mm）；净距 ≥ " +
                    fixed(d.limits.minimumClearSpacing, 0) + " mm");
    if (d.governing >= 0) {
        lines.push_back(
            "控制组合：第 " + std::to_string(d.governing + 1) + " 组，利用率 " +
            fixed(d.combinations[static_cast<std::size_t>(d.governing)].utilisation, 3));
    }
    if (stirrups != nullptr && stirrups->designed) {
        lines.push_back("箍筋 " + stirrupNotation(stirrups->column.stirrupSteel, stirrups->choice) +
                        "，类型 " + stirrupType(stirrups->choice) +
                        "；ρv = " + fixed(stirrups->choice.volumetricRatio * 100.0, 2) + "%");
    } else if (stirrups != nullptr) {
        lines.push_back("无可行箍筋：" + stirrupFailureText(*stirrups));
        failed = true;
    }
    return lines;
}

}  // namespace

Gb2010DesignView gb2010DesignView(const ColumnWithStirrups& whole) {
    const Gb2010Design& d = whole.longitudinal;
    const StirrupDesign* stirrups = whole.stirrups ? &*whole.stirrups : nullptr;
    Gb2010DesignView view;
    view.summary = summaryOf(whole, view.failed);
    view.governing = d.governing;
    const bool checked = d.layout.has_value();
    const std::string none = "—";
    for (std::size_t k = 0; k < d.combinations.size(); ++k) {
        const CombinationCheck& check = d.combinations[k];
        view.results.push_back({
            fixed(check.demand.N, 1),
            fixed(check.demand.Mx, 2),
            fixed(check.demand.My, 2),
            fixed(check.demand.x.etaNs, 3),
            fixed(check.demand.y.etaNs, 3),
            fixed(check.demand.axialRatio, 3),
            checked ? (std::isfinite(check.utilisation) ? fixed(check.utilisation, 3)
                                                        : std::string("∞"))
                    : none,
            checked ? fixed(check.axialUtilisation, 3) : none,
            checked ? fixed(check.Nu, 1) : none,
            fixed(check.gammaRE, 2),
            stirrups != nullptr && stirrups->designed && k < stirrups->combinations.size()
                ? fixed(stirrups->combinations[k].check.utilisation, 3)
                : none,
        });
    }
    return view;
}

}  // namespace tessarin
