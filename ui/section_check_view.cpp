#include "ui/section_check_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr double kMargin = 50.0;        // room for the group labels and the dimensions
constexpr double kGap = 4.0;            // between a label and the edge or line beside it
constexpr double kAxisOverhang = 14.0;  // how far the axis lines reach beyond the outline
constexpr int kMostCornerRows = 4;      // rows the corner label may climb
constexpr double kSmallestBar = 1.5;    // px, the radius of a bar too small to draw to scale

QString text(const std::string& s) {
    return QString::fromStdString(s);
}
QString fixed(double value, int decimals) {
    return text(formatDecimals(value, decimals));
}

const QColor kConcreteFill(0xEE, 0xEE, 0xE8);
const QColor kSteel(0x20, 0x20, 0x20);
const QColor kCornerColour(0xB0, 0x20, 0x20);
const QColor kWebXColour(0x20, 0x50, 0xB0);
const QColor kWebYColour(0x20, 0x80, 0x40);

// Bounds of the axis ticks: at most this many to a half axis, found in at most this many
// doublings of the step.
constexpr double kMostTicks = 50.0;
constexpr int kMostDoublings = 64;
constexpr double kSmallestRange = 1e-9;  // kN*m

double finiteOr0(double value) {
    return std::isfinite(value) ? value : 0.0;
}

QColor groupColour(BarGroup group) {
    switch (group) {
        case BarGroup::Corner:
            return kCornerColour;
        case BarGroup::WebX:
            return kWebXColour;
        case BarGroup::WebY:
            return kWebYColour;
    }
    return kSteel;
}

}  // namespace

SectionView::SectionView(const SectionCheckResult& result, QWidget* parent)
    : QWidget(parent), result_(result) {
    setMinimumSize(340, 300);
}

QRectF SectionView::drawingArea() const {
    return QRectF(kMargin + 20.0, kMargin, width() - 2 * kMargin - 20.0, height() - 2 * kMargin);
}

double SectionView::pixelsPerMillimetre() const {
    const QRectF area = drawingArea();
    if (!(result_.h > 0.0) || !(result_.b > 0.0)) return 1.0;
    const double scale = std::min(area.width() / result_.b, area.height() / result_.h);
    return std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
}

QPointF SectionView::toWidget(double u, double v) const {
    const QPointF centre = drawingArea().center();
    const double scale = pixelsPerMillimetre();
    return {centre.x() + v * scale, centre.y() - u * scale};
}

double SectionView::barRadius(const CheckedBar& bar) const {
    const double radius = std::sqrt(std::max(bar.area, 0.0) / M_PI) * pixelsPerMillimetre();
    return std::isfinite(radius) ? std::max(radius, kSmallestBar) : kSmallestBar;
}

QRectF SectionView::outline() const {
    return QRectF(toWidget(result_.h / 2.0, -result_.b / 2.0),
                  toWidget(-result_.h / 2.0, result_.b / 2.0));
}

std::vector<SectionView::Label> SectionView::labels() const {
    const QFontMetricsF metrics(font());
    const QRectF box = outline();
    const double line = metrics.height();
    const QPointF centre = box.center();
    std::vector<Label> placed;
    // An upright text whose box starts at (left, top); a turned one reading upwards whose box
    // starts there too (width and height swap).
    auto upright = [&](const QString& s, const QColor& colour, double left, double top) {
        placed.push_back({s, colour, true, QRectF(left, top, metrics.horizontalAdvance(s), line)});
    };
    auto turned = [&](const QString& s, const QColor& colour, double left, double top) {
        placed.push_back({s, colour, false, QRectF(left, top, line, metrics.horizontalAdvance(s))});
    };
    auto width = [&](const QString& s) { return metrics.horizontalAdvance(s); };

    // Axis letters at the outer ends of the axis lines, on the side away from the face labels,
    // named as the report names them: y (along b) below the horizontal axis beyond the right
    // edge, x (along h) left of the vertical axis above the top edge.
    const QString y = QStringLiteral("y");
    const QString x = QStringLiteral("x");
    upright(y, Qt::black, box.right() + kAxisOverhang - width(y), centre.y() + kGap);
    upright(x, Qt::black, centre.x() - kGap - width(x), box.top() - kAxisOverhang - line);

    // The faces perpendicular to the x axis (Aswx, top and bottom, of length b) just outside
    // their edges, right of the vertical axis; those perpendicular to the y axis (Aswy, left and
    // right, of length h) turned beside their edges, beyond the ends of the horizontal axis.
    const QString webY = QStringLiteral("Aswy %1").arg(fixed(result_.webAreaY, 1));
    const QString webX = QStringLiteral("Aswx %1").arg(fixed(result_.webAreaX, 1));
    upright(webX, kWebXColour, centre.x() + kGap, box.top() - kGap - line);
    upright(webX, kWebXColour, centre.x() + kGap, box.bottom() + kGap);
    const double webYTop = centre.y() - width(webY) / 2.0;
    turned(webY, kWebYColour, box.right() + kAxisOverhang + kGap, webYTop);
    turned(webY, kWebYColour, box.left() - kAxisOverhang - kGap - line, webYTop);

    // Dimensions: b below the bottom face's label, h turned left of the left face's label.
    const QString across = QStringLiteral("b = %1").arg(fixed(result_.b, 0));
    const QString along = QStringLiteral("h = %1").arg(fixed(result_.h, 0));
    upright(across, Qt::black, centre.x() - width(across) / 2.0, box.bottom() + kGap + line);
    turned(along, Qt::black, box.left() - kAxisOverhang - 2.0 * kGap - 2.0 * line,
           centre.y() - width(along) / 2.0);

    // The corner bars above the top-left corner, a row higher for as long as it would meet
    // another label (a few rows at most: everything else keeps to its own edge).
    const QString corner = QStringLiteral("角筋 4×%1").arg(fixed(result_.cornerBarArea, 1));
    QRectF cornerBox(box.left() - width(corner) / 2.0, box.top() - kGap - line, width(corner),
                     line);
    for (int row = 0; row < kMostCornerRows; ++row) {
        const bool meets = std::any_of(placed.begin(), placed.end(), [&](const Label& other) {
            return other.box.intersects(cornerBox);
        });
        const bool crossesAxis =
            cornerBox.right() + kGap > centre.x() && cornerBox.bottom() > box.top() - kAxisOverhang;
        if (!meets && !crossesAxis) break;
        cornerBox.translate(0.0, -line);
    }
    upright(corner, kCornerColour, cornerBox.left(), cornerBox.top());
    return placed;
}

void SectionView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRectF box = outline();

    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kConcreteFill);
    p.drawRect(box);

    // Axes through the centroid: x along h (upwards) and y along b (across).
    p.setPen(QPen(Qt::gray, 1.0, Qt::DashDotLine));
    p.drawLine(QPointF(box.left() - kAxisOverhang, box.center().y()),
               QPointF(box.right() + kAxisOverhang, box.center().y()));
    p.drawLine(QPointF(box.center().x(), box.top() - kAxisOverhang),
               QPointF(box.center().x(), box.bottom() + kAxisOverhang));

    // Bars to scale: a circle of the bar's own area (r = sqrt(A / pi)); at least a dot.
    for (const CheckedBar& bar : result_.bars) {
        p.setPen(QPen(groupColour(bar.group).darker(130), 1.0));
        p.setBrush(bar.area > 0.0 ? groupColour(bar.group) : QColor(Qt::white));
        const double radius = barRadius(bar);
        p.drawEllipse(toWidget(bar.u, bar.v), radius, radius);
    }

    // The groups with their areas (mm^2), the dimensions and the axis letters.
    const QFontMetricsF metrics(font());
    for (const Label& label : labels()) {
        p.setPen(label.colour == QColor(Qt::black) ? label.colour : label.colour.darker(120));
        if (label.upright) {
            p.drawText(QPointF(label.box.left(), label.box.top() + metrics.ascent()), label.text);
            continue;
        }
        p.save();
        p.translate(label.box.left() + metrics.ascent(), label.box.bottom());
        p.rotate(-90);
        p.drawText(QPointF(0, 0), label.text);
        p.restore();
    }
}

InteractionView::InteractionView(const SectionCheckResult& result, QWidget* parent)
    : QWidget(parent), result_(result) {
    setMinimumSize(340, 340);
}

double InteractionView::extent() const {
    // Only finite figures set the scale: an infinite or undefined demand is not drawn.
    double largest = 0.0;
    auto take = [&largest](double value) {
        if (std::isfinite(value)) largest = std::max(largest, std::fabs(value));
    };
    take(result_.Mx);
    take(result_.My);
    for (const ContourPoint& point : result_.contour) {
        take(point.MxR);
        take(point.MyR);
    }
    const double range = largest * 1.1;
    // Figures too small to scale (a few denormals) are drawn on the scale of 1 kN*m.
    return range > kSmallestRange && std::isfinite(range) ? range : 1.0;
}

QRectF InteractionView::plotArea() const {
    const double side = std::min(width(), height()) - 2 * kMargin;
    return QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side);
}

double InteractionView::pixelsPerKilonewtonMetre() const {
    return plotArea().width() / 2.0 / extent();
}

QPointF InteractionView::toWidget(double mx, double my) const {
    const QPointF centre = plotArea().center();
    const double scale = pixelsPerKilonewtonMetre();
    return {centre.x() + mx * scale, centre.y() - my * scale};
}

void InteractionView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRectF area = plotArea();
    const QFontMetricsF metrics(font());

    // Grid and axes with round tick values: every 1, 2 or 5 times a power of ten, about four to a
    // half axis, and wide enough apart for their labels. The range is finite and positive; the
    // tick count is bounded all the same, whatever the figures.
    const double range = extent();
    const double raw = range / 4.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double leading = raw / magnitude;
    double step = magnitude * (leading < 1.5   ? 1.0
                               : leading < 3.5 ? 2.0
                               : leading < 7.5 ? 5.0
                                               : 10.0);
    const double labelWidth = metrics.horizontalAdvance(text(formatDecimals(range, 0))) + 10.0;
    for (int i = 0; i < kMostDoublings && step * pixelsPerKilonewtonMetre() < labelWidth; ++i) {
        step *= 2.0;
    }
    const double count = std::isfinite(step) && step > 0.0 ? std::floor(range / step) : 0.0;
    const int ticks = static_cast<int>(std::clamp(count, 0.0, kMostTicks));
    for (int i = 1; i <= ticks; ++i) {
        const double t = step * static_cast<double>(i);
        p.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1.0));
        for (const double s : {t, -t}) {
            p.drawLine(toWidget(s, -range), toWidget(s, range));
            p.drawLine(toWidget(-range, s), toWidget(range, s));
        }
        p.setPen(Qt::darkGray);
        const QString tick = text(formatDecimals(t, step < 1.0 ? 1 : 0));
        p.drawText(toWidget(t, 0) + QPointF(-metrics.horizontalAdvance(tick) / 2, 14), tick);
        p.drawText(toWidget(0, t) + QPointF(4, 4), tick);
    }
    p.setPen(QPen(Qt::black, 1.0));
    p.drawLine(toWidget(-range, 0), toWidget(range, 0));
    p.drawLine(toWidget(0, -range), toWidget(0, range));
    p.drawText(QPointF(area.right() - metrics.horizontalAdvance(QStringLiteral("Mx (kN·m)")),
                       toWidget(0, 0).y() - 6),
               QStringLiteral("Mx (kN·m)"));
    const QString myLabel = QStringLiteral("My (kN·m)");
    p.drawText(toWidget(0, range) + QPointF(-metrics.horizontalAdvance(myLabel) - 6, 12), myLabel);

    if (result_.contour.empty()) {
        p.setPen(Qt::red);
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("轴力超过截面轴压承载力，无受弯承载力"));
    } else {
        QPolygonF contour;
        for (const ContourPoint& point : result_.contour) {
            contour << toWidget(finiteOr0(point.MxR), finiteOr0(point.MyR));
        }
        p.setPen(QPen(QColor(0x20, 0x50, 0xB0), 2.0));
        p.setBrush(QColor(0x20, 0x50, 0xB0, 28));
        p.drawPolygon(contour);

        // The ray from the origin through the demand to the capacity in the same direction.
        const QPointF capacity = toWidget(finiteOr0(result_.MxR), finiteOr0(result_.MyR));
        p.setPen(QPen(Qt::gray, 1.0, Qt::DashLine));
        p.drawLine(toWidget(0, 0), capacity);
        p.setPen(QPen(QColor(0x20, 0x50, 0xB0), 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(capacity, 4.0, 4.0);
    }

    // The demand point (N*eta*ei in each direction), where it is a point at all.
    if (!std::isfinite(result_.Mx) || !std::isfinite(result_.My)) return;
    const QPointF demand = toWidget(result_.Mx, result_.My);
    const bool fails = !(result_.utilisation <= 1.0);
    p.setPen(QPen(fails ? Qt::red : QColor(0x10, 0x70, 0x10), 2.5));
    p.drawLine(demand + QPointF(-6, -6), demand + QPointF(6, 6));
    p.drawLine(demand + QPointF(-6, 6), demand + QPointF(6, -6));
    p.drawText(demand + QPointF(8, -8),
               QStringLiteral("(%1, %2)").arg(fixed(result_.Mx, 1), fixed(result_.My, 1)));
}

}  // namespace tessarin
