#include "ui/current_code_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tessarin {

namespace {

// Room around the section for the labels, pixels.
constexpr double kMargin = 46.0;
// Gap between a label and the outline, pixels.
constexpr double kGap = 6.0;

QString diameterText(int count, const QString& symbol, double d) {
    const QString bar = symbol + QString::number(static_cast<int>(std::lround(d)));
    return count > 1 ? QString::number(count) + bar : bar;
}

}  // namespace

CurrentCodeSectionView::CurrentCodeSectionView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 260);
}

void CurrentCodeSectionView::showDesign(double b, double h, double cover, double stirrup,
                                        const std::optional<BarLayout>& layout,
                                        const QString& symbol) {
    symbol_ = symbol;
    b_ = b;
    h_ = h;
    cover_ = cover;
    stirrup_ = stirrup;
    layout_ = layout;
    inner_.clear();
    update();
}

void CurrentCodeSectionView::setInnerStirrups(std::vector<SectionDrawing::StirrupPiece> pieces) {
    inner_ = std::move(pieces);
    update();
}

QRectF CurrentCodeSectionView::drawingArea() const {
    return QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

double CurrentCodeSectionView::pixelsPerMillimetre() const {
    if (!(b_ > 0.0) || !(h_ > 0.0) || !std::isfinite(b_) || !std::isfinite(h_)) return 0.0;
    const QRectF area = drawingArea();
    return std::max(0.0, std::min(area.width() / h_, area.height() / b_));
}

QPointF CurrentCodeSectionView::toWidget(double u, double v) const {
    const double scale = pixelsPerMillimetre();
    const QPointF centre = drawingArea().center();
    return {centre.x() + u * scale, centre.y() - v * scale};
}

std::vector<CurrentCodeSectionView::Label> CurrentCodeSectionView::labels() const {
    std::vector<Label> result;
    if (!layout_ || pixelsPerMillimetre() <= 0.0) return result;
    const LayoutChoice& choice = layout_->choice;
    const QFontMetricsF metrics(font());
    const QPointF topLeft = toWidget(-h_ / 2.0, b_ / 2.0);
    const QPointF bottomRight = toWidget(h_ / 2.0, -b_ / 2.0);
    const QRectF outline(topLeft, bottomRight);

    auto place = [&](const QString& text, QPointF anchor, double alignX, double alignY) {
        // alignX/alignY: where the anchor sits on the label, 0 = left/top, 1 = right/bottom.
        const QRectF box = metrics.boundingRect(text);
        const QRectF rect(anchor.x() - alignX * box.width(), anchor.y() - alignY * box.height(),
                          box.width(), box.height());
        result.push_back({text, rect});
    };

    // The corner bars, diagonally outside each corner.
    const QString corner = diameterText(1, symbol_, choice.cornerDiameter);
    place(corner, outline.topLeft() + QPointF(-kGap, -kGap), 1.0, 1.0);
    place(corner, outline.topRight() + QPointF(kGap, -kGap), 0.0, 1.0);
    place(corner, outline.bottomLeft() + QPointF(-kGap, kGap), 1.0, 0.0);
    place(corner, outline.bottomRight() + QPointF(kGap, kGap), 0.0, 0.0);

    // Web bars of the faces of length b (left and right, at u = -+(h/2 - a)): beside the face.
    if (choice.webBarsAlongB > 0) {
        const QString text = diameterText(choice.webBarsAlongB, symbol_, choice.webDiameterB);
        place(text, QPointF(outline.left() - kGap, outline.center().y()), 1.0, 0.5);
        place(text, QPointF(outline.right() + kGap, outline.center().y()), 0.0, 0.5);
    }
    // Web bars of the faces of length h (top and bottom, at v = +-(b/2 - a)): above and below.
    if (choice.webBarsAlongH > 0) {
        const QString text = diameterText(choice.webBarsAlongH, symbol_, choice.webDiameterH);
        place(text, QPointF(outline.center().x(), outline.top() - kGap), 0.5, 1.0);
        place(text, QPointF(outline.center().x(), outline.bottom() + kGap), 0.5, 0.0);
    }
    return result;
}

void CurrentCodeSectionView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const double scale = pixelsPerMillimetre();
    if (scale <= 0.0) return;

    const QRectF outline(toWidget(-h_ / 2.0, b_ / 2.0), toWidget(h_ / 2.0, -b_ / 2.0));
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(outline);

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
    for (const Label& label : labels()) {
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
    }
}

}  // namespace tessarin
