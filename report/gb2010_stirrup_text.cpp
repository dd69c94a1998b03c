#include "report/gb2010_stirrup_text.h"

#include <cmath>

#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"

namespace tessarin {

namespace {

std::string comparison(double value, double limit) {
    return value <= limit ? " ≤ " : " > ";
}

std::string verdictText(bool ok) {
    return ok ? "满足" : "不满足";
}

const char* denseReasonText(DenseZoneReason reason) {
    switch (reason) {
        case DenseZoneReason::None:
            return "非抗震，不设加密区";
        case DenseZoneReason::Ends:
            return "柱两端各取 max(h, Hn/6, 500)";
        case DenseZoneReason::EndsCoverHeight:
            return "两端加密区之和已达柱净高，全高加密";
        case DenseZoneReason::ShortColumn:
            return "Hn/h ≤ 4，全高加密";
        case DenseZoneReason::ShearSpanAtMost2:
            return "剪跨比不大于2，全高加密";
        case DenseZoneReason::FrameSupporting:
            return "框支柱，全高加密";
        case DenseZoneReason::CornerGradeOneTwo:
            return "一、二级角柱，全高加密";
    }
    return "";
}

// One direction of a shear check, with every figure put in.
void directionLines(std::vector<StirrupLine>& out, const char* axis, const char* width,
                    const ShearDirection& d, const ShearCheck& s, double fyv, double spacing) {
    const bool seismic = s.seismic;
    const std::string gamma = seismic ? "/γRE" : "";
    out.push_back({false, std::string("    ") + axis + "方向：V = " + fixedText(d.V, 2) + " kN，" +
                              width + " = " + lengthText(d.width) + " mm，h0 = " +
                              fixedText(d.h0, 1) + " mm，λ = " + fixedText(d.lambdaGiven, 3) +
                              (d.lambda != d.lambdaGiven ? "，取 " + fixedText(d.lambda, 3) : "")});
    out.push_back({false, std::string("      截面限制(") + (seismic ? "11.4.6" : "6.3.11") + ")：" +
                              fixedText(d.sectionFactor, 2) + "βc·fc·" + width + "·h0" + gamma +
                              " = " + fixedText(d.sectionLimit, 2) + " kN"});
    out.push_back({false, std::string("      受剪承载力(") + (seismic ? "11.4.7" : "6.3.12") +
                              ")：Vu = (" + fixedText(d.concreteFactor, 4) + "·ft·" + width +
                              "·h0 + fyv·Asv/s·h0 + " + (seismic ? "0.056" : "0.07") + "N)" +
                              gamma + " = (" + fixedText(d.concreteTerm, 2) + " + " +
                              fixedText(d.stirrupTerm, 2) + " + " + fixedText(d.axialTerm, 2) +
                              ")" + (seismic ? "/" + fixedText(s.gammaRE, 2) : "") + " = " +
                              fixedText(d.capacity, 2) + " kN"});
    out.push_back({false, "      其中 Asv = " + std::to_string(d.legs) +
                              " 肢 = " + fixedText(d.Asv, 1) + " mm2，fyv = " + fixedText(fyv, 0) +
                              " N/mm2，s = " + lengthText(spacing) + " mm；仅混凝土和轴力 " +
                              fixedText(d.concreteOnly, 2) + " kN"});
}

}  // namespace

const char* combinationKindLabel(CombinationKind kind) {
    switch (kind) {
        case CombinationKind::Seismic:
            return "地震组合";
        case CombinationKind::NonSeismic:
            return "非地震组合";
        case CombinationKind::Unspecified:
            break;
    }
    return "未指明";
}

bool anyKindGiven(const Gb2010Design& design) {
    for (const CombinationCheck& c : design.combinations) {
        if (c.kind != CombinationKind::Unspecified) return true;
    }
    return false;
}

std::string combinationKindTreatmentText(const Gb2010Design& design) {
    if (design.column.seismic == SeismicGrade::None) {
        return anyKindGiven(design) ? "非抗震柱：各组合均不考虑承载力抗震调整系数γRE" : "";
    }
    if (!anyKindGiven(design)) {
        return "各荷载组合均未指明是否为地震组合：偏于安全，正截面承载力不除以γRE，轴压比限值适用"
               "于每一组组合，受剪按地震与非地震两种情况取不利者";
    }
    return "地震组合：正截面承载力除以γRE(N/(fcA) < 0.15 取0.75，否则0.80)，斜截面除以0.85"
           "(GB 50010 11.1.6)，并验算轴压比；非地震组合：不除以γRE，不验算轴压比；未指明的组合"
           "偏于安全：不除以γRE，并验算轴压比，受剪按地震与非地震两种情况取不利者";
}

std::string stirrupFailureText(const StirrupDesign& design) {
    const StirrupFailure& f = design.failure;
    const std::string which =
        f.combination >= 0 ? "第" + std::to_string(f.combination + 1) + "组荷载组合" : "";
    switch (f.kind) {
        case StirrupFailureKind::None:
            return {};
        case StirrupFailureKind::SectionLimitExceeded:
            return which + "的剪力超过受剪截面限制条件(6.3.11、6.3.16、11.4.6)：V/Vlim = " +
                   fixedText(f.value, 3) + " > 1，加箍筋无效，请加大截面或提高混凝土强度等级";
        case StirrupFailureKind::ClearHeightMissing:
            return "抗震设计须给出柱净高Hn(GB 50011 6.3.9)";
        case StirrupFailureKind::AxialRatioBeyondTable:
            return "轴压比 " + fixedText(f.value, 3) + " 超出表6.3.9的最大值 " +
                   fixedText(f.limit, 2) + "，无法确定配箍特征值λv(GB 50011 6.3.9)";
        case StirrupFailureKind::LegSpacingUnattainable:
            return "每根纵筋都设箍筋肢时肢距仍为 " + fixedText(f.value, 1) + " mm，大于 " +
                   fixedText(f.limit, 0) + " mm(GB 50011 6.3.9-2)：请增加纵筋根数或减小截面";
        case StirrupFailureKind::NoStirrupFits:
            return "直径 6～16 mm、间距不小于 50 mm 的箍筋均不能满足" + which +
                   "的受剪承载力及构造要求(最重箍筋时利用率 " + fixedText(f.value, 3) +
                   ")，请加大截面或提高混凝土强度等级";
    }
    return {};
}

std::vector<StirrupLine> stirrupBlockLines(const ColumnWithStirrups& column) {
    std::vector<StirrupLine> out;
    if (!column.stirrups) return out;
    const StirrupDesign& s = *column.stirrups;
    const StirrupLimits& l = s.limits;
    const StirrupColumn& c = s.column;
    const bool graded = c.seismic != SeismicGrade::None;
    const auto line = [&out](std::string text) { out.push_back({false, std::move(text)}); };
    const auto heading = [&out](std::string text) { out.push_back({true, std::move(text)}); };

    heading("箍筋材料");
    line(std::string("箍筋：") + steelLabel2010(c.stirrupSteel) +
         "，受剪 fyv = " + fixedText(s.fyv, 0) + " N/mm2(不大于360，4.2.3)，体积配箍率用 fyv = " +
         fixedText(s.fyvRatio, 0) + " N/mm2；混凝土 ft = " + fixedText(s.ft, 2) +
         " N/mm2，βc = " + fixedText(s.betaC, 3) + "(6.3.1)");
    line("剪跨比 λ = Hn/(2h0)：x方向 " + fixedText(c.lambdaX, 3) + "，y方向 " +
         fixedText(c.lambdaY, 3) + "(Hn = " + lengthText(c.hn) + " mm；计算时取1～3)");

    heading("箍筋构造要求");
    line("直径(9.3.2-1)：d ≥ max(6, dmax/4) = max(6, " + std::to_string(l.largestBar) +
         "/4 = " + fixedText(l.diameterQuarter, 2) + ")" +
         (l.highRatio ? "，纵筋配筋率大于3%时不小于8" : "") +
         (graded ? "，抗震加密区不小于 " + std::to_string(l.minimumDenseDiameter) +
                       " mm(GB 50011 "
                       "表6.3.7-2)"
                 : "") +
         "，取 " + std::to_string(l.minimumDiameter) + " mm");
    line("间距(9.3.2-2)：s ≤ min(400, 短边 " + lengthText(l.shortSide) + ", 15d = 15×" +
         std::to_string(l.smallestBar) + " = " + fixedText(l.spacing15d, 0) + ")" +
         (l.highRatio ? "，配筋率 " + percentText(l.longitudinalRatio) + " > 3% 时不大于10d和200"
                      : "") +
         " = " + fixedText(l.maximumSpacing, 0) + " mm");
    line(std::string("复合箍筋(9.3.2-4)：") +
         (l.compoundRequired ? "应设复合箍筋" : "可不设复合箍筋") + "；箍筋肢数至少：平行于h " +
         std::to_string(l.minimumLegsX) + " 肢，平行于b " + std::to_string(l.minimumLegsY) + " 肢");
    if (graded) {
        line("加密区箍筋间距(GB 50011 表6.3.7-2)：s ≤ " + fixedText(l.maximumDenseSpacing, 0) +
             " mm" +
             (l.maximumDenseSpacingRelaxed > l.maximumDenseSpacing
                  ? "(表注1放宽时 " + fixedText(l.maximumDenseSpacingRelaxed, 0) + " mm)"
                  : "") +
             "；肢距(6.3.9-2)不大于 " + fixedText(l.maximumLegSpacing, 0) + " mm" +
             (l.legSpacing20ds ? "和20倍箍筋直径的较大值" : "") +
             "，且至少每隔一根纵筋在两个方向有箍筋约束");
        line("加密区长度(6.3.9-1)：max(h, Hn/6, 500) = " + fixedText(l.denseLengthEnd, 0) +
             " mm；" + denseReasonText(l.denseReason) + "，合计 " + fixedText(l.denseLength, 0) +
             " mm");
        line("非加密区箍筋间距(6.3.9-4)：s ≤ " + fixedText(l.maximumOutsideSpacing, 0) +
             " mm，体积配箍率不小于加密区的一半");
        if (l.lambdaV >= 0.0) {
            line("体积配箍率(6.3.9-3)：μN = " + fixedText(l.axialRatio, 3) + "，λv = " +
                 fixedText(l.lambdaV, 3) + "，ρv ≥ λv·fc/fyv = " + fixedText(l.lambdaV, 3) + "×" +
                 fixedText(l.fcForRatio, 1) + "/" + fixedText(l.fyvForRatio, 0) + " = " +
                 percentText(l.requiredByLambdaV, 3) + "(fc 不低于C35)，且不小于 " +
                 percentText(l.minimumVolumetricRatio, 2) + "，取 " +
                 percentText(l.requiredVolumetricRatio, 3));
        }
    }

    heading("箍筋选用");
    if (s.designed) {
        const StirrupChoice& ch = s.choice;
        line("选用箍筋：" + stirrupNotation(c.stirrupSteel, ch) + "，类型 " + stirrupType(ch) +
             "(平行于h " + std::to_string(ch.legsX) + " 肢，平行于b " + std::to_string(ch.legsY) +
             " 肢)");
        if (graded) {
            line("间距：加密区 " + fixedText(ch.denseSpacing, 0) + " mm，非加密区 " +
                 fixedText(ch.spacing, 0) + " mm；加密区长度 " + fixedText(ch.denseLength, 0) +
                 " mm" + (ch.wholeHeight ? "(全高)" : ""));
        } else {
            line("间距：s = " + fixedText(ch.spacing, 0) + " mm(非抗震，全高相同)");
        }
        line("肢距：平行于h的肢 " + fixedText(ch.legSpacingX, 1) + " mm，平行于b的肢 " +
             fixedText(ch.legSpacingY, 1) + " mm");
        line("体积配箍率 ρv = Σ(n·Asv1·l)/(Acor·s)：Acor = " + fixedText(ch.coreArea, 0) +
             " mm2，肢长 " + fixedText(ch.legLengthX, 1) + "/" + fixedText(ch.legLengthY, 1) +
             " mm，加密区 ρv = " + percentText(ch.volumetricRatio, 3) +
             (graded ? comparison(l.requiredVolumetricRatio, ch.volumetricRatio) == " ≤ "
                           ? " ≥ " + percentText(l.requiredVolumetricRatio, 3) + "，满足"
                           : " < " + percentText(l.requiredVolumetricRatio, 3) + "，不满足"
                     : "") +
             "；非加密区 ρv = " + percentText(ch.volumetricRatioOutside, 3));
        if (column.stirrupDiameterUsed > c.assumedStirrup || column.rounds > 1) {
            line("箍筋直径大于输入值，纵筋按箍筋直径 " + fixedText(column.stirrupDiameterUsed, 0) +
                 " mm 重新布置并设计(8.2.1)");
        }
    } else {
        line("无可行的箍筋：" + stirrupFailureText(s));
    }

    heading("斜截面受剪承载力验算");
    for (std::size_t k = 0; k < s.combinations.size(); ++k) {
        const CombinationShear& cs = s.combinations[k];
        const ShearCheck& ch = cs.check;
        line("组合" + std::to_string(k + 1) + "(" + (ch.seismic ? "按地震组合" : "按非地震组合") +
             (cs.bothChecked ? "，未指明组合类别，两种情况取不利者" : "") +
             ")：N = " + fixedText(ch.N, 2) + " kN，计算用 N = " + fixedText(ch.Nused, 2) +
             " kN(不大于0.3fcA)");
        const double spacing = s.designed ? s.choice.spacing : kStirrupSpacings[0];
        directionLines(out, "x", "b", ch.x, ch, s.fyv, spacing);
        directionLines(out, "y", "h", ch.y, ch, s.fyv, spacing);
        line("    截面限制(6.3.16)：V/Vlim = " + fixedText(cs.sectionUtilisation, 3) +
             comparison(cs.sectionUtilisation, 1.0) +
             "1；双向受剪(6.3.17)：√((Vx/Vux)^2 + "
             "(Vy/Vuy)^2) = " +
             fixedText(ch.utilisation, 3) + comparison(ch.utilisation, 1.0) + "1" +
             (ch.concreteCarries ? "，混凝土即可承担，按构造配箍(6.3.13、6.3.18)" : "") +
             (ch.tensionMinimumMet ? "" : "，受拉时箍筋最小值不满足(6.3.14)") + "，" +
             verdictText(cs.carried));
    }
    return out;
}

}  // namespace tessarin
