#include "ui/bar_text.h"

#include <QFontInfo>
#include <QPen>
#include <algorithm>

#include "book/grade_symbol.h"

namespace tessarin {

namespace {

// Where the next grade letter from `from` stands: an A to D that follows a digit, a space, a '+'
// or begins the text, and is followed by a digit ("4C28", "C25", "4C22+8C20"); -1 when there is
// none.
qsizetype letterIndex(const QString& text, qsizetype from) {
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() > 0x7F || !gradeOfSymbolLetter(static_cast<char>(c.unicode()))) continue;
        const bool afterCount = i == 0 || text[i - 1].isDigit() || text[i - 1].isSpace() ||
                                text[i - 1] == QLatin1Char('+');
        const bool beforeDiameter = i + 1 < text.size() && text[i + 1].isDigit();
        if (afterCount && beforeDiameter) return i;
    }
    return -1;
}

GradeSymbolShape shapeOf(QChar letter) {
    return gradeSymbolShape(*gradeOfSymbolLetter(static_cast<char>(letter.unicode())));
}

}  // namespace

double barTextWidth(const QFontMetricsF& metrics, double em, const QString& text) {
    double width = 0.0;
    qsizetype from = 0;
    for (qsizetype i = letterIndex(text, 0); i >= 0; i = letterIndex(text, from)) {
        width +=
            metrics.horizontalAdvance(text.mid(from, i - from)) + shapeOf(text[i]).advance * em;
        from = i + 1;
    }
    return width + metrics.horizontalAdvance(text.mid(from));
}

void paintBarText(QPainter& painter, QPointF at, double em, const QString& text) {
    const QFontMetricsF metrics(painter.font());
    double x = at.x();
    qsizetype from = 0;
    for (qsizetype i = letterIndex(text, 0); i >= 0; i = letterIndex(text, from)) {
        const QString before = text.mid(from, i - from);
        painter.drawText(QPointF(x, at.y()), before);
        x += metrics.horizontalAdvance(before);
        const GradeSymbolShape shape = shapeOf(text[i]);
        painter.save();
        QPen pen(painter.pen().color(), std::max(1.0, shape.lineWidth * em));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const double left = x;
        const auto point = [&](double sx, double sy) {
            return QPointF(left + sx * em, at.y() - sy * em);
        };
        painter.drawEllipse(point(shape.circleX, shape.circleY), shape.radius * em,
                            shape.radius * em);
        for (const GradeSymbolShape::Stroke& s : shape.strokes) {
            painter.drawLine(point(s.x1, s.y1), point(s.x2, s.y2));
        }
        painter.restore();
        x += shape.advance * em;
        from = i + 1;
    }
    painter.drawText(QPointF(x, at.y()), text.mid(from));
}

double fontEm(const QFont& font) {
    return QFontInfo(font).pixelSize();
}

}  // namespace tessarin
