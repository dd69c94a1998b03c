#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

#include "engine/section/section_check.h"

namespace tessarin {

// The checked section drawn to scale as the drawing has it: the concrete outline b x h (v along b
// to the right, u along h upwards; the axes named x along h and y along b), every bar as a circle
// of its own area, and the four bar groups labelled with their areas.
class SectionView : public QWidget {
  public:
    explicit SectionView(const SectionCheckResult& result, QWidget* parent = nullptr);

    // Where a point of the section (mm, centroid at the origin) is drawn, and the scale in pixels
    // per mm; one scale for both directions, so the drawing is true to shape.
    QPointF toWidget(double u, double v) const;
    double pixelsPerMillimetre() const;
    // The drawn radius of a bar (px): a circle of the bar's own area, at least a dot.
    double barRadius(const CheckedBar& bar) const;
    // The section's outline as drawn.
    QRectF outline() const;

    // A text of the drawing: the group labels, the dimensions and the axis letters, each placed
    // outside the outline and beside the axis lines, so that it meets no bar and no line.
    struct Label {
        QString text;
        QColor colour;
        bool upright = true;  // false: turned to read upwards, beside a vertical edge
        QRectF box;           // the widget area the text covers
    };
    std::vector<Label> labels() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRectF drawingArea() const;

    const SectionCheckResult& result_;
};

// The Mx-My ultimate contour at the design axial force, with the demand point and its capacity
// point on the contour in the same moment direction.
class InteractionView : public QWidget {
  public:
    explicit InteractionView(const SectionCheckResult& result, QWidget* parent = nullptr);

    // Where a moment pair (kN*m) is drawn; equal scales on both axes.
    QPointF toWidget(double mx, double my) const;
    double pixelsPerKilonewtonMetre() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRectF plotArea() const;
    double extent() const;  // the largest |moment| on either axis, kN*m

    const SectionCheckResult& result_;
};

}  // namespace tessarin
