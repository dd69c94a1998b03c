#include "book/design_book.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "book/book_pictures.h"
#include "book/book_writer.h"
#include "platform/process.h"
#include "report/section_check_text.h"
#include "text/number_text.h"

#ifndef TESSARIN_VERSION
#define TESSARIN_VERSION "1.0"
#endif

namespace tessarin {

namespace {

std::string f(double value) {
    return formatFixed(value);
}

const char* steelName(int code) {
    switch (code) {
        case 1:
            return "HPB235";
        case 2:
            return "HRB335";
        default:
            return "HRB400";
    }
}

// The symbols of one direction as the book writes them.
struct Axis {
    int code;
    const char* axis;    // "x" or "y"
    const char* depth;   // "h" or "b"
    const char* width;   // "b" or "h"
    const char* a;       // "ax" or "ay"
    const char* moment;  // "M0x" or "M0y"
};
constexpr Axis kX{1, "x", "h", "b", "ax", "M0x"};
constexpr Axis kY{2, "y", "b", "h", "ay", "M0y"};

struct DirectionValues {
    double depth, width, a, moment, e0, ea, ei, zeta1, zeta2, eta, nd, nu, as;
};

DirectionValues valuesOf(const ColumnCalculator& c, const Axis& d) {
    if (d.code == 1) {
        return {c.h,      c.b,      c.ax,   c.M0x,      c.e0x, c.eax, c.eix,
                c.zetaX1, c.zetaX2, c.etaX, c.NxDesign, c.Nux, c.Asex};
    }
    return {c.b,      c.h,      c.ay,   c.M0y,      c.e0y, c.eay, c.eiy,
            c.zetaY1, c.zetaY2, c.etaY, c.NyDesign, c.Nuy, c.Asey};
}

std::string sym(const char* base, const Axis& d, const char* suffix = "") {
    return std::string(base) + d.axis + suffix;
}

void writeInputs(BookWriter& w, const ColumnCalculator& c) {
    w.heading(1, "输入数据");
    BookTable t;
    t.header = {"项目", "符号", "数值", "单位"};
    t.rows = {
        {"柱计算长度", "l0", f(c.l0), "mm"},
        {"柱截面宽度", "b", f(c.b), "mm"},
        {"柱截面高度", "h", f(c.h), "mm"},
        {"X轴方向的弯矩", "M0x", f(c.M0x), "kN·m"},
        {"Y轴方向的弯矩", "M0y", f(c.M0y), "kN·m"},
        {"轴力", "N", f(c.N), "kN"},
        {"钢筋Asx的合力点至截面近边的距离", "ax", f(c.ax), "mm"},
        {"钢筋Asy的合力点至截面近边的距离", "ay", f(c.ay), "mm"},
        {"混凝土强度等级", "", "C" + f(c.concreteGrade), ""},
        {"钢筋强度等级", "", std::string("热轧钢筋") + steelName(c.steelGrade), ""},
    };
    w.table(std::move(t));
}

void writeMaterials(BookWriter& w, const ColumnCalculator& c) {
    w.heading(1, "材料");
    BookTable t;
    t.header = {"项目", "符号", "数值", "单位"};
    t.rows = {
        {"混凝土轴心抗压强度设计值", "fc", f(c.fc), "N/mm²"},
        {"钢筋抗拉、抗压强度设计值", "fy", f(c.fy), "N/mm²"},
        {"钢筋弹性模量", "Es", f(c.Es), "N/mm²"},
        {"受压区混凝土等效矩形应力图系数", "α1", f(c.alpha1), ""},
        {"受压区高度系数", "β1", f(c.beta1), ""},
    };
    w.table(std::move(t));
    // The ultimate strain is 0.0033 up to C50 and falls by 0.00001 a grade step above.
    double ecu = 0.0033 - (c.concreteGrade - 50.0) * 0.00001;
    if (ecu > 0.0033) ecu = 0.0033;
    w.formula("混凝土极限压应变", "εcu = 0.0033 − (fcu,k − 50) × 0.00001 ≤ 0.0033",
              "0.0033 − (" + f(c.concreteGrade) + " − 50) × 0.00001", f(ecu));
    w.formula("相对界限受压区高度", "ξb = β1 / (fy / (Es × εcu) + 1)",
              f(c.beta1) + " / (" + f(c.fy) + " / (" + f(c.Es) + " × " + f(ecu) + ") + 1)",
              f(c.xiB));
}

void writeEccentricity(BookWriter& w, const ColumnCalculator& c, const Axis& d) {
    const DirectionValues v = valuesOf(c, d);
    w.heading(2, std::string(d.axis) + " 方向（截面高度 " + d.depth + "）");
    const std::string e0 = sym("e0", d), ea = sym("ea", d), ei = sym("ei", d);
    w.formula(std::string("轴向压力对截面重心在") + d.axis + "方向的偏心距",
              e0 + " = " + d.moment + " × 1000 / N", f(v.moment) + " × 1000 / " + f(c.N),
              f(v.e0) + " mm");
    const double t = v.depth * 0.03333333333333333;
    w.formula(
        std::string("在") + d.axis + "方向的附加偏心距（取 20 mm 与 " + d.depth + "/30 的较大值）",
        ea + " = max(20, " + d.depth + " / 30)", "max(20, " + f(t) + ")", f(v.ea) + " mm");
    w.formula(std::string("在") + d.axis + "方向的初始偏心距", ei + " = " + e0 + " + " + ea,
              f(v.e0) + " + " + f(v.ea), f(v.ei) + " mm");
    const double h0 = v.depth - v.a;
    const std::string h0s = sym("h0", d);
    w.formula("截面有效高度", h0s + " = " + d.depth + " − " + d.a, f(v.depth) + " − " + f(v.a),
              f(h0) + " mm");
    const double zeta1 =
        (d.code == 1 ? ((c.fc * c.b) * c.h) * 0.5 : ((c.fc * c.h) * c.b) * 0.5) / c.N;
    const std::string z1 = std::string("ζ") + d.axis + "1", z2 = std::string("ζ") + d.axis + "2";
    w.formula("考虑偏心距的变化对截面曲率的影响系数（不大于 1.0）", z1 + " = 0.5 × fc × b × h / N",
              "0.5 × " + f(c.fc) + " × " + f(c.b) + " × " + f(c.h) + " / " + f(c.N),
              f(zeta1) + (zeta1 > 1.0 ? " > 1.0，取 " + z1 + " = " + f(v.zeta1) : ""));
    const double zeta2 = 1.15 - ((c.l0 * 0.01) / v.depth);
    const double r = c.l0 / v.depth;
    std::string zeta2Result = f(zeta2);
    if (zeta2 > 1.0) {
        zeta2Result += " > 1.0，取 " + z2 + " = " + f(v.zeta2);
    } else if (r < 15.0) {
        zeta2Result +=
            "；l0/" + std::string(d.depth) + " = " + f(r) + " < 15，取 " + z2 + " = " + f(v.zeta2);
    }
    w.formula("考虑长细比的变化对截面曲率的影响系数（不大于 1.0；l0/" + std::string(d.depth) +
                  " < 15 时取 1.0）",
              z2 + " = 1.15 − 0.01 × l0 / " + d.depth,
              "1.15 − 0.01 × " + f(c.l0) + " / " + f(v.depth), zeta2Result);
    w.formula(std::string("在") + d.axis + "方向的偏心距增大系数",
              std::string("η") + d.axis + " = 1 + (l0/" + d.depth + ")² × " + z1 + " × " + z2 +
                  " / (1400 × " + ei + " / " + h0s + ")",
              "1 + (" + f(r) + ")² × " + f(v.zeta1) + " × " + f(v.zeta2) + " / (1400 × " + f(v.ei) +
                  " / " + f(h0) + ")",
              f(v.eta));
}

void writeAxialSplit(BookWriter& w, const ColumnCalculator& c) {
    w.heading(1, "轴力在两个方向的分配");
    const double rx = c.etaX * c.eix / (c.h - c.ax);
    const double ry = c.etaY * c.eiy / (c.b - c.ay);
    const double beta = (2.0 * rx / (rx + ry) + 1.0) * 0.25;
    w.formula("x 方向的相对偏心距", "rx = ηx × eix / (h − ax)",
              f(c.etaX) + " × " + f(c.eix) + " / (" + f(c.h) + " − " + f(c.ax) + ")", f(rx));
    w.formula("y 方向的相对偏心距", "ry = ηy × eiy / (b − ay)",
              f(c.etaY) + " × " + f(c.eiy) + " / (" + f(c.b) + " − " + f(c.ay) + ")", f(ry));
    w.formula("分配系数", "β = (2 × rx / (rx + ry) + 1) × 0.25",
              "(2 × " + f(rx) + " / (" + f(rx) + " + " + f(ry) + ") + 1) × 0.25", f(beta));
    w.formula("x 方向的设计轴力", "Nx = N / β", f(c.N) + " / " + f(beta), f(c.NxDesign) + " kN");
    w.formula("y 方向的设计轴力", "Ny = N / (1 − β)", f(c.N) + " / (1 − " + f(beta) + ")",
              f(c.NyDesign) + " kN");
}

void writeEquivalentSteel(BookWriter& w, const ColumnCalculator& c, const Axis& d) {
    const DirectionValues v = valuesOf(c, d);
    const std::string ase = sym("Ase", d), nu = sym("Nu", d), nd = std::string("N") + d.axis;
    w.heading(2, std::string(d.axis) + " 方向：" + ase);
    const double h0 = v.depth - v.a;
    w.formula("迭代初值",
              "As = (" + std::string(d.depth) + " − " + d.a + ") × fc × " + d.width + " × 0.2 / fy",
              "(" + f(v.depth) + " − " + f(v.a) + ") × " + f(c.fc) + " × " + f(v.width) +
                  " × 0.2 / " + f(c.fy),
              f((v.depth - v.a) * c.fc * v.width * 0.2 / c.fy) + " mm²");
    w.paragraph("每次迭代：Nu0 = α1 × fc × h × b + 2 × fy × As；1/" + nu + " = 0.5/Nu0 + 1/(" + nd +
                " × 1000)；x = " + nu + " / (α1 × fc × " + d.width +
                ")。x 大于界限受压区高度 xb = ξb × " + sym("h0", d) + " = " + f(h0) + " × " +
                f(c.xiB) + " = " + f(h0 * c.xiB) +
                " mm 时按小偏心受压公式，否则按大偏心受压公式；两次结果之差不大于 " +
                f(c.tolerance) + " mm² 时结束，取两次结果的平均值。");
    const std::vector<IterationPass> passes =
        traceEquivalentSteel(c.design(), d.code == 1 ? Direction::X : Direction::Y);
    BookTable t;
    t.header = {"次",     "As (mm²)", "Nu0 (N)",     nu + " (N)",
                "x (mm)", "公式",     "新 As (mm²)", "差 (mm²)"};
    // A design that never settles runs a thousand passes: the first and the last ones tell it.
    constexpr std::size_t kShown = 12;
    for (std::size_t i = 0; i < passes.size(); ++i) {
        if (passes.size() > kShown + 2 && i == kShown) {
            t.rows.push_back({"…", "", "", "", "", "", "", ""});
            i = passes.size() - 2;
        }
        const IterationPass& p = passes[i];
        t.rows.push_back({std::to_string(i + 1), f(p.previous), f(p.Nu0), f(p.Nu), f(p.x),
                          p.small ? "小偏心" : "大偏心", f(p.next),
                          f(std::fabs(p.next - p.previous))});
    }
    w.table(std::move(t));
    if (!passes.empty()) {
        const IterationPass& last = passes.back();
        const double etaEi = v.eta * v.ei;
        const std::string etaEis = std::string("η") + d.axis + " × " + sym("ei", d);
        if (last.small) {
            const double ne = last.Nu * (etaEi + 0.5 * v.depth - v.a);
            const double p = c.alpha1 * c.fc * v.width * h0;
            const double xi = c.xiB + (last.Nu - c.xiB * p) /
                                          (p + (ne - 0.43 * p * h0) / ((0.8 - c.xiB) * (h0 - v.a)));
            w.paragraph("末次迭代按小偏心受压公式：");
            w.formula(
                "", "Ne = " + nu + " × (" + etaEis + " + 0.5 × " + d.depth + " − " + d.a + ")",
                f(last.Nu) + " × (" + f(etaEi) + " + 0.5 × " + f(v.depth) + " − " + f(v.a) + ")",
                f(ne) + " N·mm");
            w.formula("", "P = α1 × fc × " + std::string(d.width) + " × h0",
                      f(c.alpha1) + " × " + f(c.fc) + " × " + f(v.width) + " × " + f(h0),
                      f(p) + " N");
            w.formula("",
                      "ξ = ξb + (" + nu +
                          " − ξb × P) / (P + (Ne − 0.43 × P × h0) / ((0.8 − ξb) × (h0 − " + d.a +
                          ")))",
                      f(c.xiB) + " + (" + f(last.Nu) + " − " + f(c.xiB) + " × " + f(p) + ") / (" +
                          f(p) + " + (" + f(ne) + " − 0.43 × " + f(p) + " × " + f(h0) +
                          ") / ((0.8 − " + f(c.xiB) + ") × (" + f(h0) + " − " + f(v.a) + ")))",
                      f(xi));
            w.formula("",
                      "As = (Ne − fc × " + std::string(d.width) +
                          " × h0² × ξ × (1 − 0.5 × ξ)) / (fy × (h0 − " + d.a + "))",
                      "(" + f(ne) + " − " + f(c.fc) + " × " + f(v.width) + " × " + f(h0) + "² × " +
                          f(xi) + " × (1 − 0.5 × " + f(xi) + ")) / (" + f(c.fy) + " × (" + f(h0) +
                          " − " + f(v.a) + "))",
                      f(last.next) + " mm²");
        } else {
            const double xUsed = last.x >= 2.0 * v.a ? last.x : 2.0 * v.a;
            w.paragraph("末次迭代按大偏心受压公式（x 小于 2" + std::string(d.a) + " 时取 x = 2" +
                        d.a + "，此处 x = " + f(xUsed) + " mm）：");
            w.formula("",
                      "As = " + nu + " × (" + etaEis + " − 0.5 × " + d.depth +
                          " + 0.5 × x) / (fy × (h0 − " + d.a + "))",
                      f(last.Nu) + " × (" + f(etaEi) + " − 0.5 × " + f(v.depth) + " + 0.5 × " +
                          f(xUsed) + ") / (" + f(c.fy) + " × (" + f(h0) + " − " + f(v.a) + "))",
                      f(last.next) + " mm²");
        }
        w.formula("纵向等效钢筋面积", ase + " = (As末次 + As前次) / 2",
                  "(" + f(last.next) + " + " + f(last.previous) + ") / 2", f(v.as) + " mm²");
    }
    w.formula(std::string("作用于") + d.axis + "轴偏心受压承载力设计值（末次迭代）", nu, "",
              f(v.nu) + " N");
    const bool converged = d.code == 1 ? c.convergedX : c.convergedY;
    if (!converged) {
        w.paragraph("注意：" + std::string(d.axis) + " 方向的迭代在 " +
                    std::to_string(passes.size()) + " 次后仍未收敛，结果取最后两次的平均值。");
    }
}

// The share of the other faces' web steel counted in one direction, with its branch.
double writeWebFactor(BookWriter& w, const ColumnCalculator& c, const Axis& axis) {
    const Axis* d = &axis;
    const DirectionValues v = valuesOf(c, *d);
    const double p = v.eta * v.ei;
    const double q = v.depth - v.a;
    const double r = p / q;
    const std::string k = std::string("k") + d->axis;
    const std::string etaEi = "η" + std::string(d->axis) + " × " + sym("ei", *d);
    const std::string arm = std::string("(") + d->depth + " − " + d->a + ")";
    const std::string pq = etaEi + " / " + arm + " = " + f(p) + " / " + f(q) + " = " + f(r);
    double cf = 0.0;
    if (r > 0.5) {
        cf = 0.36 - (q * 0.13) / p;
        w.formula(std::string(d->axis) + " 方向腹部钢筋系数（" + pq + " > 0.5）",
                  k + " = 0.36 − 0.13 × " + arm + " / (" + etaEi + ")",
                  "0.36 − 0.13 × " + f(q) + " / " + f(p), f(cf));
    } else {
        cf = 0.5 - (p * 0.8) / q;
        w.formula(std::string(d->axis) + " 方向腹部钢筋系数（" + pq + " ≤ 0.5）",
                  k + " = 0.5 − 0.8 × " + etaEi + " / " + arm, "0.5 − 0.8 × " + f(p) + " / " + f(q),
                  f(cf));
    }
    return cf;
}

void writeLayout(BookWriter& w, const BookCase& bc, const ColumnCalculator& c) {
    w.heading(1, "钢筋布置（step2）");
    w.paragraph("选用第 " + std::to_string(c.scheme) + " 钢筋布置方案" +
                (c.scheme == 1   ? "：选定角点钢筋"
                 : c.scheme == 2 ? "：选用相同直径的钢筋"
                                 : ""));
    const double cX = writeWebFactor(w, c, kX);
    const double cY = writeWebFactor(w, c, kY);
    w.paragraph("两方向的等效关系：Asex = Asx + 2 × kx × Aswy，Asey = Asy + 2 × ky × Aswx。");
    if (c.scheme == 1) {
        const double dd = 1.0 - (cY * cX) * 4.0;
        w.formula("角部钢筋面积（d = " + f(bc.diameter) + " mm）", "Asc = d² × 0.78539815",
                  f(bc.diameter) + "² × 0.78539815", f(c.Asc) + " mm²");
        w.formula("", "D = 1 − 4 × kx × ky", "1 − 4 × " + f(cX) + " × " + f(cY), f(dd));
        w.formula("布置在垂直于X轴两对边腹部的单边纵向钢筋面积",
                  "Aswx = (Asex − 2 × kx × Asey − 2 × (1 − 2 × kx) × Asc) / D",
                  "(" + f(c.Asex) + " − 2 × " + f(cX) + " × " + f(c.Asey) + " − 2 × (1 − 2 × " +
                      f(cX) + ") × " + f(c.Asc) + ") / " + f(dd),
                  f(c.Aswx) + " mm²");
        w.formula("布置在垂直于Y轴两对边腹部的单边纵向钢筋面积",
                  "Aswy = (Asey − 2 × ky × Asex − 2 × (1 − 2 × ky) × Asc) / D",
                  "(" + f(c.Asey) + " − 2 × " + f(cY) + " × " + f(c.Asex) + " − 2 × (1 − 2 × " +
                      f(cY) + ") × " + f(c.Asc) + ") / " + f(dd),
                  f(c.Aswy) + " mm²");
        w.formula("布置在垂直于X轴两对边的单边纵向钢筋面积", "Asx = 2 × Asc + Aswx",
                  "2 × " + f(c.Asc) + " + " + f(c.Aswx), f(c.Asx) + " mm²");
        w.formula("布置在垂直于Y轴两对边的单边纵向钢筋面积", "Asy = 2 × Asc + Aswy",
                  "2 × " + f(c.Asc) + " + " + f(c.Aswy), f(c.Asy) + " mm²");
    } else if (c.scheme == 2) {
        const double rx = bc.ratioX, ry = bc.ratioY;
        const double dd = 1.0 - (((cY * cX) * rx) * ry) * 4.0;
        w.paragraph("腹部钢筋比例：Aswx/Asx = " + f(rx) + "，Aswy/Asy = " + f(ry) + "。");
        w.formula("", "D = 1 − 4 × kx × ky × (Aswx/Asx) × (Aswy/Asy)",
                  "1 − 4 × " + f(cX) + " × " + f(cY) + " × " + f(rx) + " × " + f(ry), f(dd));
        w.formula("布置在垂直于X轴两对边的单边纵向钢筋面积",
                  "Asx = (Asex − 2 × kx × (Aswy/Asy) × Asey) / D",
                  "(" + f(c.Asex) + " − 2 × " + f(cX) + " × " + f(ry) + " × " + f(c.Asey) + ") / " +
                      f(dd),
                  f(c.Asx) + " mm²");
        w.formula("布置在垂直于Y轴两对边的单边纵向钢筋面积",
                  "Asy = (Asey − 2 × ky × Asex × (Aswx/Asx)) / D",
                  "(" + f(c.Asey) + " − 2 × " + f(cY) + " × " + f(c.Asex) + " × " + f(rx) + ") / " +
                      f(dd),
                  f(c.Asy) + " mm²");
        w.formula("布置在垂直于X轴两对边腹部的单边纵向钢筋面积", "Aswx = Asx × (Aswx/Asx)",
                  f(c.Asx) + " × " + f(rx), f(c.Aswx) + " mm²");
        w.formula("布置在垂直于Y轴两对边腹部的单边纵向钢筋面积", "Aswy = Asy × (Aswy/Asy)",
                  f(c.Asy) + " × " + f(ry), f(c.Aswy) + " mm²");
        w.paragraph("(选用钢筋的时候注意选用相同直径的钢筋)");
    }
}

void writeResults(BookWriter& w, const ColumnCalculator& c) {
    w.heading(1, "计算结果");
    BookTable t;
    t.header = {"项目", "符号", "数值", "单位"};
    t.rows = {
        {"作用于x轴偏心受压承载力设计值", "Nux", f(c.Nux), "N"},
        {"作用于y轴偏心受压承载力设计值", "Nuy", f(c.Nuy), "N"},
        {"纵向等效钢筋面积", "Asex", f(c.Asex), "mm²"},
        {"纵向等效钢筋面积", "Asey", f(c.Asey), "mm²"},
    };
    if (c.scheme == 1) t.rows.push_back({"角部钢筋面积", "Asc", f(c.Asc), "mm²"});
    if (c.scheme == 1 || c.scheme == 2) {
        t.rows.push_back({"布置在垂直于X轴两对边腹部的单边纵向钢筋面积", "Aswx", f(c.Aswx), "mm²"});
        t.rows.push_back({"布置在垂直于Y轴两对边腹部的单边纵向钢筋面积", "Aswy", f(c.Aswy), "mm²"});
        t.rows.push_back({"布置在垂直于X轴两对边的单边纵向钢筋面积", "Asx", f(c.Asx), "mm²"});
        t.rows.push_back({"布置在垂直于Y轴两对边的单边纵向钢筋面积", "Asy", f(c.Asy), "mm²"});
    }
    w.table(std::move(t));
    if (!(c.Asex >= 0.0 && c.Asey >= 0.0 && c.Aswx >= 0.0 && c.Aswy >= 0.0)) {
        w.paragraph("负的钢筋面积按计算结果列出：混凝土截面本身已足够，纵筋按构造要求配置。");
    }
}

void writeSectionCheck(BookWriter& w, const SectionCheckResult& r) {
    w.heading(1, "截面验算（应变协调法）");
    if (auto picture = contourPicture(r)) w.picture(std::move(*picture));
    // The same lines as the "截面验算" block of the text output, without its title.
    const std::string summary = formatSectionCheckSummary(r);
    std::size_t start = summary.find('\n');
    while (start != std::string::npos && start + 1 < summary.size()) {
        const std::size_t end = summary.find('\n', start + 1);
        w.paragraph(summary.substr(start + 1, end - start - 1));
        start = end;
    }
}

void writeCase(BookWriter& w, const BookCase& bc) {
    // The design's values under the engine's names, and its operations for the passes.
    ColumnCalculator c;
    c.restore(bc.design);
    writeInputs(w, c);
    writeMaterials(w, c);
    w.heading(1, "偏心距与偏心距增大系数");
    writeEccentricity(w, c, kX);
    writeEccentricity(w, c, kY);
    writeAxialSplit(w, c);
    w.heading(1, "等效钢筋面积（step1）");
    writeEquivalentSteel(w, c, kX);
    writeEquivalentSteel(w, c, kY);
    writeLayout(w, bc, c);
    writeResults(w, c);
    w.heading(1, "截面配筋图");
    if (auto picture = sectionPicture(bc)) {
        w.picture(std::move(*picture));
    } else {
        w.paragraph("截面尺寸或钢筋面积不是有限数值，无法绘图。");
    }
    if (bc.check) writeSectionCheck(w, *bc.check);
}

// The conclusion of one case: the areas the layout needs, and with the section check its verdict.
void writeCaseConclusion(BookWriter& w, const BookCase& bc, const std::string& prefix) {
    const ColumnDesign& d = bc.design;
    std::string text =
        prefix + "按 GB 50010-2002 双向偏心受压直接计算，单边纵向钢筋面积 Asx = " + f(d.step2.Asx) +
        " mm²，Asy = " + f(d.step2.Asy) + " mm²";
    if (bc.design.step2.scheme == 1) text += "（其中角部钢筋 Asc = " + f(d.step2.Asc) + " mm²）";
    text += "。";
    if (!(d.step1.Asex >= 0.0 && d.step1.Asey >= 0.0 && d.step2.Aswx >= 0.0 &&
          d.step2.Aswy >= 0.0)) {
        text += "计算面积有负值：混凝土截面本身已足够，纵筋按构造要求配置。";
    }
    w.paragraph(text);
    if (!bc.check) {
        w.paragraph(
            "本计算书为简化的直接计算法，未作截面验算；按所选钢筋进行截面验算"
            "（应变协调法）可确认其承载力。");
        return;
    }
    const SectionCheckResult& r = *bc.check;
    if (r.axialCapacityExceeded) {
        w.paragraph(
            "截面验算（应变协调法）：轴力超出截面承载范围，利用率 = ∞，不满足，"
            "请加大截面或钢筋。");
    } else {
        const std::string utilisation = formatDecimals(r.utilisation, 3);
        w.paragraph("截面验算（应变协调法）：利用率 |M|/|MR| = " + utilisation +
                    (r.utilisation <= 1.0 ? " ≤ 1，满足。" : " > 1，不满足，请加大钢筋或截面。"));
    }
}

void writeEnvelope(BookWriter& w, std::span<const BookCase> cases) {
    w.unnumberedHeading(1, "各荷载组合的钢筋面积及控制值");
    BookTable t;
    t.header = {"组合（行）", "Asex", "Asey", "Asx", "Asy", "Aswx", "Aswy"};
    constexpr std::size_t kFields = 6;
    const auto valueOf = [](const ColumnDesign& d, std::size_t k) {
        const double values[kFields] = {d.step1.Asex, d.step1.Asey, d.step2.Asx,
                                        d.step2.Asy,  d.step2.Aswx, d.step2.Aswy};
        return values[k];
    };
    std::vector<double> largest(kFields, -HUGE_VAL);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::vector<std::string> row{std::to_string(i + 1) + "（" + std::to_string(cases[i].line) +
                                     "）"};
        for (std::size_t k = 0; k < kFields; ++k) {
            const double value = valueOf(cases[i].design, k);
            row.push_back(f(value));
            if (value > largest[k]) largest[k] = value;
        }
        t.rows.push_back(std::move(row));
    }
    std::vector<std::string> row{"最大值"};
    for (const double value : largest) row.push_back(f(value));
    t.rows.push_back(std::move(row));
    w.table(std::move(t));
}

}  // namespace

Book buildDesignBook(const BookInfo& info, std::span<const BookCase> cases) {
    Book book;
    book.title = "双向偏心受压矩形柱配筋计算书";
    BookWriter w(book);
    book.cover =
        bookCover(info, "双向偏心受压矩形柱截面配筋直接计算（GB 50010-2002）", {kBasis2002});
    w.paragraph(
        "单位：长度、偏心距 mm，力 kN（承载力 Nux、Nuy 为 N），弯矩 kN·m，强度 N/mm²，"
        "面积 mm²。数值与计算书文件 Result.txt 相同（六位小数）。");
    if (cases.size() == 1) {
        writeCase(w, cases.front());
        w.heading(1, "结论");
        writeCaseConclusion(w, cases.front(), "结论：");
        return book;
    }
    w.offset = 1;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        w.unnumberedHeading(1, "荷载组合 " + std::to_string(i + 1) + "（输入第 " +
                                   std::to_string(cases[i].line) + " 行）");
        w.restartNumbering();
        writeCase(w, cases[i]);
    }
    w.offset = 0;
    writeEnvelope(w, cases);
    w.unnumberedHeading(1, "结论");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        writeCaseConclusion(w, cases[i], "荷载组合 " + std::to_string(i + 1) + "：");
    }
    return book;
}

std::vector<IterationPass> traceEquivalentSteel(const ColumnDesign& design, Direction direction) {
    // The engine's own iteration, run again on a record of the design with an observer, so that
    // the book lists the numbers the design went through.
    class Collector final : public EquivalentSteelObserver {
      public:
        std::vector<IterationPass> passes;
        void pass(Direction /*direction*/, const EquivalentSteelPass& pass) override {
            passes.push_back(pass);
        }
    };
    ColumnCalculator c;
    c.restore(design);
    Collector collector;
    c.iterateDirection(direction, &collector);
    return std::move(collector.passes);
}

BookCover bookCover(const BookInfo& info, std::string method, std::vector<std::string> basis) {
    BookCover cover;
    cover.project = info.project;
    cover.subProject = info.subProject;
    cover.column = info.columnId;
    cover.method = std::move(method);
    cover.program = programVersionText();
    cover.date = info.date;
    cover.designBasis = std::move(basis);
    cover.designer = info.designer;
    cover.checker = info.checker;
    cover.reviewer = info.reviewer;
    return cover;
}

std::string programVersionText() {
    return std::string("Tessarin ") + TESSARIN_VERSION;
}

std::string todayText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = localTime(now);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace tessarin
