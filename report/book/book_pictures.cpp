#include "report/book/book_pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "report/book/design_book.h"
#include "report/number_text.h"

namespace tessarin {

namespace {

constexpr const char* kConcreteFill = "#eeeee8";
constexpr const char* kCornerColour = "#b02020";
constexpr const char* kWebXColour = "#2050b0";
constexpr const char* kWebYColour = "#208040";
constexpr const char* kAxisColour = "#808080";

const char* groupColour(BarGroup group) {
    switch (group) {
        case BarGroup::corner:
            return kCornerColour;
        case BarGroup::webX:
            return kWebXColour;
        case BarGroup::webY:
            return kWebYColour;
    }
    return "#000000";
}

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

PictureText label(double x, double y, std::string text, double size = 3.0,
                  TextAnchor anchor = TextAnchor::start, const char* colour = "#000000") {
    PictureText t;
    t.x = x;
    t.y = y;
    t.text = std::move(text);
    t.size = size;
    t.anchor = anchor;
    t.colour = colour;
    return t;
}

PictureLine line(double x1, double y1, double x2, double y2, const char* stroke = "#000000",
                 double width = 0.25, bool dashed = false) {
    PictureLine l;
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    l.stroke = stroke;
    l.width = width;
    l.dashed = dashed;
    return l;
}

std::string scaleText(double denominator) {
    // 2.5 is the only scale with a fraction.
    return "1:" + (denominator == std::floor(denominator) ? formatDecimals(denominator, 0)
                                                          : formatDecimals(denominator, 1));
}

}  // namespace

double drawingScale(double size, double room) {
    if (!(size > 0.0) || !(room > 0.0) || !std::isfinite(size) || !std::isfinite(room)) return 0.0;
    const double needed = size / room;
    if (needed <= 1.0) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(needed)));
    for (const double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (mantissa * power >= needed) return mantissa * power;
    }
    return 10.0 * power;
}

double tickStep(double extent) {
    if (!(extent > 0.0) || !std::isfinite(extent)) return 0.0;
    const double raw = extent / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double mantissa : {1.0, 2.0, 5.0, 10.0}) {
        if (mantissa * power >= raw) return mantissa * power;
    }
    return 10.0 * power;
}

std::optional<BookPicture> sectionPicture(const BookCase& bookCase) {
    const ColumnCase& c = bookCase.design.column;
    if (!bookCase.design.finite() || !finite({c.b, c.h, c.ax, c.ay}) || !(c.b > 0.0) ||
        !(c.h > 0.0)) {
        return std::nullopt;
    }
    const SectionCheckResult checked =
        bookCase.check ? *bookCase.check
                       : SectionCheck(bookCase.design).run(SectionCheck::Contour::skipped);
    // The section drawn with h across and b up, within 110 mm by 80 mm of paper.
    const double scale = std::max(drawingScale(c.h, 110.0), drawingScale(c.b, 80.0));
    if (!(scale > 0.0)) return std::nullopt;
    const double w = c.h / scale, ht = c.b / scale;
    constexpr double kLeft = 24.0, kTop = 10.0, kRight = 14.0;
    BookPicture p;
    p.width = std::max(kLeft + w + kRight, 120.0);
    const double x0 = (p.width - w) / 2.0, y0 = kTop;
    const double cx = x0 + w / 2.0, cy = y0 + ht / 2.0;

    PictureRect outline;
    outline.x = x0;
    outline.y = y0;
    outline.w = w;
    outline.h = ht;
    outline.fill = kConcreteFill;
    outline.width = 0.5;
    p.shapes.emplace_back(outline);
    // The axes through the centroid: x along h, y along b.
    p.shapes.emplace_back(line(x0 - 4.0, cy, x0 + w + 6.0, cy, kAxisColour, 0.18, true));
    p.shapes.emplace_back(line(cx, y0 + ht + 4.0, cx, y0 - 6.0, kAxisColour, 0.18, true));
    p.shapes.emplace_back(label(x0 + w + 7.0, cy + 1.0, "x", 3.2));
    p.shapes.emplace_back(label(cx + 1.2, y0 - 6.5, "y", 3.2));

    for (const CheckedBar& bar : checked.bars) {
        if (!(bar.area > 0.0) || !std::isfinite(bar.area)) continue;
        PictureCircle circle;
        circle.cx = cx + bar.u / scale;
        circle.cy = cy - bar.v / scale;
        // A bar of its own diameter at the drawing's scale, never thinner than a dot.
        circle.r = std::max(std::sqrt(bar.area / std::numbers::pi) / scale, 0.5);
        circle.fill = groupColour(bar.group);
        circle.stroke = "#000000";
        circle.width = 0.15;
        p.shapes.emplace_back(circle);
    }

    // Overall dimensions: h below the section, b on its left.
    const double dimY = y0 + ht + 9.0;
    p.shapes.emplace_back(line(x0, dimY, x0 + w, dimY));
    p.shapes.emplace_back(line(x0, y0 + ht + 2.0, x0, dimY + 1.5));
    p.shapes.emplace_back(line(x0 + w, y0 + ht + 2.0, x0 + w, dimY + 1.5));
    p.shapes.emplace_back(
        label(cx, dimY - 1.2, "h = " + formatDecimals(c.h, 0), 3.0, TextAnchor::middle));
    const double dimX = x0 - 9.0;
    p.shapes.emplace_back(line(dimX, y0, dimX, y0 + ht));
    p.shapes.emplace_back(line(x0 - 2.0, y0, dimX - 1.5, y0));
    p.shapes.emplace_back(line(x0 - 2.0, y0 + ht, dimX - 1.5, y0 + ht));
    p.shapes.emplace_back(
        label(dimX - 1.5, cy + 1.0, "b = " + formatDecimals(c.b, 0), 3.0, TextAnchor::end));

    // The legend of the areas, one line per bar group in the bars' colours.
    double y = dimY + 7.0;
    const double legendX = std::min(x0, 20.0);
    const auto legend = [&](const char* colour, const std::string& text) {
        PictureCircle dot;
        dot.cx = legendX + 1.5;
        dot.cy = y - 1.0;
        dot.r = 1.2;
        dot.fill = colour;
        dot.width = 0.1;
        p.shapes.emplace_back(dot);
        p.shapes.emplace_back(label(legendX + 4.5, y, text, 3.0));
        y += 5.0;
    };
    legend(kCornerColour, "角部钢筋 4 × " + formatFixed(checked.cornerBarArea) + " mm²");
    legend(kWebXColour, "垂直于X轴两对边腹部 每边 " + formatFixed(checked.webAreaX) + " mm²");
    legend(kWebYColour, "垂直于Y轴两对边腹部 每边 " + formatFixed(checked.webAreaY) + " mm²");
    if (checked.negativeAreaClamped) {
        p.shapes.emplace_back(label(legendX, y, "负的钢筋面积按 0 绘出", 3.0));
        y += 5.0;
    }
    p.height = y;
    p.caption = "截面配筋图（比例 " + scaleText(scale) + "，ax = " + formatDecimals(c.ax, 0) +
                " mm，ay = " + formatDecimals(c.ay, 0) +
                " mm；腹部钢筋每边按三根等面积钢筋示意，圆的大小按面积）";
    return p;
}

std::optional<BookPicture> contourPicture(const SectionCheckResult& r) {
    if (r.axialCapacityExceeded || r.contour.empty()) return std::nullopt;
    double ex = std::fabs(r.Mx), ey = std::fabs(r.My);
    for (const ContourPoint& point : r.contour) {
        if (!finite({point.MxR, point.MyR})) return std::nullopt;
        ex = std::max(ex, std::fabs(point.MxR));
        ey = std::max(ey, std::fabs(point.MyR));
    }
    if (!finite({r.Mx, r.My, r.MxR, r.MyR, r.N, ex, ey}) || !(ex > 0.0) || !(ey > 0.0)) {
        return std::nullopt;
    }
    // One tick step for both axes, so that the contour keeps its true shape.
    const double step = tickStep(std::max(ex, ey));
    const double reachX = std::ceil(ex / step) * step, reachY = std::ceil(ey / step) * step;
    const double s = 90.0 / (2.0 * std::max(reachX, reachY));  // mm of paper per kN*m
    constexpr double kMargin = 16.0;
    BookPicture p;
    p.width = 2.0 * reachX * s + 2.0 * kMargin + 10.0;
    p.height = 2.0 * reachY * s + 2.0 * kMargin;
    const double ox = kMargin + reachX * s, oy = kMargin + reachY * s;
    const auto px = [&](double mx) { return ox + mx * s; };
    const auto py = [&](double my) { return oy - my * s; };

    // Grid and ticks; the step gives at most five ticks a side.
    for (int k = -static_cast<int>(reachX / step); k <= static_cast<int>(reachX / step); ++k) {
        const double m = k * step;
        p.shapes.emplace_back(line(px(m), py(reachY), px(m), py(-reachY), "#dddddd", 0.12));
        if (k != 0) {
            p.shapes.emplace_back(label(px(m), py(0) + 3.5, formatDecimals(m, 0), 2.4,
                                        TextAnchor::middle, "#555555"));
        }
    }
    for (int k = -static_cast<int>(reachY / step); k <= static_cast<int>(reachY / step); ++k) {
        const double m = k * step;
        p.shapes.emplace_back(line(px(-reachX), py(m), px(reachX), py(m), "#dddddd", 0.12));
        if (k != 0) {
            p.shapes.emplace_back(label(px(0) - 1.0, py(m) + 0.8, formatDecimals(m, 0), 2.4,
                                        TextAnchor::end, "#555555"));
        }
    }
    p.shapes.emplace_back(line(px(-reachX), py(0), px(reachX) + 3.0, py(0), "#000000", 0.3));
    p.shapes.emplace_back(line(px(0), py(-reachY), px(0), py(reachY) - 3.0, "#000000", 0.3));
    p.shapes.emplace_back(label(px(reachX) + 3.5, py(0) + 1.0, "Mx (kN·m)", 3.0));
    p.shapes.emplace_back(label(px(0) + 1.5, py(reachY) - 3.5, "My (kN·m)", 3.0));

    PicturePolyline contour;
    contour.closed = true;
    contour.stroke = "#2050b0";
    contour.width = 0.45;
    for (const ContourPoint& point : r.contour) {
        contour.points.push_back(px(point.MxR));
        contour.points.push_back(py(point.MyR));
    }
    p.shapes.emplace_back(std::move(contour));

    // The demand's moment direction from the origin to the capacity, the capacity point and the
    // demand point.
    p.shapes.emplace_back(line(px(0), py(0), px(r.MxR), py(r.MyR), "#b02020", 0.25, true));
    PictureCircle capacity;
    capacity.cx = px(r.MxR);
    capacity.cy = py(r.MyR);
    capacity.r = 1.2;
    capacity.stroke = "#2050b0";
    capacity.fill = "#ffffff";
    capacity.width = 0.35;
    p.shapes.emplace_back(capacity);
    PictureCircle demand;
    demand.cx = px(r.Mx);
    demand.cy = py(r.My);
    demand.r = 1.2;
    demand.stroke = "#b02020";
    demand.fill = "#b02020";
    p.shapes.emplace_back(demand);
    // The labels go on the outer side of the points, away from the origin.
    const bool right = r.MxR >= 0.0;
    const TextAnchor side = right ? TextAnchor::start : TextAnchor::end;
    const double dx = right ? 2.5 : -2.5;
    const bool up = r.MyR >= 0.0;
    p.shapes.emplace_back(
        label(px(r.MxR) + dx, py(r.MyR) + (up ? -2.0 : 4.0),
              "MR (" + formatDecimals(r.MxR, 2) + ", " + formatDecimals(r.MyR, 2) + ")", 2.8, side,
              "#2050b0"));
    p.shapes.emplace_back(
        label(px(r.Mx) + dx, py(r.My) + (up ? 4.0 : -2.0),
              "M (" + formatDecimals(r.Mx, 2) + ", " + formatDecimals(r.My, 2) + ")", 2.8, side,
              "#b02020"));
    p.shapes.emplace_back(label(3.0, 6.0, "N = " + formatDecimals(r.N, 2) + " kN", 3.0));
    p.shapes.emplace_back(label(3.0, 11.0, "利用率 |M|/|MR| = " + formatDecimals(r.utilisation, 3),
                                3.4, TextAnchor::start,
                                r.utilisation <= 1.0 ? "#106010" : "#c00000"));
    p.caption = "设计轴力下的 Mx-My 承载力曲线（每 5° 一点）、设计弯矩 M 与同方向的承载力 MR";
    return p;
}

}  // namespace tessarin
