#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "drawing/section_drawing.h"
#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The chosen layout drawn to scale as the drawing has it: the concrete outline b x h (v along b to
// the right, u along h upwards), the stirrup line at the cover, every bar as a filled circle of its
// own diameter, and each bar group labelled with its grade's drawn symbol and diameter outside the
// section (the label texts "C25" at the corners, "3C20" on a face for HRB400 are painted with the
// symbol in place of the letter), so that no label covers a bar or a line.
class Gb2010SectionView : public QWidget {
  public:
    explicit Gb2010SectionView(QWidget* parent = nullptr);

    // Nothing is drawn but the frame until a design is shown.
    void showDesign(double b, double h, double cover, double stirrup,
                    const std::optional<BarLayout>& layout, const QString& symbol);

    // Where a point of the section (mm, centroid at the origin) is drawn; one scale for both
    // directions, so the drawing is true to shape.
    QPointF toWidget(double u, double v) const;
    double pixelsPerMillimetre() const;

    // A label and the rectangle it is drawn in (widget pixels); the tests check them against the
    // bars.
    // The bar labels, the axis letters x and y and the dimensions b and h; h is turned to read
    // upwards (its rect is tall).
    struct Label {
        QString text;
        QRectF rect;
        bool turned = false;
    };
    std::vector<Label> labels() const;
    const std::optional<BarLayout>& layout() const { return layout_; }

    // The inner hoops and ties of the stirrup (innerStirrupPieces: x = v, y = u), drawn as wide
    // as the stirrup; none until given, and cleared by showDesign.
    void setInnerStirrups(std::vector<SectionDrawing::StirrupPiece> pieces);
    const std::vector<SectionDrawing::StirrupPiece>& innerStirrups() const { return inner_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRectF drawingArea() const;

    double b_ = 0.0;
    double h_ = 0.0;
    double cover_ = 0.0;
    double stirrup_ = 0.0;
    std::optional<BarLayout> layout_;
    std::vector<SectionDrawing::StirrupPiece> inner_;
    QString symbol_;
};

}  // namespace tessarin
