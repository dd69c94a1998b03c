#include "ui/gb2010_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "ui/bar_text.h"

namespace tessarin {

namespace {

// Room around the section for the labels, pixels.
constexpr double kMargin = 46.0;
// Gap between a label and the outline, pixels.
constexpr double kGap = 6.0;
// How far the axes reach beyond the outline, pixels.
constexpr double kAxisOverhang = 12.0;

QString diameterText(int count, const QString& symbol, double d) {
    const QString bar = symbol + QString::number(static_cast<int>(std::lround(d)));
    return count > 1 ? QString::number(count) + bar : bar;
}

}  // namespace

Gb2010SectionView::Gb2010SectionView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 260);
}

void Gb2010SectionView::showDesign(double b, double h, double cover, double stirrup,
                                   const std::optional<BarLayout>& layout, const QString& symbol) {
    symbol_ = symbol;
    b_ = b;
    h_ = h;
    cover_ = cover;
    stirrup_ = stirrup;
    layout_ = layout;
    inner_.clear();
    update();
}

void Gb2010SectionView::setInnerStirrups(std::vector<SectionDrawing::StirrupPiece> pieces) {
    inner_ = std::move(pieces);
    update();
}

QRectF Gb2010SectionView::drawingArea() const {
    return QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

double Gb2010SectionView::pixelsPerMillimetre() const {
    if (!(b_ > 0.0) || !(h_ > 0.0) || !std::isfinite(b_) || !std::isfinite(h_)) return 0.0;
    const QRectF area = drawingArea();
    return std::max(0.0, std::min(area.width() / b_, area.height() / h_));
}

QPointF Gb2010SectionView::toWidget(double u, double v) const {
    const double scale = pixelsPerMillimetre();
    const QPointF centre = drawingArea().center();
    return {centre.x() + v * scale, centre.y() - u * scale};
}

std::vector<Gb2010SectionView::Label> Gb2010SectionView::labels() const {
    std::vector<Label> result;
    if (!layout_ || pixelsPerMillimetre() <= 0.0) return result;
    const LayoutChoice& choice = layout_->choice;
    const QFontMetricsF metrics(font());
    const double em = fontEm(font());
    const QPointF topLeft = toWidget(h_ / 2.0, -b_ / 2.0);
    const QPointF bottomRight = toWidget(-h_ / 2.0, b_ / 2.0);
    const QRectF outline(topLeft, bottomRight);

    const QPointF centre = outline.center();
    const double height = metrics.height();
    auto place = [&](const QString& text, QPointF anchor, double alignX, double alignY) {
        // alignX/alignY: where the anchor sits on the label, 0 = left/top, 1 = right/bottom.
        // As wide as it is painted: the grade's symbol in place of its letter.
        const double width = barTextWidth(metrics, em, text);
        const QRectF rect(anchor.x() - alignX * width, anchor.y() - alignY * height, width, height);
        result.push_back({text, rect});
    };

    // The corner bars, diagonally outside each corner.
    const QString corner = diameterText(1, symbol_, choice.cornerDiameter);
    place(corner, outline.topLeft() + QPointF(-kGap, -kGap), 1.0, 1.0);
    place(corner, outline.topRight() + QPointF(kGap, -kGap), 0.0, 1.0);
    place(corner, outline.bottomLeft() + QPointF(-kGap, kGap), 1.0, 0.0);
    place(corner, outline.bottomRight() + QPointF(kGap, kGap), 0.0, 0.0);

    // Web bars of the faces of length b (top and bottom, at u = +-(h/2 - a)): above and below,
    // right of the vertical axis.
    if (choice.webBarsAlongB > 0) {
        const QString text = diameterText(choice.webBarsAlongB, symbol_, choice.webDiameterB);
        place(text, QPointF(centre.x() + kGap, outline.top() - kGap), 0.0, 1.0);
        place(text, QPointF(centre.x() + kGap, outline.bottom() + kGap), 0.0, 0.0);
    }
    // Web bars of the faces of length h (left and right, at v = -+(b/2 - a)): beside the face,
    // below the horizontal axis.
    if (choice.webBarsAlongH > 0) {
        const QString text = diameterText(choice.webBarsAlongH, symbol_, choice.webDiameterH);
        place(text, QPointF(outline.left() - kGap, centre.y() + kGap), 1.0, 0.0);
        place(text, QPointF(outline.right() + kGap, centre.y() + kGap), 0.0, 0.0);
    }

    // The axes as the report names them: x along h (the vertical axis, its letter left of the
    // axis above the section), y along b (the horizontal axis, its letter above the axis right of
    // the section).
    place(QStringLiteral("x"), QPointF(centre.x() - kGap, outline.top() - kGap), 1.0, 1.0);
    place(QStringLiteral("y"), QPointF(outline.right() + kGap, centre.y() - kGap), 0.0, 1.0);
    // The dimensions: b below the labels of the bottom face, h turned (reading upwards) left of
    // the section above the horizontal axis.
    place(QStringLiteral("b = %1").arg(b_), QPointF(centre.x(), outline.bottom() + kGap + height),
          0.5, 0.0);
    const QString along = QStringLiteral("h = %1").arg(h_);
    const double alongWidth = metrics.horizontalAdvance(along);
    result.push_back(
        {along,
         QRectF(outline.left() - kGap - height, centre.y() - kGap - alongWidth, height, alongWidth),
         true});
    return result;
}

void Gb2010SectionView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const double scale = pixelsPerMillimetre();
    if (scale <= 0.0) return;

    const QRectF outline(toWidget(h_ / 2.0, -b_ / 2.0), toWidget(-h_ / 2.0, b_ / 2.0));
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(outline);
    // The axes through the centroid: y across (along b), x up (along h).
    painter.setPen(QPen(Qt::gray, 1.0, Qt::DashDotLine));
    painter.drawLine(QPointF(outline.left() - kAxisOverhang, outline.center().y()),
                     QPointF(outline.right() + kAxisOverhang, outline.center().y()));
    painter.drawLine(QPointF(outline.center().x(), outline.bottom() + kAxisOverhang),
                     QPointF(outline.center().x(), outline.top() - kAxisOverhang));

    // The stirrup's centre line: cover plus half the stirrup from the faces.
    const double inset = (cover_ + stirrup_ / 2.0) * scale;
    if (2.0 * inset < outline.width() && 2.0 * inset < outline.height()) {
        painter.setPen(QPen(QColor(0, 110, 0), std::max(1.0, stirrup_ * scale)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline.adjusted(inset, inset, -inset, -inset));
        for (const SectionDrawing::StirrupPiece& piece : inner_) {
            QPolygonF line;
            for (const DxfPoint& p : piece.points) line << toWidget(p.y, p.x);
            if (piece.closed) {
                painter.drawPolygon(line);
            } else {
                painter.drawPolyline(line);
            }
        }
    }

    if (!layout_) return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(180, 0, 0));
    for (const PlacedBar& bar : layout_->bars) {
        const double radius = std::max(1.5, bar.d / 2.0 * scale);
        painter.drawEllipse(toWidget(bar.u, bar.v), radius, radius);
    }
    painter.setPen(palette().text().color());
    const QFontMetricsF metrics(font());
    const double em = fontEm(font());
    for (const Label& label : labels()) {
        if (label.turned) {
            painter.save();
            painter.translate(label.rect.left() + metrics.ascent(), label.rect.bottom());
            painter.rotate(-90);
            painter.drawText(QPointF(0, 0), label.text);
            painter.restore();
            continue;
        }
        paintBarText(painter, QPointF(label.rect.left(), label.rect.top() + metrics.ascent()), em,
                     label.text);
    }
}

}  // namespace tessarin
