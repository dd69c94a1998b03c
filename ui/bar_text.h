#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QString>

namespace tessarin {

// Bar labels in the windows: the plain-text notation ("4C28": count, the grade's letter A to D,
// diameter) painted with the grade's own drawn symbol in place of its letter, from the same
// strokes the books draw (book/grade_symbol.h), so no font needs the symbols.

// The width of the label as painted: the texts before and after the letter and the symbol's
// advance in its place.
double barTextWidth(const QFontMetricsF& metrics, double em, const QString& text);

// Paints text with its left end at baseline point `at` in the painter's font and pen colour,
// every grade letter of a bar ("4C22+8C20": after a count, a space or a "+", before a diameter)
// as its symbol; em is the font's character size in pixels. A text without a grade letter is
// painted as it is.
void paintBarText(QPainter& painter, QPointF at, double em, const QString& text);

// The character size of a font in pixels.
double fontEm(const QFont& font);

}  // namespace tessarin
