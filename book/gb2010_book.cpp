#include "book/gb2010_book.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "book/book_pictures.h"
#include "book/book_writer.h"
#include "book/column_schedule.h"
#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"
#include "engine/section/section_resistance.h"
#include "engine/section/ultimate_contour.h"
#include "report/bar_preference_fields.h"
#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"

namespace tessarin {

namespace {

// Every figure to the decimals the report prints it with.
std::string f(double value, int decimals) {
    return fixedText(value, decimals);
}
std::string len(double mm) {
    return lengthText(mm);
}

const char* verdict(bool ok) {
    return ok ? "满足" : "不满足";
}
const char* atMost(bool ok) {
    return ok ? " ≤ " : " > ";
}

void writeInputs(BookWriter& w, const Gb2010Design& r) {
    const Gb2010Column& c = r.column;
    w.heading(1, "输入数据");
    BookTable t;
    t.header = {"项目", "符号", "数值", "单位"};
    t.rows = {
        {"柱截面宽度", "b", len(c.b), "mm"},
        {"柱截面高度", "h", len(c.h), "mm"},
        {"柱计算长度", "l0", len(c.l0), "mm"},
        {"x方向构件支撑点之间的长度（6.2.3）", "lc", len(r.lcX) + (c.lcX ? "" : "（取 l0）"), "mm"},
        {"y方向构件支撑点之间的长度（6.2.3）", "lc", len(r.lcY) + (c.lcY ? "" : "（取 l0）"), "mm"},
        {"柱净高", "Hn", len(r.limits.shearSpan.hn) + (c.hn ? "" : "（取 l0）"), "mm"},
        {"混凝土强度等级", "", "C" + std::to_string(c.concreteGrade), ""},
        {"纵向钢筋牌号", "", steelLabel2010(c.steel), ""},
        {"混凝土保护层厚度（至箍筋外边）", "c", len(r.cover) + (c.cover ? "" : "（默认值，8.2.1）"),
         "mm"},
        {"箍筋直径", "ds", len(c.stirrup), "mm"},
        {"抗震等级", "",
         c.seismic == SeismicGrade::None ? std::string("非抗震") : seismicDataText(c), ""},
    };
    w.table(std::move(t));

    w.heading(2, "荷载组合");
    w.paragraph(
        "M2 为杆端弯矩中绝对值较大者，M1/M2 单曲率时为正、双曲率时为负；N 为轴向压力设计值。");
    BookTable loads;
    loads.header = {"组合", "N (kN)", "M2x (kN·m)", "M1x/M2x", "M2y (kN·m)", "M1y/M2y"};
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationDemand& d = r.combinations[k].demand;
        loads.rows.push_back({std::to_string(k + 1), f(d.N, 2), f(d.x.M2, 2), f(d.x.m1m2, 2),
                              f(d.y.M2, 2), f(d.y.m1m2, 2)});
    }
    w.table(std::move(loads));
}

void writeMaterials(BookWriter& w, const Gb2010Design& r) {
    const Materials2010& m = r.materials;
    w.heading(1, "材料");
    BookTable t;
    t.header = {"项目", "符号", "数值", "单位"};
    t.rows = {
        {"混凝土轴心抗压强度设计值（4.1.4，C" + std::to_string(m.concreteGrade) + "）", "fc",
         f(m.fc, 1), "N/mm²"},
        {"受压区混凝土等效矩形应力图系数（6.2.6）", "α1", f(m.alpha1, 3), ""},
        {"受压区高度系数（6.2.6）", "β1", f(m.beta1, 3), ""},
        {std::string("纵向钢筋抗拉强度设计值（4.2.3，") + steelLabel2010(m.steel) + "）", "fy",
         f(m.fy, 0), "N/mm²"},
        {"纵向钢筋抗压强度设计值", "fy′", f(m.fyc, 0), "N/mm²"},
        {"轴心受压承载力中的抗压强度设计值（不大于 400）", "fy′", f(m.fycAxial, 0), "N/mm²"},
        {"钢筋弹性模量（4.2.5）", "Es", f(m.Es, 0), "N/mm²"},
        {"纵向钢筋极限拉应变（6.2.1）", "εsu", "0.01", ""},
    };
    w.table(std::move(t));
    // The parabola-rectangle law of 6.2.1 with the limits of each figure.
    const std::string fcuk = std::to_string(m.concreteGrade);
    const ConcreteLaw::Formulas raw = ConcreteLaw::formulas(static_cast<double>(m.concreteGrade));
    const double n = raw.n;
    w.formula("混凝土应力-应变曲线的指数（6.2.1，不大于 2.0）", "n = 2 − (fcu,k − 50) / 60",
              "2 − (" + fcuk + " − 50) / 60",
              f(n, 3) + (n > 2.0 ? " > 2.0，取 n = " + f(m.n, 3) : ""));
    const double eps0 = raw.eps0;
    w.formula("混凝土压应力达到 fc 时的压应变（不小于 0.002）",
              "ε0 = 0.002 + 0.5 × (fcu,k − 50) × 10⁻⁵", "0.002 + 0.5 × (" + fcuk + " − 50) × 10⁻⁵",
              f(eps0, 5) + (eps0 < 0.002 ? " < 0.002，取 ε0 = " + f(m.eps0, 5) : ""));
    const double epsCu = raw.epsCu;
    w.formula("正截面的混凝土极限压应变（不大于 0.0033）", "εcu = 0.0033 − (fcu,k − 50) × 10⁻⁵",
              "0.0033 − (" + fcuk + " − 50) × 10⁻⁵",
              f(epsCu, 5) + (epsCu > 0.0033 ? " > 0.0033，取 εcu = " + f(m.epsCu, 5) : ""));
}

void writeLimits(BookWriter& w, const Gb2010Design& r) {
    const DetailingLimits& l = r.limits;
    const Gb2010Column& c = r.column;
    const bool seismic = c.seismic != SeismicGrade::None;
    w.heading(1, "构造要求");
    BookTable t;
    t.header = {"项目", "限值", "条文"};
    t.rows.push_back({"全部纵筋最小配筋率", percentText(l.minimumTotalRatioNonSeismic), "8.5.1"});
    if (seismic) {
        t.rows.push_back({"全部纵筋最小配筋率（抗震）", percentText(l.minimumTotalRatioSeismic),
                          "GB 50011 6.3.7"});
        t.rows.push_back({"全部纵筋最小配筋率（取用）", percentText(l.minimumTotalRatio), ""});
    }
    t.rows.push_back({"一侧纵筋最小配筋率", percentText(l.minimumOneSideRatio), "8.5.1"});
    t.rows.push_back({"全部纵筋最大配筋率", percentText(l.maximumTotalRatio, 0), "9.3.1"});
    t.rows.push_back({"纵筋直径",
                      "12～40 mm，且不大于 c + ds = " + len(l.maximumBarDiameter) +
                          " mm（保护层厚度不小于钢筋直径）",
                      "8.2.1"});
    t.rows.push_back({"纵筋净距", "不小于 " + len(l.minimumClearSpacing) + " mm", "9.3.1"});
    const std::string spacingClause = seismic ? "9.3.1，GB 50011 6.3.8" : "9.3.1";
    t.rows.push_back(
        {"纵筋中距（b边）", "不大于 " + len(l.maximumCentreSpacingB) + " mm", spacingClause});
    t.rows.push_back(
        {"纵筋中距（h边）", "不大于 " + len(l.maximumCentreSpacingH) + " mm", spacingClause});
    if (seismic) {
        t.rows.push_back({"轴压比 μN = N/(fcA) 限值",
                          axialRatioLimitText(l, c.concreteGrade) + "（" + seismicColumnLabel(c) +
                              (anyKindGiven(r) ? "，适用于地震组合及未指明类别的组合）"
                                               : "，适用于每一组荷载组合）"),
                          "GB 50011 表6.3.6及注，GB 50010 11.4.16"});
        if (l.maximumOneSideRatio > 0.0) {
            t.rows.push_back({"一侧纵筋最大配筋率（一级，剪跨比不大于 2）",
                              percentText(l.maximumOneSideRatio, 1), "GB 50011 6.3.8"});
        }
    }
    w.table(std::move(t));
    if (seismic) {
        const ShearSpan& s = l.shearSpan;
        w.paragraph("剪跨比（GB 50010 6.3.12、GB 50011 6.2.9），h0 按直径" +
                    std::to_string(kEngineeringChoices.shearSpanBarDiameter) +
                    "mm的纵筋计算，两个方向中较小者控制：");
        w.formula("", "a = c + ds + d/2",
                  len(r.cover) + " + " + len(c.stirrup) + " + " +
                      std::to_string(kEngineeringChoices.shearSpanBarDiameter) + "/2",
                  f(s.a, 1) + " mm");
        w.formula("", "λx = Hn/(2h0x)", len(s.hn) + "/(2×" + f(s.h0x, 1) + ")", f(s.lambdaX, 2));
        w.formula("", "λy = Hn/(2h0y)", len(s.hn) + "/(2×" + f(s.h0y, 1) + ")", f(s.lambdaY, 2));
        w.formula("", "λ = min(λx, λy)", "", f(s.lambda, 2));
    }
    if (l.directions == MomentDirections::Biaxial) {
        w.formula("构件长细比（b 取截面短边）", "l0/b", len(c.l0) + " / " + len(l.slendernessDepth),
                  f(l.slendernessL0b, 2));
    } else {
        w.paragraph(momentDirectionsText(l, c.l0) + "。");
        w.formula("构件长细比（垂直于弯矩作用平面）", slendernessLabel(l),
                  len(c.l0) + " / " + len(l.slendernessDepth), f(l.slendernessL0b, 2));
    }
    w.formula(std::string("稳定系数（表6.2.15，") + (kEngineeringChoices.interpolatePhi
                                                         ? "表中两行之间按线性插值）"
                                                         : "表中两行之间取较大长细比一行）"),
              "φ", "", f(l.phi, 4));
}

// One axis of one combination, the figures as the report prints them.
void writeAxis(BookWriter& w, const Gb2010Design& r, const char* axis, const char* depthName,
               const char* momentName, const AxisDemand& d, double N) {
    if (d.momentFree) {
        w.paragraph(std::string(axis) + "方向（D = " + depthName + " = " + len(d.depth) +
                    " mm）：各组合弯矩均为零，不计附加偏心距（6.2.5），按轴心受压验算（6.2.15）：");
        w.formula("初始偏心距", "ei", "", f(d.ei, 2) + " mm");
        return;
    }
    const Materials2010& m = r.materials;
    const std::string sub = axis;
    w.paragraph(std::string(axis) + "方向（D = " + depthName + " = " + len(d.depth) +
                " mm，M2 = " + f(d.M2, 2) + " kN·m，M1/M2 = " + f(d.m1m2, 2) + "）：");
    w.formula("杆端弯矩比（6.2.3）", "M1/M2", "", f(d.m1m2, 2) + atMost(d.m1m2 <= 0.9) + "0.9");
    w.formula("轴压比", "N/(fcA)",
              f(N, 2) + " × 1000 / (" + f(m.fc, 1) + " × " + len(r.column.b) + " × " +
                  len(r.column.h) + ")",
              f(d.axialRatio, 3) + atMost(d.axialRatio <= 0.9) + "0.9");
    w.formula("截面回转半径", "i = D / √12", len(d.depth) + " / √12",
              f(d.radiusOfGyration, 2) + " mm");
    w.formula("长细比", "lc/i", len(d.lc) + "/" + f(d.radiusOfGyration, 2),
              f(d.slenderness, 2) + atMost(d.slenderness <= d.slendernessLimit) +
                  "34-12(M1/M2) = 34 − 12 × " + f(d.m1m2, 2) + " = " + f(d.slendernessLimit, 2));
    w.formula("附加偏心距（6.2.5）", "ea = max(20, D/30)", "max(20, " + len(d.depth) + "/30)",
              f(d.ea, 2) + " mm");
    if (d.secondOrderIgnored) {
        w.paragraph("三个条件均满足，可不考虑轴向压力在挠曲杆件中产生的附加弯矩：");
        w.formula("设计弯矩", std::string(momentName) + " = M2", "", f(d.M, 2) + " kN·m");
    } else {
        w.paragraph("应考虑二阶效应（6.2.4）：");
        w.formula("构件端截面偏心距调节系数（不小于 0.7）", "Cm = 0.7 + 0.3M1/M2",
                  "0.7 + 0.3 × " + f(d.m1m2, 2), f(d.Cm, 3));
        w.formula("截面有效高度（a 为角筋中心至截面边缘的距离）", "h0 = D - a",
                  len(d.depth) + " - " + f(d.a, 1), f(d.h0, 1) + " mm");
        w.formula("", "M2/N", f(d.M2, 2) + " × 1000 / " + f(N, 2), f(d.M2 * 1e3 / N, 2) + " mm");
        // zetaC before its limit, as 6.2.4-4 writes it.
        const double zeta = 0.5 * m.fc * (r.column.b * r.column.h) / (N * 1000.0);
        w.formula("截面曲率修正系数（不大于 1.0）", "ζc = 0.5fcA/N",
                  "0.5 × " + f(m.fc, 1) + " × " + len(r.column.b) + " × " + len(r.column.h) +
                      " / (" + f(N, 2) + " × 1000)",
                  zeta > 1.0 ? f(zeta, 3) + " > 1.0，取 ζc = " + f(d.zetaC, 3) : f(d.zetaC, 3));
        w.formula("弯矩增大系数", "ηns = 1 + (lc/D)^2·ζc/(1300(M2/N + ea)/h0)",
                  "1 + (" + len(d.lc) + "/" + len(d.depth) + ")^2 × " + f(d.zetaC, 3) +
                      " / (1300 × (" + f(d.M2 * 1e3 / N, 2) + " + " + f(d.ea, 2) + ") / " +
                      f(d.h0, 1) + ")",
                  f(d.etaNs, 4));
        w.formula("", "Cm·ηns", f(d.Cm, 3) + " × " + f(d.etaNs, 4),
                  f(d.Cm * d.etaNs, 4) + (d.Cm * d.etaNs < 1.0 ? "，小于1.0，取1.0" : ""));
        w.formula("设计弯矩", std::string(momentName) + " = Cm·ηns·M2",
                  f(d.CmEtaNs, 4) + " × " + f(d.M2, 2), f(d.M, 2) + " kN·m");
    }
    w.formula("", "e0 = M/N", f(d.M, 2) + " × 1000 / " + f(N, 2), f(d.e0, 2) + " mm");
    w.formula("初始偏心距（6.2.17）", "ei = e0 + ea", f(d.e0, 2) + " + " + f(d.ea, 2),
              f(d.ei, 2) + " mm");
}

void writeDemands(BookWriter& w, const Gb2010Design& r) {
    w.heading(1, "二阶效应与设计弯矩");
    if (const std::string directions = momentDirectionsText(r.limits, r.column.l0);
        !directions.empty()) {
        w.paragraph(directions + "。");
    }
    if (!r.layout) {
        w.paragraph("（没有可用的配筋方案，h0 按最小纵筋直径" +
                    std::to_string(kEngineeringChoices.demandDiameterWithoutLayout) + "mm计算）");
    }
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationDemand& d = r.combinations[k].demand;
        w.heading(2, "组合" + std::to_string(k + 1) + "：N = " + f(d.N, 2) + " kN");
        if (r.limits.axialRatio.value > 0.0) {
            w.formula("轴压比（GB 50011 6.3.6）", "μN = N/(fcA)",
                      f(d.N, 2) + " × 1000 / (" + f(r.materials.fc, 1) + " × " + len(r.column.b) +
                          " × " + len(r.column.h) + ")",
                      r.combinations[k].kind == CombinationKind::NonSeismic
                          ? f(d.axialRatio, 3) + "（非地震组合，不验算轴压比限值）"
                          : f(d.axialRatio, 3) + atMost(d.axialRatio <= r.limits.axialRatio.value) +
                                f(r.limits.axialRatio.value, 2) + "，" +
                                verdict(d.axialRatio <= r.limits.axialRatio.value));
        }
        writeAxis(w, r, "x", "h", "Mx", d.x, d.N);
        writeAxis(w, r, "y", "b", "My", d.y, d.N);
        w.paragraph("设计内力：N 与两个方向的弯矩同时作用。");
        w.formula("", "Mx = N·eix", f(d.N, 2) + " × " + f(d.x.ei, 2) + " / 1000",
                  f(d.Mx, 2) + " kN·m");
        w.formula("", "My = N·eiy", f(d.N, 2) + " × " + f(d.y.ei, 2) + " / 1000",
                  f(d.My, 2) + " kN·m");
    }
}

// "4 × π/4 × 28² + 6 × π/4 × 12²": the steel of corners bars and of barsB web bars of the b
// faces and barsH of the h faces, one term per diameter.
std::string steelTerms(const LayoutChoice& ch, int corners, int barsB, int barsH) {
    std::string text =
        std::to_string(corners) + " × π/4 × " + std::to_string(ch.cornerDiameter) + "²";
    const auto term = [&text](int bars, int d) {
        if (bars > 0) text += " + " + std::to_string(bars) + " × π/4 × " + std::to_string(d) + "²";
    };
    if (barsB > 0 && barsH > 0 && ch.webDiameterB == ch.webDiameterH) {
        term(barsB + barsH, ch.webDiameterB);
    } else {
        term(barsB, ch.webDiameterB);
        term(barsH, ch.webDiameterH);
    }
    return text;
}

// "腹部 20 mm", or "b边中部 20 mm，h边中部 18 mm" when the faces differ.
std::string webDiameterText(const LayoutChoice& ch) {
    if (ch.webDiametersDiffer()) {
        return "b边中部 " + std::to_string(ch.webDiameterB) + " mm，h边中部 " +
               std::to_string(ch.webDiameterH) + " mm";
    }
    const int d = ch.webBarsAlongB > 0 ? ch.webDiameterB : ch.webDiameterH;
    return "腹部 " + std::to_string(d) + " mm";
}

void writeLayout(BookWriter& w, const Gb2010Design& r) {
    w.heading(1, "配筋结果");
    if (!r.designed) w.paragraph("无可行的配筋方案：" + noLayoutReasonText(r));
    if (!r.layout) return;
    const BarLayout& layout = *r.layout;
    const LayoutChoice& ch = layout.choice;
    const DetailingLimits& l = r.limits;
    const Gb2010Column& c = r.column;
    w.paragraph((r.designed ? "选用配筋：" : "构造允许的最大配筋：") + layoutNotation(ch, c.steel) +
                "，共 " + std::to_string(ch.barCount()) + " 根");
    w.formula(
        "钢筋中心至截面边缘（角筋）", "a = c + ds + d/2",
        len(r.cover) + " + " + len(c.stirrup) + " + " + std::to_string(ch.cornerDiameter) + "/2",
        f(r.cover + c.stirrup + ch.cornerDiameter / 2.0, 1) + " mm");
    w.formula("全部纵筋截面面积", "As = Σ π/4 × d²",
              steelTerms(ch, 4, 2 * ch.webBarsAlongB, 2 * ch.webBarsAlongH),
              f(layout.steelArea, 1) + " mm²");
    w.formula("全部纵筋配筋率", "ρ = As/(bh)",
              f(layout.steelArea, 1) + " / (" + len(c.b) + " × " + len(c.h) + ")",
              percentText(layout.ratio) + "（" + percentText(l.minimumTotalRatio) + " ≤ ρ ≤ " +
                  percentText(l.maximumTotalRatio, 0) + "）");
    w.formula(
        "一侧配筋率（b边：2 根角筋与该边的腹部钢筋）", "ρb = As,b/(bh)",
        "(" + steelTerms(ch, 2, ch.webBarsAlongB, 0) + ") / (" + len(c.b) + " × " + len(c.h) + ")",
        percentText(layout.oneSideRatioB));
    w.formula(
        "一侧配筋率（h边）", "ρh = As,h/(bh)",
        "(" + steelTerms(ch, 2, 0, ch.webBarsAlongH) + ") / (" + len(c.b) + " × " + len(c.h) + ")",
        percentText(layout.oneSideRatioH));

    BookTable t;
    t.header = {"要求", "本配筋", "限值", "条文", "结论"};
    // Web bars are never larger than the corner bars.
    const double largest = ch.cornerDiameter;
    const std::string spacingClause =
        c.seismic != SeismicGrade::None ? "9.3.1，GB 50011 6.3.8" : "9.3.1";
    const bool oneSideCapped = l.maximumOneSideRatio > 0.0;
    const std::string oneSideLimit =
        "≥ " + percentText(l.minimumOneSideRatio) +
        (oneSideCapped ? "，≤ " + percentText(l.maximumOneSideRatio, 1) : std::string());
    const std::string oneSideClause = oneSideCapped ? "8.5.1，GB 50011 6.3.8" : "8.5.1";
    const auto oneSideOk = [&l, oneSideCapped](double ratio) {
        return ratio >= l.minimumOneSideRatio && (!oneSideCapped || ratio <= l.maximumOneSideRatio);
    };
    t.rows = {
        {"纵筋直径", "角筋 " + std::to_string(ch.cornerDiameter) + " mm，" + webDiameterText(ch),
         "12～40 mm，≤ " + len(l.maximumBarDiameter) + " mm", "8.2.1",
         verdict(largest <= l.maximumBarDiameter)},
        {"全部纵筋配筋率", percentText(layout.ratio),
         percentText(l.minimumTotalRatio) + " ～ " + percentText(l.maximumTotalRatio, 0),
         "8.5.1，9.3.1",
         verdict(layout.ratio >= l.minimumTotalRatio && layout.ratio <= l.maximumTotalRatio)},
        {"一侧配筋率（b边）", percentText(layout.oneSideRatioB), oneSideLimit, oneSideClause,
         verdict(oneSideOk(layout.oneSideRatioB))},
        {"一侧配筋率（h边）", percentText(layout.oneSideRatioH), oneSideLimit, oneSideClause,
         verdict(oneSideOk(layout.oneSideRatioH))},
        {"纵筋最小净距（b边）", f(layout.clearSpacingB, 1) + " mm",
         "≥ " + len(l.minimumClearSpacing) + " mm", "9.3.1",
         verdict(layout.clearSpacingB >= l.minimumClearSpacing)},
        {"纵筋最小净距（h边）", f(layout.clearSpacingH, 1) + " mm",
         "≥ " + len(l.minimumClearSpacing) + " mm", "9.3.1",
         verdict(layout.clearSpacingH >= l.minimumClearSpacing)},
        {"纵筋中距（b边）", f(layout.centreSpacingB, 1) + " mm",
         "≤ " + len(l.maximumCentreSpacingB) + " mm", spacingClause,
         verdict(layout.centreSpacingB <= l.maximumCentreSpacingB)},
        {"纵筋中距（h边）", f(layout.centreSpacingH, 1) + " mm",
         "≤ " + len(l.maximumCentreSpacingH) + " mm", spacingClause,
         verdict(layout.centreSpacingH <= l.maximumCentreSpacingH)},
    };
    w.table(std::move(t));
    if (!r.designed) return;
    w.paragraph("满足构造要求及配筋参数（" + barPreferencesSummary(r.column.barPreferences) +
                "）的对称配筋方案共 " + std::to_string(r.layoutsConsidered) +
                " 种，取能承受全部荷载组合且用钢量最少者(其次根数最少、直径种类最少)。");
    w.heading(2, "截面配筋图");
    if (auto picture = layoutPicture(r)) {
        w.picture(std::move(*picture));
    } else {
        w.paragraph("截面尺寸不是有限数值，无法绘图。");
    }
}

// The ultimate contour of the layout at the governing combination's N, every 5 degrees.
std::vector<ContourPoint> governingContour(const Gb2010Design& r, double N) {
    const SectionResistance section =
        layoutSection(r.column, r.materials, *r.layout, kUltimateTensileStrain);
    const UltimateContour contour(section, N * 1000.0);
    if (!contour.reachable()) return {};
    constexpr int kPoints = 72;
    constexpr double kStep = 5.0;
    std::vector<double> directions;
    directions.reserve(kPoints);
    for (int k = 0; k < kPoints; ++k) {
        directions.push_back(kStep * static_cast<double>(k) * std::numbers::pi / 180.0);
    }
    const std::vector<UltimateState> states = contour.inMomentDirections(directions);
    std::vector<ContourPoint> points;
    points.reserve(states.size());
    for (std::size_t k = 0; k < states.size(); ++k) {
        points.push_back(
            {kStep * static_cast<double>(k), states[k].forces.Mx / 1e6, states[k].forces.My / 1e6});
    }
    return points;
}

void writeGoverning(BookWriter& w, const Gb2010Design& r) {
    const std::size_t gi = static_cast<std::size_t>(r.governing);
    const CombinationCheck& g = r.combinations[gi];
    const CombinationDemand& d = g.demand;
    const Materials2010& m = r.materials;
    const Gb2010Column& c = r.column;
    const BarLayout& layout = *r.layout;
    w.heading(2, "控制组合");
    w.paragraph("控制组合：组合" + std::to_string(r.governing + 1) + "(利用率 " +
                f(g.utilisation, 3) + "，N/(0.9φ(fcA + fy'As')) = " + f(g.axialUtilisation, 3) +
                ")");
    w.formula("利用率", "|M|/|MR| = √(Mx² + My²) / √(MxR² + MyR²)",
              "√(" + f(d.Mx, 2) + "² + " + f(d.My, 2) + "²) / √(" + f(g.MxR, 2) + "² + " +
                  f(g.MyR, 2) + "²)",
              f(g.utilisation, 3) + (g.utilisation <= 1.0 ? " ≤ 1，满足" : " > 1，不满足"));
    const double gross = c.b * c.h;
    const bool net = layout.steelArea / gross > kNetAreaRatio;
    const bool across = r.limits.directions != MomentDirections::Biaxial;
    w.formula(
        net ? (across ? "垂直于弯矩作用平面的轴心受压承载力（6.2.17、6.2.15，配筋率大于 3% 时 A "
                        "取 A − As′）"
                      : "轴心受压承载力（6.2.15，配筋率大于 3% 时 A 取 A − As′）")
            : (across ? "垂直于弯矩作用平面的轴心受压承载力（6.2.17、6.2.15）"
                      : "轴心受压承载力（6.2.15）"),
        "0.9φ(fcA + fy′As′)",
        "0.9 × " + f(r.limits.phi, 4) + " × (" + f(m.fc, 1) + " × " +
            (net ? f(gross - layout.steelArea, 1) : len(gross)) + " + " + f(m.fycAxial, 0) + " × " +
            f(layout.steelArea, 1) + ") / 1000",
        f(g.axialCapacity, 1) + " kN");
    w.formula(
        "", "N/(0.9φ(fcA + fy′As′))", f(d.N, 2) + " / " + f(g.axialCapacity, 1),
        f(g.axialUtilisation, 3) + (g.axialUtilisation <= 1.0 ? " ≤ 1，满足" : " > 1，不满足"));
    const double fycNu0 = kEngineeringChoices.capFycInNu0 ? m.fycAxial : m.fyc;
    w.formula("近似公式（6.2.21，供参考）", "Nu0 = fcA + fy′As",
              "(" + f(m.fc, 1) + " × " + len(gross) + " + " + f(fycNu0, 0) + " × " +
                  f(layout.steelArea, 1) + ") / 1000",
              f(g.Nu0, 1) + " kN");
    w.formula("", "Nu = 1/(1/Nux + 1/Nuy - 1/Nu0)",
              "1/(1/" + f(g.Nux, 1) + " + 1/" + f(g.Nuy, 1) + " - 1/" + f(g.Nu0, 1) + ")",
              f(g.Nu, 1) + " kN，N/Nu = " + f(d.N / g.Nu, 3));

    if (!std::isfinite(g.utilisation)) return;
    ContourFigure figure;
    figure.N = d.N;
    figure.contour = governingContour(r, d.N);
    figure.Mx = d.Mx;
    figure.My = d.My;
    figure.MxR = g.MxR;
    figure.MyR = g.MyR;
    figure.utilisation = g.utilisation;
    // Other combinations with the same axial force lie on the same contour.
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationDemand& other = r.combinations[k].demand;
        if (k != gi && other.N == d.N) {
            figure.others.push_back({other.Mx, other.My, "组合" + std::to_string(k + 1)});
        }
    }
    figure.caption = "控制组合（组合" + std::to_string(r.governing + 1) +
                     "）轴力下的 Mx-My 承载力曲线（每 5° 一点，钢筋按实际位置）、设计弯矩 M "
                     "与同方向的承载力 MR";
    if (auto picture = contourPicture(figure)) w.picture(std::move(*picture));
}

void writeChecks(BookWriter& w, const Gb2010Design& r) {
    w.heading(1, "承载力验算");
    w.paragraph(
        "双向偏心受压(6.2.21、附录E)：平截面假定，按每根钢筋的实际位置和直径计算，"
        "钢筋极限拉应变0.01；在同一轴力N下沿设计弯矩方向求极限弯矩MR，利用率 = |M|/|MR|。");
    w.paragraph(kGeneralMethodGoverns);
    BookTable t;
    t.header = {"组合",       "N (kN)",     "Mx (kN·m)",       "My (kN·m)",
                "MxR (kN·m)", "MyR (kN·m)", "利用率 |M|/|MR|", "结论"};
    BookTable a;
    a.header = {"组合",
                "0.9φ(fcA + fy′As′) (kN)",
                "N/(0.9φ(fcA + fy′As′))",
                "Nux (kN)",
                "Nuy (kN)",
                "Nu0 (kN)",
                "Nu (kN)",
                "N/Nu"};
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationCheck& c = r.combinations[k];
        const CombinationDemand& d = c.demand;
        const bool beyond = std::isinf(c.utilisation);
        t.rows.push_back({std::to_string(k + 1), f(d.N, 2), f(d.Mx, 2), f(d.My, 2),
                          beyond ? "—" : f(c.MxR, 2), beyond ? "—" : f(c.MyR, 2),
                          f(c.utilisation, 3),
                          beyond ? "轴力超出截面承载范围，不满足" : verdict(c.utilisation <= 1.0)});
        a.rows.push_back(
            {std::to_string(k + 1), f(c.axialCapacity, 1),
             f(c.axialUtilisation, 3) + (c.axialUtilisation <= 1.0 ? "，满足" : "，不满足"),
             f(c.Nux, 1), f(c.Nuy, 1), f(c.Nu0, 1), f(c.Nu, 1), f(d.N / c.Nu, 3)});
    }
    w.table(std::move(t));
    w.paragraph("轴心受压(6.2.15)与近似公式(6.2.21，供参考)：");
    w.table(std::move(a));
    if (r.designed && r.governing >= 0) writeGoverning(w, r);
}

// The combinations' kinds and shears, gammaRE of the seismic ones, and the stirrup chapter: the
// lines of the report's 箍筋 block, so that the two agree digit for digit.
void writeStirrups(BookWriter& w, const ColumnWithStirrups& whole) {
    const Gb2010Design& r = whole.longitudinal;
    w.heading(1, "箍筋设计");
    w.heading(2, "荷载组合的类别与剪力");
    const std::string treatment = combinationKindTreatmentText(r);
    if (!treatment.empty()) w.paragraph(treatment + "。");
    BookTable t;
    t.header = {"组合", "Vx (kN)", "Vy (kN)", "类别", "正截面 γRE"};
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationCheck& c = r.combinations[k];
        const bool shear = whole.stirrups && k < whole.stirrups->combinations.size();
        const ShearCheck* v = shear ? &whole.stirrups->combinations[k].check : nullptr;
        t.rows.push_back({std::to_string(k + 1), v != nullptr ? f(v->x.V, 2) : "—",
                          v != nullptr ? f(v->y.V, 2) : "—", combinationKindLabel(c.kind),
                          f(c.gammaRE, 2)});
        if (c.gammaRE != 1.0) {
            const double ratio = c.demand.axialRatio;
            w.paragraph("组合" + std::to_string(k + 1) +
                        "为地震组合（GB 50010 11.1.6）：N/(fcA) = " + f(ratio, 3) +
                        (ratio < 0.15 ? " < 0.15，γRE = " : " ≥ 0.15，γRE = ") + f(c.gammaRE, 2) +
                        "，按 γRE·N、γRE·M 与截面承载力比较。");
        }
    }
    w.table(std::move(t));
    if (!whole.stirrups) {
        w.paragraph("没有可用的纵筋配筋方案，不设计箍筋。");
        return;
    }
    for (const StirrupLine& line : stirrupBlockLines(whole)) {
        if (line.heading) {
            w.heading(2, line.text);
        } else {
            w.paragraph(line.text);
        }
    }
    const StirrupDesign& s = *whole.stirrups;
    if (s.designed) {
        w.paragraph("箍筋结论：" + stirrupNotation(s.column.stirrupSteel, s.choice) + "，类型 " +
                    stirrupType(s.choice) + "，满足全部荷载组合的受剪承载力及构造要求");
    } else {
        w.paragraph("箍筋结论：不满足，" + stirrupFailureText(s));
    }
}

Book buildBook(const BookInfo& info, const Gb2010Design& design, const ColumnWithStirrups* whole) {
    const Gb2010Design& r = design;
    Book book;
    book.title = "矩形截面双向偏心受压柱配筋计算书（GB 50010-2010）";
    BookWriter w(book);
    std::vector<std::string> basis{kBasis2010};
    if (r.column.seismic != SeismicGrade::None) basis.emplace_back(kBasisSeismic);
    book.cover =
        bookCover(info,
                  r.column.seismic != SeismicGrade::None
                      ? "矩形截面双向偏心受压柱配筋设计（GB 50010-2010(2015年版)，抗震构造 "
                        "GB 50011-2010(2016年版)）"
                      : "矩形截面双向偏心受压柱配筋设计（GB 50010-2010(2015年版)）",
                  std::move(basis));
    w.paragraph(
        "单位：长度 mm，力 kN，弯矩 kN·m，强度 N/mm²，面积 mm²。数值与计算书文件 "
        "Result-GB2010.txt 相同。");
    writeInputs(w, r);
    writeMaterials(w, r);
    writeLimits(w, r);
    writeDemands(w, r);
    writeLayout(w, r);
    if (r.layout) writeChecks(w, r);
    if (whole != nullptr) writeStirrups(w, *whole);
    w.heading(1, "结论");
    if (r.designed) {
        w.paragraph("结论：" + layoutNotation(r.layout->choice, r.column.steel) +
                    "，满足全部荷载组合的承载力及构造要求");
        if (whole != nullptr && whole->stirrups) {
            const StirrupDesign& s = *whole->stirrups;
            w.paragraph(s.designed ? "箍筋：" + stirrupNotation(s.column.stirrupSteel, s.choice) +
                                         "，类型 " + stirrupType(s.choice)
                                   : "箍筋：不满足，" + stirrupFailureText(s));
        }
    } else {
        w.paragraph("结论：不满足，请加大截面或提高材料强度等级（" + noLayoutReasonText(r) + "）");
    }
    if (whole != nullptr) {
        // The column's row of the schedule (柱表), as the drawings list it.
        BookTable schedule;
        schedule.header.assign(kScheduleHeader.begin(), kScheduleHeader.end());
        schedule.rows.push_back(scheduleCells(scheduleRow(info.columnId, *whole), true));
        w.paragraph("柱表（列表注写方式，16G101-1）：");
        w.table(std::move(schedule));
    }
    return book;
}

}  // namespace

Book buildGb2010Book(const BookInfo& info, const Gb2010Design& design) {
    return buildBook(info, design, nullptr);
}

Book buildGb2010Book(const BookInfo& info, const ColumnWithStirrups& column) {
    return buildBook(info, column.longitudinal, &column);
}

}  // namespace tessarin
