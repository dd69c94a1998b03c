#include "book/book_pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "book/design_book.h"
#include "book/grade_symbol.h"
#include "report/gb2010_format.h"
#include "report/gb2010_report.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr const char* kConcreteFill = "#eeeee8";
constexpr const char* kCornerColour = "#b02020";
constexpr const char* kWebXColour = "#2050b0";
constexpr const char* kWebYColour = "#208040";
constexpr const char* kAxisColour = "#808080";
constexpr const char* kStirrupColour = "#707070";

const char* groupColour(BarGroup group) {
    switch (group) {
        case BarGroup::Corner:
            return kCornerColour;
        case BarGroup::WebX:
            return kWebXColour;
        case BarGroup::WebY:
            return kWebYColour;
    }
    return "#000000";
}

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

PictureText label(double x, double y, std::string text, double size = 3.0,
                  TextAnchor anchor = TextAnchor::Start, const char* colour = "#000000") {
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

double estimatedTextWidth(const std::string& text, double size) {
    // UTF-8 lead bytes: a character of three or four bytes (CJK, full-width forms) takes a full
    // character size, any other about half of it, as the digits and Latin letters of the faces
    // the books use.
    double width = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0U) == 0x80U) continue;
        width += byte >= 0xE0U ? size : 0.55 * size;
    }
    return width;
}

void addBarLabel(BookPicture& picture, const BarLabel& bar) {
    const GradeSymbolShape shape = gradeSymbolShape(bar.grade);
    const double size = bar.size;
    const double before = estimatedTextWidth(bar.before, size);
    const double total = before + shape.advance * size + estimatedTextWidth(bar.after, size);
    double left = bar.x;
    if (bar.anchor == TextAnchor::Middle) left -= total / 2.0;
    if (bar.anchor == TextAnchor::End) left -= total;
    const double symbolX = left + before;
    if (!bar.before.empty()) {
        picture.shapes.emplace_back(
            label(symbolX, bar.y, bar.before, size, TextAnchor::End, bar.colour.c_str()));
    }
    PictureCircle circle;
    circle.cx = symbolX + shape.circleX * size;
    circle.cy = bar.y - shape.circleY * size;
    circle.r = shape.radius * size;
    circle.stroke = bar.colour;
    circle.width = shape.lineWidth * size;
    picture.shapes.emplace_back(circle);
    for (const GradeSymbolShape::Stroke& stroke : shape.strokes) {
        picture.shapes.emplace_back(line(symbolX + stroke.x1 * size, bar.y - stroke.y1 * size,
                                         symbolX + stroke.x2 * size, bar.y - stroke.y2 * size,
                                         bar.colour.c_str(), shape.lineWidth * size));
    }
    if (!bar.after.empty()) {
        picture.shapes.emplace_back(label(symbolX + shape.advance * size, bar.y, bar.after, size,
                                          TextAnchor::Start, bar.colour.c_str()));
    }
}

namespace {

// A section on the page: b across, h up (as the drawing has it), to a standard scale within the
// given room.
struct SectionSheet {
    double scale = 0.0;
    double x0 = 0.0, y0 = 0.0;  // the top left corner of the outline, mm on paper
    double w = 0.0, ht = 0.0;   // b and h on paper
    double cx = 0.0, cy = 0.0;  // the centroid on paper
    // Where a point of the section lies on paper: v along b to the right, u along h upwards.
    [[nodiscard]] double paperX(double v) const { return cx + v / scale; }
    [[nodiscard]] double paperY(double u) const { return cy - u / scale; }
};

// The sheet of a b x h section within roomX by roomY of paper, left, top and right margins
// around it and the picture at least minimumWidth wide; nullopt when no scale fits.
std::optional<SectionSheet> sectionSheet(BookPicture& p, double b, double h, double roomX,
                                         double roomY, double left, double top, double right,
                                         double minimumWidth) {
    SectionSheet s;
    s.scale = std::max(drawingScale(b, roomX), drawingScale(h, roomY));
    if (!(s.scale > 0.0)) return std::nullopt;
    s.w = b / s.scale;
    s.ht = h / s.scale;
    p.width = std::max(left + s.w + right, minimumWidth);
    s.x0 = (p.width - s.w) / 2.0;
    s.y0 = top;
    s.cx = s.x0 + s.w / 2.0;
    s.cy = s.y0 + s.ht / 2.0;
    return s;
}

// The concrete outline and the axes through the centroid, named as the reports name them: the
// x axis runs along h (the lever arm of Mx, e0x = Mx / N), upwards; the y axis along b, across.
void drawOutline(BookPicture& p, const SectionSheet& s) {
    PictureRect outline;
    outline.x = s.x0;
    outline.y = s.y0;
    outline.w = s.w;
    outline.h = s.ht;
    outline.fill = kConcreteFill;
    outline.width = 0.5;
    p.shapes.emplace_back(outline);
    p.shapes.emplace_back(line(s.x0 - 4.0, s.cy, s.x0 + s.w + 6.0, s.cy, kAxisColour, 0.18, true));
    p.shapes.emplace_back(line(s.cx, s.y0 + s.ht + 4.0, s.cx, s.y0 - 6.0, kAxisColour, 0.18, true));
    p.shapes.emplace_back(label(s.x0 + s.w + 7.0, s.cy + 1.0, "y", 3.2));
    p.shapes.emplace_back(label(s.cx + 1.2, s.y0 - 6.5, "x", 3.2));
}

// Overall dimensions: b below the section, h on its left. Returns the height of the b line.
double drawDimensions(BookPicture& p, const SectionSheet& s, double b, double h) {
    const double x0 = s.x0, y0 = s.y0, w = s.w, ht = s.ht;
    const double dimY = y0 + ht + 9.0;
    p.shapes.emplace_back(line(x0, dimY, x0 + w, dimY));
    p.shapes.emplace_back(line(x0, y0 + ht + 2.0, x0, dimY + 1.5));
    p.shapes.emplace_back(line(x0 + w, y0 + ht + 2.0, x0 + w, dimY + 1.5));
    p.shapes.emplace_back(
        label(s.cx, dimY - 1.2, "b = " + formatDecimals(b, 0), 3.0, TextAnchor::Middle));
    const double dimX = x0 - 9.0;
    p.shapes.emplace_back(line(dimX, y0, dimX, y0 + ht));
    p.shapes.emplace_back(line(x0 - 2.0, y0, dimX - 1.5, y0));
    p.shapes.emplace_back(line(x0 - 2.0, y0 + ht, dimX - 1.5, y0 + ht));
    p.shapes.emplace_back(
        label(dimX - 1.5, s.cy + 1.0, "h = " + formatDecimals(h, 0), 3.0, TextAnchor::End));
    return dimY;
}

}  // namespace

std::optional<BookPicture> sectionPicture(const BookCase& bookCase) {
    const ColumnCase& c = bookCase.design.column;
    if (!bookCase.design.finite() || !finite({c.b, c.h, c.ax, c.ay}) || !(c.b > 0.0) ||
        !(c.h > 0.0)) {
        return std::nullopt;
    }
    const SectionCheckResult checked =
        bookCase.check ? *bookCase.check
                       : SectionCheck(bookCase.design).run(SectionCheck::Contour::Skipped);
    // The section drawn with b across and h up, within 80 mm by 110 mm of paper.
    BookPicture p;
    const auto sheet = sectionSheet(p, c.b, c.h, 80.0, 110.0, 24.0, 10.0, 14.0, 120.0);
    if (!sheet) return std::nullopt;
    const double scale = sheet->scale;
    drawOutline(p, *sheet);

    for (const CheckedBar& bar : checked.bars) {
        if (!(bar.area > 0.0) || !std::isfinite(bar.area)) continue;
        PictureCircle circle;
        circle.cx = sheet->paperX(bar.v);
        circle.cy = sheet->paperY(bar.u);
        // A bar of its own diameter at the drawing's scale, never thinner than a dot.
        circle.r = std::max(std::sqrt(bar.area / std::numbers::pi) / scale, 0.5);
        circle.fill = groupColour(bar.group);
        circle.stroke = "#000000";
        circle.width = 0.15;
        p.shapes.emplace_back(circle);
    }

    const double dimY = drawDimensions(p, *sheet, c.b, c.h);

    // The legend of the areas, one line per bar group in the bars' colours.
    double y = dimY + 7.0;
    const double legendX = std::min(sheet->x0, 20.0);
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

std::optional<BookPicture> layoutPicture(const Gb2010Design& design) {
    if (!design.layout) return std::nullopt;
    const Gb2010Column& c = design.column;
    const BarLayout& layout = *design.layout;
    const LayoutChoice& choice = layout.choice;
    if (!finite({c.b, c.h, design.cover, c.stirrup}) || !(c.b > 0.0) || !(c.h > 0.0)) {
        return std::nullopt;
    }
    // The section drawn with b across and h up, within 100 mm by 130 mm of paper; the room on
    // the right takes the labels of the web bars on the faces of length h.
    BookPicture p;
    const auto sheet = sectionSheet(p, c.b, c.h, 100.0, 130.0, 24.0, 14.0, 44.0, 120.0);
    if (!sheet) return std::nullopt;
    const SectionSheet& s = *sheet;
    const double scale = s.scale;
    drawOutline(p, s);

    // The stirrup on its centre line, as thick as it is at the drawing's scale.
    const double inset = (design.cover + c.stirrup / 2.0) / scale;
    PictureRect stirrup;
    stirrup.x = s.x0 + inset;
    stirrup.y = s.y0 + inset;
    stirrup.w = s.w - 2.0 * inset;
    stirrup.h = s.ht - 2.0 * inset;
    stirrup.stroke = kStirrupColour;
    stirrup.width = std::max(c.stirrup / scale, 0.2);
    p.shapes.emplace_back(stirrup);

    // Every bar where it lies, of its own diameter: 4 corner bars, then the web bars of the faces
    // of length b (u = +-(h/2 - a), top and bottom), then those of the faces of length h
    // (v = +-(b/2 - a), left and right).
    const std::size_t alongB = 4 + 2 * static_cast<std::size_t>(choice.webBarsAlongB);
    for (std::size_t i = 0; i < layout.bars.size(); ++i) {
        const PlacedBar& bar = layout.bars[i];
        PictureCircle circle;
        circle.cx = s.paperX(bar.v);
        circle.cy = s.paperY(bar.u);
        circle.r = std::max(bar.d / 2.0 / scale, 0.5);
        circle.fill = i < 4 ? kCornerColour : i < alongB ? kWebXColour : kWebYColour;
        circle.stroke = "#000000";
        circle.width = 0.15;
        p.shapes.emplace_back(circle);
    }

    // The diameters, each group labelled outside the outline with a leader to one of its bars:
    // the corner bars at the top left, the faces of length b on top, those of length h on the
    // right. Each label is the count, the grade's own symbol and the diameter. The leaders keep
    // clear of the axes.
    const auto leader = [&](const PlacedBar& bar, double x, double y) {
        p.shapes.emplace_back(line(s.paperX(bar.v), s.paperY(bar.u), x, y, "#000000", 0.18));
    };
    const auto barLabel = [&](double x, double y, std::string before, int diameter,
                              TextAnchor anchor, const char* colour) {
        addBarLabel(
            p, {x, y, std::move(before), c.steel, std::to_string(diameter), 3.0, anchor, colour});
    };
    const PlacedBar* topLeft = nullptr;
    for (std::size_t i = 0; i < 4 && i < layout.bars.size(); ++i) {
        const PlacedBar& bar = layout.bars[i];
        if (topLeft == nullptr || bar.v < topLeft->v ||
            (bar.v == topLeft->v && bar.u > topLeft->u)) {
            topLeft = &bar;
        }
    }
    if (topLeft != nullptr) {
        leader(*topLeft, s.x0 - 2.0, s.y0 - 2.5);
        barLabel(s.x0 - 2.5, s.y0 - 3.0, "4", choice.cornerDiameter, TextAnchor::End,
                 kCornerColour);
    }
    // Middle bars that differ between the faces are named as 16G101-1 names them.
    const std::string perFace = choice.webDiametersDiffer() ? "一侧中部筋 " : "每侧 ";
    if (choice.webBarsAlongB > 0) {
        // The rightmost web bar of the top face u = +(h/2 - a).
        const PlacedBar* right = nullptr;
        for (std::size_t i = 4; i < alongB && i < layout.bars.size(); ++i) {
            const PlacedBar& bar = layout.bars[i];
            if (bar.u > 0.0 && (right == nullptr || bar.v > right->v)) right = &bar;
        }
        if (right != nullptr) {
            const double x = std::max(s.paperX(right->v), s.cx + 4.0);
            leader(*right, x, s.y0 - 2.5);
            barLabel(x + 0.5, s.y0 - 3.0, "b边" + perFace + std::to_string(choice.webBarsAlongB),
                     choice.webDiameterB, TextAnchor::Start, kWebXColour);
        }
    }
    if (choice.webBarsAlongH > 0) {
        // The topmost web bar of the right face v = +(b/2 - a).
        const PlacedBar* top = nullptr;
        for (std::size_t i = alongB; i < layout.bars.size(); ++i) {
            const PlacedBar& bar = layout.bars[i];
            if (bar.v > 0.0 && (top == nullptr || bar.u > top->u)) top = &bar;
        }
        if (top != nullptr) {
            const double y = std::min(s.paperY(top->u), s.cy - 4.0);
            leader(*top, s.x0 + s.w + 2.0, y);
            barLabel(s.x0 + s.w + 2.5, y + 1.0,
                     "h边" + perFace + std::to_string(choice.webBarsAlongH), choice.webDiameterH,
                     TextAnchor::Start, kWebYColour);
        }
    }

    const double dimY = drawDimensions(p, s, c.b, c.h);

    // The legend: the layout in the usual notation, its steel and ratio.
    double y = dimY + 7.0;
    const double legendX = std::min(s.x0, 20.0);
    // A legend line: its colour's mark, then the text, or the text before a bar's symbol and its
    // diameter after it.
    const auto mark = [&](const char* colour) {
        PictureRect box;
        box.x = legendX;
        box.y = y - 2.4;
        box.w = 2.6;
        box.h = 2.6;
        box.fill = colour;
        box.width = 0.1;
        p.shapes.emplace_back(box);
    };
    const auto legendBar = [&](const char* colour, std::string before, int diameter) {
        mark(colour);
        barLabel(legendX + 4.5, y, std::move(before), diameter, TextAnchor::Start, "#000000");
        y += 5.0;
    };
    legendBar(kCornerColour, "角筋 4", choice.cornerDiameter);
    if (choice.webBarsAlongB > 0) {
        legendBar(kWebXColour,
                  "b边（长度 b 的两边）" + perFace + std::to_string(choice.webBarsAlongB),
                  choice.webDiameterB);
    }
    if (choice.webBarsAlongH > 0) {
        legendBar(kWebYColour,
                  "h边（长度 h 的两边）" + perFace + std::to_string(choice.webBarsAlongH),
                  choice.webDiameterH);
    }
    p.shapes.emplace_back(label(legendX + 4.5, y,
                                "共 " + std::to_string(choice.barCount()) +
                                    " 根，As = " + formatDecimals(layout.steelArea, 1) +
                                    " mm²，ρ = " + formatDecimals(layout.ratio * 100.0, 2) + "%",
                                3.0));
    y += 5.0;
    p.height = y;
    p.caption = "截面配筋图（比例 " + scaleText(scale) + "，c = " + formatGeneral(design.cover) +
                " mm，ds = " + formatGeneral(c.stirrup) + " mm；钢筋按实际位置和直径绘出）：" +
                layoutNotation(choice, design.column.steel);
    return p;
}

std::optional<BookPicture> contourPicture(const SectionCheckResult& result) {
    if (result.axialCapacityExceeded) return std::nullopt;
    ContourFigure figure;
    figure.N = result.N;
    figure.contour = result.contour;
    figure.Mx = result.Mx;
    figure.My = result.My;
    figure.MxR = result.MxR;
    figure.MyR = result.MyR;
    figure.utilisation = result.utilisation;
    figure.caption = "设计轴力下的 Mx-My 承载力曲线（每 5° 一点）、设计弯矩 M 与同方向的承载力 MR";
    return contourPicture(figure);
}

std::optional<BookPicture> contourPicture(const ContourFigure& figure) {
    const ContourFigure& r = figure;
    if (r.contour.empty()) return std::nullopt;
    double ex = std::fabs(r.Mx), ey = std::fabs(r.My);
    for (const ContourPoint& point : r.contour) {
        if (!finite({point.MxR, point.MyR})) return std::nullopt;
        ex = std::max(ex, std::fabs(point.MxR));
        ey = std::max(ey, std::fabs(point.MyR));
    }
    for (const ContourMark& mark : r.others) {
        if (!finite({mark.Mx, mark.My})) return std::nullopt;
        ex = std::max(ex, std::fabs(mark.Mx));
        ey = std::max(ey, std::fabs(mark.My));
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
                                        TextAnchor::Middle, "#555555"));
        }
    }
    for (int k = -static_cast<int>(reachY / step); k <= static_cast<int>(reachY / step); ++k) {
        const double m = k * step;
        p.shapes.emplace_back(line(px(-reachX), py(m), px(reachX), py(m), "#dddddd", 0.12));
        if (k != 0) {
            p.shapes.emplace_back(label(px(0) - 1.0, py(m) + 0.8, formatDecimals(m, 0), 2.4,
                                        TextAnchor::End, "#555555"));
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
    const TextAnchor side = right ? TextAnchor::Start : TextAnchor::End;
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
    // Further demands at the same N: a ring each with its name.
    for (const ContourMark& mark : r.others) {
        PictureCircle ring;
        ring.cx = px(mark.Mx);
        ring.cy = py(mark.My);
        ring.r = 1.0;
        ring.stroke = "#b02020";
        ring.width = 0.3;
        p.shapes.emplace_back(ring);
        p.shapes.emplace_back(
            label(px(mark.Mx) + (mark.Mx >= 0.0 ? 1.8 : -1.8), py(mark.My) - 1.5, mark.name, 2.6,
                  mark.Mx >= 0.0 ? TextAnchor::Start : TextAnchor::End, "#b02020"));
    }
    p.shapes.emplace_back(label(3.0, 6.0, "N = " + formatDecimals(r.N, 2) + " kN", 3.0));
    p.shapes.emplace_back(label(3.0, 11.0, "利用率 |M|/|MR| = " + formatDecimals(r.utilisation, 3),
                                3.4, TextAnchor::Start,
                                r.utilisation <= 1.0 ? "#106010" : "#c00000"));
    p.caption = r.caption;
    return p;
}

}  // namespace tessarin
