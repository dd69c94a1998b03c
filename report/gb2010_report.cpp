#include "report/gb2010_report.h"

#include <cmath>
#include <string_view>

#include "engine/gb2010/bar_layout.h"
#include "engine/gb2010/gb2010_rules.h"
#include "report/bar_preference_fields.h"
#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_stirrup_text.h"
#include "report/report_file.h"
#include "text/gbk_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

const char* verdict(bool ok) {
    return ok ? "满足" : "不满足";
}

class Text {
  public:
    void line(std::string_view content = {}) {
        text_ += content;
        text_ += "\r\n";
    }
    [[nodiscard]] std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

void writeAxis(Text& t, const char* axis, const char* depthName, const char* momentName,
               const AxisDemand& d, double N) {
    if (d.momentFree) {
        t.line(std::string("  ") + axis + "方向(D = " + depthName + " = " + lengthText(d.depth) +
               " mm)：各组合弯矩均为零，不计附加偏心距(6.2.5)，按轴心受压验算(6.2.15)：ei = " +
               fixedText(d.ei, 2) + " mm");
        return;
    }
    t.line(std::string("  ") + axis + "方向(D = " + depthName + " = " + lengthText(d.depth) +
           " mm，M2 = " + fixedText(d.M2, 2) + " kN.m，M1/M2 = " + fixedText(d.m1m2, 2) + ")：");
    t.line("    二阶效应判别(6.2.3)：M1/M2 = " + fixedText(d.m1m2, 2) +
           (d.m1m2 <= 0.9 ? " ≤ " : " > ") + "0.9；N/(fcA) = " + fixedText(d.axialRatio, 3) +
           (d.axialRatio <= 0.9 ? " ≤ " : " > ") + "0.9；lc/i = " + lengthText(d.lc) + "/" +
           fixedText(d.radiusOfGyration, 2) + " = " + fixedText(d.slenderness, 2) +
           (d.slenderness <= d.slendernessLimit ? " ≤ " : " > ") +
           "34-12(M1/M2) = " + fixedText(d.slendernessLimit, 2));
    t.line("    附加偏心距(6.2.5)：ea = max(20, D/30) = " + fixedText(d.ea, 2) + " mm");
    if (d.secondOrderIgnored) {
        t.line("    三个条件均满足，可不考虑轴向压力在挠曲杆件中产生的附加弯矩：M = M2 = " +
               fixedText(d.M, 2) + " kN.m");
    } else {
        t.line("    应考虑二阶效应(6.2.4)：");
        t.line("    Cm = 0.7 + 0.3M1/M2 = " + fixedText(d.Cm, 3) + "(不小于0.7)");
        t.line("    h0 = D - a = " + lengthText(d.depth) + " - " + fixedText(d.a, 1) + " = " +
               fixedText(d.h0, 1) + " mm；M2/N = " + fixedText(d.M2 * 1e3 / N, 2) + " mm");
        t.line("    ζc = 0.5fcA/N = " + fixedText(d.zetaC, 3) + "(不大于1.0)");
        t.line("    ηns = 1 + (lc/D)^2·ζc/(1300(M2/N + ea)/h0) = " + fixedText(d.etaNs, 4));
        t.line("    Cm·ηns = " + fixedText(d.Cm * d.etaNs, 4) +
               (d.Cm * d.etaNs < 1.0 ? "，小于1.0，取1.0" : ""));
        t.line(std::string("    ") + momentName + " = Cm·ηns·M2 = " + fixedText(d.M, 2) + " kN.m");
    }
    t.line("    e0 = M/N = " + fixedText(d.e0, 2) + " mm；ei = e0 + ea = " + fixedText(d.ei, 2) +
           " mm(6.2.17)");
}

void writeInputs(Text& t, const Gb2010Design& r) {
    const Gb2010Column& c = r.column;
    const Materials2010& m = r.materials;
    t.line("---------------输入数据--------------");
    t.line();
    t.line("柱截面尺寸：b×h = " + lengthText(c.b) + "×" + lengthText(c.h) + " mm");
    t.line("柱计算长度：l0 = " + lengthText(c.l0) + " mm");
    t.line("构件支撑点之间的长度(6.2.3)：x方向 lc = " + lengthText(r.lcX) + " mm" +
           (c.lcX ? "" : "(取l0)") + "，y方向 lc = " + lengthText(r.lcY) + " mm" +
           (c.lcY ? "" : "(取l0)"));
    t.line("柱净高：Hn = " + lengthText(r.limits.shearSpan.hn) + " mm" + (c.hn ? "" : "(取l0)"));
    t.line("混凝土：C" + std::to_string(m.concreteGrade) + "，fc = " + fixedText(m.fc, 1) +
           " N/mm2(4.1.4)；α1 = " + fixedText(m.alpha1, 3) + "，β1 = " + fixedText(m.beta1, 3) +
           "(6.2.6)；n = " + fixedText(m.n, 3) + "，ε0 = " + fixedText(m.eps0, 5) +
           "，εcu = " + fixedText(m.epsCu, 5) + "(6.2.1)");
    t.line(std::string("纵向钢筋：") + steelLabel2010(m.steel) + "，fy = " + fixedText(m.fy, 0) +
           " N/mm2，fy' = " + fixedText(m.fyc, 0) + " N/mm2(轴心受压承载力中取 " +
           fixedText(m.fycAxial, 0) + ")，Es = " + fixedText(m.Es, 0) +
           " N/mm2(4.2.3、4.2.5)；极限拉应变 0.01(6.2.1)");
    t.line("混凝土保护层厚度(至箍筋外边)：c = " + lengthText(r.cover) + " mm" +
           (c.cover ? "" : "(默认值，8.2.1)") + "；箍筋直径 ds = " + lengthText(c.stirrup) + " mm");
    if (c.seismic == SeismicGrade::None) {
        t.line("抗震等级：非抗震");
    } else {
        t.line("抗震等级：" + seismicDataText(c));
    }
    t.line();
}

void writeLimits(Text& t, const Gb2010Design& r) {
    const DetailingLimits& l = r.limits;
    const Gb2010Column& c = r.column;
    t.line("---------------构造要求--------------");
    t.line();
    std::string minimum =
        "全部纵筋最小配筋率：" + percentText(l.minimumTotalRatioNonSeismic) + "(8.5.1)";
    if (c.seismic != SeismicGrade::None) {
        minimum += "，抗震 " + percentText(l.minimumTotalRatioSeismic) + "(GB 50011 6.3.7)，取 " +
                   percentText(l.minimumTotalRatio);
    }
    t.line(minimum);
    t.line("一侧纵筋最小配筋率：" + percentText(l.minimumOneSideRatio) +
           "(8.5.1)；全部纵筋最大配筋率：" + percentText(l.maximumTotalRatio, 0) + "(9.3.1)");
    t.line("纵筋直径 12～40 mm，且不大于 c + ds = " + lengthText(l.maximumBarDiameter) +
           " mm(8.2.1：保护层厚度不小于钢筋直径)");
    t.line("纵筋净距不小于 " + lengthText(l.minimumClearSpacing) + " mm；中距：b边不大于 " +
           lengthText(l.maximumCentreSpacingB) + " mm，h边不大于 " +
           lengthText(l.maximumCentreSpacingH) + " mm(9.3.1" +
           (c.seismic != SeismicGrade::None ? "，GB 50011 6.3.8" : "") + ")");
    if (c.seismic != SeismicGrade::None) {
        t.line("剪跨比(GB 50010 6.3.12、GB 50011 6.2.9)：" + shearSpanText(l.shearSpan) +
               "(h0 按直径" + std::to_string(kEngineeringChoices.shearSpanBarDiameter) +
               "mm的纵筋计算)");
        t.line(
            "轴压比 μN = N/(fcA) 限值：" + axialRatioLimitText(l, c.concreteGrade) +
            "(GB 50011 表6.3.6及注，GB 50010 11.4.16，" + seismicColumnLabel(c) +
            (anyKindGiven(r) ? "，适用于地震组合及未指明类别的组合)" : "，适用于每一组荷载组合)"));
        if (l.maximumOneSideRatio > 0.0) {
            t.line("一级且剪跨比不大于2的柱，一侧纵筋配筋率不大于 " +
                   percentText(l.maximumOneSideRatio, 1) + "(GB 50011 6.3.8)");
        }
    }
    t.line(std::string(l.directions == MomentDirections::Biaxial
                           ? "稳定系数(表6.2.15)："
                           : "稳定系数(表6.2.15，垂直于弯矩作用平面)：") +
           slendernessLabel(l) + " = " + fixedText(l.slendernessL0b, 2) +
           "，φ = " + fixedText(l.phi, 4) +
           (kEngineeringChoices.interpolatePhi ? "(表中两行之间按线性插值)"
                                               : "(表中两行之间取较大长细比一行)"));
    t.line();
}

void writeLayout(Text& t, const Gb2010Design& r) {
    const BarLayout& layout = *r.layout;
    const LayoutChoice& ch = layout.choice;
    const DetailingLimits& l = r.limits;
    t.line((r.designed ? "选用配筋：" : "构造允许的最大配筋：") +
           layoutNotation(ch, r.column.steel) + "，共 " + std::to_string(ch.barCount()) + " 根");
    t.line("钢筋中心至截面边缘：a = c + ds + d/2，角筋 " +
           fixedText(r.cover + r.column.stirrup + ch.cornerDiameter / 2.0, 1) + " mm");
    t.line("全部纵筋 As = " + fixedText(layout.steelArea, 1) + " mm2，ρ = As/(bh) = " +
           percentText(layout.ratio) + "(" + percentText(l.minimumTotalRatio) + " ≤ ρ ≤ " +
           percentText(l.maximumTotalRatio, 0) + ")");
    t.line("一侧配筋率：b边 " + percentText(layout.oneSideRatioB) + "，h边 " +
           percentText(layout.oneSideRatioH) + "(不小于 " + percentText(l.minimumOneSideRatio) +
           (l.maximumOneSideRatio > 0.0 ? "，不大于 " + percentText(l.maximumOneSideRatio, 1)
                                        : std::string()) +
           ")");
    t.line("纵筋中距：b边 " + fixedText(layout.centreSpacingB, 1) + " mm，h边 " +
           fixedText(layout.centreSpacingH, 1) + " mm；最小净距：b边 " +
           fixedText(layout.clearSpacingB, 1) + " mm，h边 " + fixedText(layout.clearSpacingH, 1) +
           " mm");
    if (r.designed) {
        t.line("满足构造要求及配筋参数的对称配筋方案共 " + std::to_string(r.layoutsConsidered) +
               " 种，取能承受全部荷载组合且用钢量最少者(其次根数最少、直径种类最少)");
        t.line("配筋参数：" + barPreferencesSummary(r.column.barPreferences));
    }
}

void writeChecks(Text& t, const Gb2010Design& r) {
    t.line("---------------承载力验算--------------");
    t.line();
    t.line(
        "双向偏心受压(6.2.21、附录E)：平截面假定，按每根钢筋的实际位置和直径计算，"
        "钢筋极限拉应变0.01；在同一轴力N下沿设计弯矩方向求极限弯矩MR，利用率 = |M|/|MR|");
    t.line(kGeneralMethodGoverns);
    const std::string directions = momentDirectionsText(r.limits, r.column.l0);
    if (!directions.empty()) t.line(directions);
    t.line();
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationCheck& c = r.combinations[k];
        const CombinationDemand& d = c.demand;
        t.line("组合" + std::to_string(k + 1) + "：N = " + fixedText(d.N, 2) +
               " kN，Mx = N·eix = " + fixedText(d.Mx, 2) +
               " kN.m，My = N·eiy = " + fixedText(d.My, 2) + " kN.m");
        if (c.gammaRE != 1.0) {
            t.line("  地震组合(GB 50010 11.1.6)：N/(fcA) = " + fixedText(d.axialRatio, 3) +
                   (d.axialRatio < kGammaReAxialRatio ? " < 0.15，γRE = " : " ≥ 0.15，γRE = ") +
                   fixedText(c.gammaRE, 2) + "，按 γRE·N、γRE·M 与截面承载力比较");
        }
        if (std::isinf(c.utilisation)) {
            t.line("  轴力超出截面承载范围，截面不能再承受弯矩：利用率 = ∞，不满足");
        } else {
            t.line("  MxR = " + fixedText(c.MxR, 2) + " kN.m，MyR = " + fixedText(c.MyR, 2) +
                   " kN.m，利用率 = " + fixedText(c.utilisation, 3) +
                   (c.utilisation <= 1.0 ? " ≤ 1，满足" : " > 1，不满足"));
        }
        t.line(std::string(r.limits.directions == MomentDirections::Biaxial
                               ? "  轴心受压(6.2.15)"
                               : "  垂直于弯矩作用平面按轴心受压(6.2.15)") +
               "：0.9φ(fcA + fy'As') = " + fixedText(c.axialCapacity, 1) +
               " kN，N/(0.9φ(fcA + fy'As')) = " + fixedText(c.axialUtilisation, 3) +
               (c.axialUtilisation <= 1.0 ? " ≤ 1，满足" : " > 1，不满足"));
        t.line("  近似公式(6.2.21，供参考)：Nux = " + fixedText(c.Nux, 1) + " kN，Nuy = " +
               fixedText(c.Nuy, 1) + " kN，Nu0 = fcA + fy'As = " + fixedText(c.Nu0, 1) +
               " kN，Nu = 1/(1/Nux + 1/Nuy - 1/Nu0) = " + fixedText(c.Nu, 1) +
               " kN，N/Nu = " + fixedText(d.N / c.Nu, 3));
    }
    t.line();
}

// No layout because the least ratio cannot be reached: the bars are no thicker than the cover
// to them allows (8.2.1) and no closer than the clear distance (9.3.1).
std::string shortOfTheLeastRatio(const Gb2010Design& r) {
    const NoLayoutReason& reason = r.reason;
    const double largestBar = static_cast<double>(kBarDiameters2010.back());
    std::string text =
        "纵筋直径不大于c + ds = " + lengthText(r.limits.maximumBarDiameter) +
        "mm(8.2.1)、净距不小于" + lengthText(r.limits.minimumClearSpacing) +
        "mm(9.3.1)，排满纵筋时" +
        (reason.oneSide ? "每侧纵筋配筋率最大为" : "全部纵筋配筋率最大为") +
        percentText(reason.value) + "，小于" +
        (reason.oneSide ? "一侧纵筋最小配筋率" : "全部纵筋最小配筋率") + percentText(reason.limit) +
        "(8.5.1" +
        (!reason.oneSide && r.limits.minimumTotalRatioSeismic > 0.0 ? "、GB 50011 6.3.7)" : ")");
    // Whether bars of any listed diameter would reach the least ratio: then it is the cover to
    // the bars that stands in the way, not the section.
    DetailingLimits anyBar = r.limits;
    anyBar.maximumBarDiameter = largestBar;
    const SpacingBound thicker =
        heaviestWithinSpacing({r.column.b, r.column.h, r.cover, r.column.stirrup}, anyBar);
    const double reach = reason.oneSide ? thicker.oneSideRatio : thicker.ratio;
    if (r.limits.maximumBarDiameter < largestBar && thicker.found && reach >= reason.limit) {
        text += "；加大保护层厚度或箍筋直径可采用更粗的纵筋";
    }
    return text;
}

}  // namespace

std::string layoutNotation(const LayoutChoice& c, SteelGrade2010 steel) {
    const std::string symbol = barSymbol(steel);
    std::string text = "角筋 4" + symbol + std::to_string(c.cornerDiameter);
    // Middle bars that differ between the b and the h faces are named as 16G101-1 names them.
    const char* face = c.webDiametersDiffer() ? "中部筋 " : "每侧 ";
    const char* side = c.webDiametersDiffer() ? "一侧" : "";
    if (c.webBarsAlongB > 0) {
        text += std::string("；b边") + side + face + std::to_string(c.webBarsAlongB) + symbol +
                std::to_string(c.webDiameterB);
    }
    if (c.webBarsAlongH > 0) {
        text += std::string("；h边") + side + face + std::to_string(c.webBarsAlongH) + symbol +
                std::to_string(c.webDiameterH);
    }
    return text;
}

std::string barDiameterLimitText(const Gb2010Design& design) {
    const double limit = design.limits.maximumBarDiameter;
    const int largest = kBarDiameters2010.back();
    if (!(limit < static_cast<double>(largest))) return {};
    // The next listed diameter above c + ds and the cover it would need.
    int next = largest;
    for (const int d : kBarDiameters2010) {
        if (static_cast<double>(d) > limit) {
            next = d;
            break;
        }
    }
    const double stirrup = design.column.stirrup;
    // limit = c + ds (8.2.1), so c is the limit less the stirrup.
    return "；纵筋直径受保护层限制：d ≤ c + ds = " + lengthText(limit - stirrup) + " + " +
           lengthText(stirrup) + " = " + lengthText(limit) + " mm(8.2.1)，采用 " +
           barSymbol(design.column.steel) + std::to_string(next) + " 需 c ≥ " +
           lengthText(static_cast<double>(next) - stirrup) + " mm：可加大保护层厚度或加大截面";
}

std::string noLayoutReasonText(const Gb2010Design& design) {
    const Gb2010Design& r = design;
    const NoLayoutReason& reason = r.reason;
    switch (reason.kind) {
        case NoLayoutKind::None:
            return {};
        case NoLayoutKind::AxialRatioExceeded:
            return "第" + std::to_string(reason.combination + 1) +
                   "组荷载组合的轴压比 μN = N/(fcA) = " + fixedText(reason.value, 3) + "超过" +
                   seismicColumnLabel(r.column) + "的限值 " +
                   axialRatioLimitText(r.limits, r.column.concreteGrade) + "(GB 50011 表6.3.6)";
        case NoLayoutKind::ShortColumn:
            return "剪跨比 λ = " + fixedText(reason.value, 2) +
                   " < 1.5，轴压比限值应专门研究并采取特殊构造措施(GB 50011 表6.3.6注2)，"
                   "本程序不作设计";
        case NoLayoutKind::NoDetailedLayout:
            if (reason.limit > 0.0) return shortOfTheLeastRatio(r);
            return "截面过小：没有满足构造要求(纵筋直径、净距、中距、配筋率)的对称配筋方案" +
                   barDiameterLimitText(r);
        case NoLayoutKind::NotCarried: {
            std::string text =
                "即使采用构造允许的最大配筋(" +
                (r.layout ? layoutNotation(r.layout->choice, r.column.steel) : std::string()) +
                "，ρ = " + percentText(reason.limit) + ")，也不能承受第" +
                std::to_string(reason.combination + 1) + "组荷载组合(";
            const CombinationCheck& c =
                r.combinations[static_cast<std::size_t>(reason.combination)];
            if (c.axialUtilisation >= c.utilisation) {
                text += "N/(0.9φ(fcA + fy'As')) = " + fixedText(c.axialUtilisation, 2) + ")";
            } else {
                text += "利用率 " + fixedText(c.utilisation, 2) + ")";
            }
            return text + barDiameterLimitText(r);
        }
    }
    return {};
}

namespace {

std::string reportText(const Gb2010Design& design, const ColumnWithStirrups* whole) {
    const Gb2010Design& r = design;
    Text t;
    t.line("===========================================================");
    t.line("=   矩形截面双向偏心受压柱配筋设计(GB 50010-2010(2015年版))  =");
    t.line("===========================================================");
    // The plain-text bar symbols, as Chinese programs write them in text (a bare Φ is HPB300).
    t.line(kBarSymbolKey);
    t.line();
    writeInputs(t, r);
    t.line("荷载组合：");
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationDemand& d = r.combinations[k].demand;
        t.line("  组合" + std::to_string(k + 1) + "：N = " + fixedText(d.N, 2) +
               " kN；M2x = " + fixedText(d.x.M2, 2) + " kN.m，M1x/M2x = " + fixedText(d.x.m1m2, 2) +
               "；M2y = " + fixedText(d.y.M2, 2) + " kN.m，M1y/M2y = " + fixedText(d.y.m1m2, 2));
        if (whole != nullptr && whole->stirrups && k < whole->stirrups->combinations.size()) {
            const ShearCheck& v = whole->stirrups->combinations[k].check;
            t.line("    Vx = " + fixedText(v.x.V, 2) + " kN，Vy = " + fixedText(v.y.V, 2) +
                   " kN；" + combinationKindLabel(r.combinations[k].kind));
        } else if (whole != nullptr) {
            t.line(std::string("    ") + combinationKindLabel(r.combinations[k].kind));
        }
    }
    if (whole != nullptr) {
        const std::string treatment = combinationKindTreatmentText(r);
        if (!treatment.empty()) t.line(treatment);
    }
    t.line();
    writeLimits(t, r);

    t.line("---------------二阶效应与设计弯矩--------------");
    t.line();
    if (const std::string directions = momentDirectionsText(r.limits, r.column.l0);
        !directions.empty()) {
        t.line(directions);
        t.line();
    }
    if (!r.layout) {
        t.line("(h0 按最小纵筋直径" +
               std::to_string(kEngineeringChoices.demandDiameterWithoutLayout) + "mm计算)");
    }
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationDemand& d = r.combinations[k].demand;
        t.line("组合" + std::to_string(k + 1) + "：N = " + fixedText(d.N, 2) + " kN");
        if (r.limits.axialRatio.value > 0.0) {
            if (r.combinations[k].kind == CombinationKind::NonSeismic) {
                t.line("  轴压比 μN = N/(fcA) = " + fixedText(d.axialRatio, 3) +
                       "(非地震组合，不验算轴压比限值)");
            } else {
                t.line("  轴压比(GB 50011 6.3.6)：" +
                       axialRatioCheckText(d.axialRatio, r.limits.axialRatio.value));
            }
        }
        writeAxis(t, "x", "h", "Mx", d.x, d.N);
        writeAxis(t, "y", "b", "My", d.y, d.N);
        t.line("  设计内力：N = " + fixedText(d.N, 2) + " kN，Mx = N·eix = " + fixedText(d.Mx, 2) +
               " kN.m，My = N·eiy = " + fixedText(d.My, 2) + " kN.m");
        t.line();
    }

    t.line("---------------配筋结果--------------");
    t.line();
    if (!r.designed) {
        t.line("无可行的配筋方案：" + noLayoutReasonText(r));
    }
    if (r.layout) writeLayout(t, r);
    t.line();
    if (r.layout) writeChecks(t, r);

    if (r.designed) {
        const CombinationCheck& g = r.combinations[static_cast<std::size_t>(r.governing)];
        t.line("控制组合：组合" + std::to_string(r.governing + 1) + "(利用率 " +
               fixedText(g.utilisation, 3) +
               "，N/(0.9φ(fcA + fy'As')) = " + fixedText(g.axialUtilisation, 3) + ")");
        t.line(std::string("结论：") + layoutNotation(r.layout->choice, r.column.steel) +
               "，满足全部荷载组合的承载力及构造要求");
    } else {
        t.line("结论：" + std::string(verdict(false)) + "，请加大截面或提高材料强度等级");
    }
    t.line();
    if (whole != nullptr && whole->stirrups) {
        t.line("---------------箍筋设计--------------");
        t.line();
        for (const StirrupLine& l : stirrupBlockLines(*whole)) {
            if (l.heading) {
                t.line("【" + l.text + "】");
            } else {
                t.line(l.text);
            }
        }
        t.line();
        const StirrupDesign& s = *whole->stirrups;
        if (s.designed) {
            t.line("箍筋结论：" + stirrupNotation(s.column.stirrupSteel, s.choice) + "，类型 " +
                   stirrupType(s.choice) + "，满足全部荷载组合的受剪承载力及构造要求");
        } else {
            t.line("箍筋结论：" + std::string(verdict(false)) + "，" + stirrupFailureText(s));
        }
        t.line();
    }
    t.line("============现行规范配筋设计完毕============");
    return t.take();
}

}  // namespace

std::string gb2010ReportText(const Gb2010Design& design) {
    return reportText(design, nullptr);
}

std::string gb2010ReportText(const ColumnWithStirrups& column) {
    return reportText(column.longitudinal, &column);
}

FileResult writeGb2010Report(const Gb2010Design& design, const std::string& path) {
    // The same writer as Result.txt: whole, under the report lock, a link replaced and a special
    // file refused.
    ReportFile report(path);
    return report.replace(utf8ToGbk(gb2010ReportText(design)));
}

FileResult writeGb2010Report(const ColumnWithStirrups& column, const std::string& path) {
    ReportFile report(path);
    return report.replace(utf8ToGbk(gb2010ReportText(column)));
}

}  // namespace tessarin
