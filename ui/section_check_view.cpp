#include "ui/section_check_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "report/number_text.h"

namespace tessarin {

namespace {

constexpr double kMargin = 46.0;  // room for the group labels and the dimensions

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

QColor groupColour(BarGroup group) {
    switch (group) {
        case BarGroup::corner:
            return kCornerColour;
        case BarGroup::webX:
            return kWebXColour;
        case BarGroup::webY:
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
    return std::min(area.width() / result_.h, area.height() / result_.b);
}

QPointF SectionView::toWidget(double u, double v) const {
    const QPointF centre = drawingArea().center();
    const double scale = pixelsPerMillimetre();
    return {centre.x() + u * scale, centre.y() - v * scale};
}

void SectionView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const double scale = pixelsPerMillimetre();
    const QPointF topLeft = toWidget(-result_.h / 2.0, result_.b / 2.0);
    const QPointF bottomRight = toWidget(result_.h / 2.0, -result_.b / 2.0);
    const QRectF outline(topLeft, bottomRight);

    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kConcreteFill);
    p.drawRect(outline);

    // Axes through the centroid: u (the x direction, along h) and v (the y direction, along b).
    p.setPen(QPen(Qt::gray, 1.0, Qt::DashDotLine));
    p.drawLine(QPointF(outline.left() - 14, outline.center().y()),
               QPointF(outline.right() + 14, outline.center().y()));
    p.drawLine(QPointF(outline.center().x(), outline.top() - 14),
               QPointF(outline.center().x(), outline.bottom() + 14));
    p.setPen(Qt::black);
    p.drawText(QPointF(outline.right() + 16, outline.center().y() + 4), QStringLiteral("u"));
    p.drawText(QPointF(outline.center().x() + 4, outline.top() - 16), QStringLiteral("v"));

    // Bars to scale: a circle of the bar's own area (r = sqrt(A / pi)); at least a dot.
    for (const CheckedBar& bar : result_.bars) {
        const double radius = std::max(std::sqrt(std::max(bar.area, 0.0) / M_PI) * scale, 1.5);
        p.setPen(QPen(groupColour(bar.group).darker(130), 1.0));
        p.setBrush(bar.area > 0.0 ? groupColour(bar.group) : QColor(Qt::white));
        p.drawEllipse(toWidget(bar.u, bar.v), radius, radius);
    }

    // Dimensions.
    const QFontMetricsF metrics(font());
    p.setPen(Qt::black);
    const QString width = QStringLiteral("h = %1").arg(fixed(result_.h, 0));
    p.drawText(QPointF(outline.center().x() - metrics.horizontalAdvance(width) / 2,
                       outline.bottom() + metrics.height() + 14),
               width);
    const QString depth = QStringLiteral("b = %1").arg(fixed(result_.b, 0));
    p.save();
    p.translate(outline.left() - 12 - 2 * metrics.height(),
                outline.center().y() + metrics.horizontalAdvance(depth) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), depth);
    p.restore();

    // The groups with their areas (mm^2), each beside its bars: the corner bars, the web steel of
    // the two faces across u (Aswx, left and right) and of the two faces across v (Aswy, top and
    // bottom).
    const auto label = [&](const QString& s, const QColor& colour, const QPointF& at) {
        p.setPen(colour.darker(120));
        p.drawText(at, s);
    };
    const QString corner = QStringLiteral("角筋 4×%1").arg(fixed(result_.cornerBarArea, 1));
    label(corner, kCornerColour,
          QPointF(outline.left() - metrics.horizontalAdvance(corner) / 2, outline.top() - 10));
    const QString webY = QStringLiteral("Aswy %1").arg(fixed(result_.webAreaY, 1));
    label(webY, kWebYColour,
          QPointF(outline.center().x() + 8, outline.top() + metrics.ascent() + 2));
    label(webY, kWebYColour, QPointF(outline.center().x() + 8, outline.bottom() - 5));
    const QString webX = QStringLiteral("Aswx %1").arg(fixed(result_.webAreaX, 1));
    p.save();
    p.setPen(kWebXColour.darker(120));
    p.translate(outline.right() + 6 + metrics.ascent(),
                outline.center().y() + metrics.horizontalAdvance(webX) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), webX);
    p.restore();
    p.save();
    p.setPen(kWebXColour.darker(120));
    p.translate(outline.left() - 6, outline.center().y() + metrics.horizontalAdvance(webX) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), webX);
    p.restore();
}

InteractionView::InteractionView(const SectionCheckResult& result, QWidget* parent)
    : QWidget(parent), result_(result) {
    setMinimumSize(340, 340);
}

double InteractionView::extent() const {
    double largest = std::max(std::fabs(result_.Mx), std::fabs(result_.My));
    for (const ContourPoint& point : result_.contour) {
        largest = std::max({largest, std::fabs(point.MxR), std::fabs(point.MyR)});
    }
    return largest > 0.0 ? largest * 1.1 : 1.0;
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

    // Grid and axes with round tick values.
    const double range = extent();
    const double raw = range / 4.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    // Ticks every 1, 2 or 5 times a power of ten, about four to a half axis.
    const double leading = raw / magnitude;
    double step = magnitude * (leading < 1.5   ? 1.0
                               : leading < 3.5 ? 2.0
                               : leading < 7.5 ? 5.0
                                               : 10.0);
    // Wide enough apart for their labels.
    const double labelWidth = metrics.horizontalAdvance(text(formatDecimals(range, 0))) + 10.0;
    while (step * pixelsPerKilonewtonMetre() < labelWidth) step *= 2.0;
    for (double t = step; t <= range; t += step) {
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
            contour << toWidget(point.MxR, point.MyR);
        }
        p.setPen(QPen(QColor(0x20, 0x50, 0xB0), 2.0));
        p.setBrush(QColor(0x20, 0x50, 0xB0, 28));
        p.drawPolygon(contour);

        // The ray from the origin through the demand to the capacity in the same direction.
        const QPointF capacity = toWidget(result_.MxR, result_.MyR);
        p.setPen(QPen(Qt::gray, 1.0, Qt::DashLine));
        p.drawLine(toWidget(0, 0), capacity);
        p.setPen(QPen(QColor(0x20, 0x50, 0xB0), 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(capacity, 4.0, 4.0);
    }

    // The demand point (N*eta*ei in each direction).
    const QPointF demand = toWidget(result_.Mx, result_.My);
    const bool fails = !(result_.utilisation <= 1.0);
    p.setPen(QPen(fails ? Qt::red : QColor(0x10, 0x70, 0x10), 2.5));
    p.drawLine(demand + QPointF(-6, -6), demand + QPointF(6, 6));
    p.drawLine(demand + QPointF(-6, 6), demand + QPointF(6, -6));
    p.drawText(demand + QPointF(8, -8),
               QStringLiteral("(%1, %2)").arg(fixed(result_.Mx, 1), fixed(result_.My, 1)));
}

}  // namespace tessarin
