#include "book_pdf/book_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>
#include <QTextTableFormat>
#include <cmath>

namespace tessarin {

namespace {

// The writer's resolution. The layout takes the lengths of margins and tables in pixels of 96 dpi
// and scales them to the writer; pt() gives them in points.
constexpr int kResolution = 600;
constexpr double pt(double points) {
    return points * 96.0 / 72.0;
}

constexpr int kPictureFormat = QTextFormat::UserObject + 1;
constexpr int kPictureIndex = QTextFormat::UserProperty + 1;

// Latin letters and digits come from a TrueType face: the CJK faces are CFF-based, and digits that
// the shaper gives alternate glyphs in Latin runs would lose their text in the PDF (a copy or a
// search would not find the numbers). The Chinese text comes from the CJK face.
QFont bookFont(const QString& latin, const QString& cjk) {
    QFont font;
    QStringList families;
    if (QFontDatabase::families().contains(latin)) families << latin;
    families << cjk;
    font.setFamilies(families);
    return font;
}

// The faces a Chinese calculation book is printed in, first found wins.
QString bodyFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Serif CJK SC", "SimSun", "Noto Sans CJK SC", "AR PL UMing CN",
                             "WenQuanYi Micro Hei"}) {
        const QString family = QString::fromUtf8(name);
        if (families.contains(family)) return family;
    }
    return QFont().family();
}
QString drawingFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Sans CJK SC", "Microsoft YaHei", "WenQuanYi Micro Hei"}) {
        const QString family = QString::fromUtf8(name);
        if (families.contains(family)) return family;
    }
    return bodyFamily();
}

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colour(const std::string& text) {
    return text.empty() ? QColor(Qt::transparent) : QColor(qs(text));
}

// Draws a book picture inside the text flow: the document reserves its size in millimetres and
// the painter draws its shapes as vectors.
class PictureHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    explicit PictureHandler(const Book& book) {
        for (const BookBlock& block : book.blocks) {
            if (const auto* picture = std::get_if<BookPicture>(&block))
                pictures_.push_back(picture);
        }
    }

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat& format) override {
        const BookPicture& p = picture(format);
        const double perMm = unitsPerMillimetre(document);
        return {p.width * perMm, p.height * perMm};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const BookPicture& p = picture(format);
        if (!(p.width > 0.0)) return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / p.width, rect.width() / p.width);
        for (const PictureShape& shape : p.shapes) std::visit(ShapePainter{*painter}, shape);
        painter->restore();
    }

  private:
    struct ShapePainter {
        QPainter& p;
        QPen pen(const std::string& stroke, double width, bool dashed = false) const {
            if (stroke.empty()) return Qt::NoPen;
            QPen result(colour(stroke), width);
            if (dashed) result.setDashPattern({2.0 / width, 1.0 / width});
            return result;
        }
        void operator()(const PictureLine& s) const {
            p.setPen(pen(s.stroke, s.width, s.dashed));
            p.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
        }
        void operator()(const PictureRect& s) const {
            p.setPen(pen(s.stroke, s.width));
            p.setBrush(s.fill.empty() ? QBrush(Qt::NoBrush) : QBrush(colour(s.fill)));
            p.drawRect(QRectF(s.x, s.y, s.w, s.h));
        }
        void operator()(const PictureCircle& s) const {
            p.setPen(pen(s.stroke, s.width));
            p.setBrush(s.fill.empty() ? QBrush(Qt::NoBrush) : QBrush(colour(s.fill)));
            p.drawEllipse(QPointF(s.cx, s.cy), s.r, s.r);
        }
        void operator()(const PicturePolyline& s) const {
            QPolygonF points;
            for (std::size_t i = 0; i + 1 < s.points.size(); i += 2) {
                points << QPointF(s.points[i], s.points[i + 1]);
            }
            p.setPen(pen(s.stroke, s.width));
            p.setBrush(s.fill.empty() ? QBrush(Qt::NoBrush) : QBrush(colour(s.fill)));
            if (s.closed) {
                p.drawPolygon(points);
            } else {
                p.drawPolyline(points);
            }
        }
        void operator()(const PictureText& s) const {
            // Text is drawn at a large pixel size and scaled down, so that the glyphs keep their
            // outlines at millimetre sizes.
            constexpr double kPixels = 100.0;
            QFont font = bookFont(QStringLiteral("DejaVu Sans"), drawingFamily());
            font.setPixelSize(static_cast<int>(kPixels));
            const double factor = s.size / kPixels;  // a face of `size` mm
            const QString text = qs(s.text);
            const double width = QFontMetricsF(font).horizontalAdvance(text) * factor;
            double x = s.x;
            if (s.anchor == TextAnchor::Middle) x -= width / 2.0;
            if (s.anchor == TextAnchor::End) x -= width;
            p.save();
            p.translate(x, s.y);
            p.scale(factor, factor);
            p.setFont(font);
            p.setPen(colour(s.colour));
            p.drawText(QPointF(0, 0), text);
            p.restore();
        }
    };

    static double unitsPerMillimetre(QTextDocument* document) {
        const QPaintDevice* device = document->documentLayout()->paintDevice();
        const double dpi = device != nullptr ? device->logicalDpiX() : 96.0;
        return dpi / 25.4;
    }
    const BookPicture& picture(const QTextFormat& format) const {
        static const BookPicture kNone;
        const int index = format.intProperty(kPictureIndex);
        return index >= 0 && index < static_cast<int>(pictures_.size()) ? *pictures_[index] : kNone;
    }

    std::vector<const BookPicture*> pictures_;
};

class DocumentBuilder {
  public:
    DocumentBuilder(QTextDocument& document, const QFont& font) : cursor_(&document), font_(font) {}

    void title(const std::string& text) {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setBottomMargin(pt(12));
        cursor_.setBlockFormat(block);
        cursor_.insertText(qs(text), charFormat(17, true));
    }
    void operator()(const BookHeading& h) {
        QTextBlockFormat block;
        block.setTopMargin(pt(h.level <= 1 ? 12 : 8));
        block.setBottomMargin(pt(4));
        newBlock(block);
        cursor_.insertText(qs(h.text), charFormat(h.level <= 1 ? 13 : 11.5, true));
    }
    void operator()(const BookParagraph& p) {
        QTextBlockFormat block;
        block.setTopMargin(pt(2));
        block.setBottomMargin(pt(2));
        newBlock(block);
        cursor_.insertText(qs(p.text), charFormat(10.5));
    }
    void operator()(const BookFormula& f) {
        QTextBlockFormat block;
        block.setLeftMargin(pt(10));
        block.setTopMargin(pt(3));
        if (!f.label.empty()) {
            newBlock(block);
            cursor_.insertText(qs(f.label), charFormat(10.5));
            block.setTopMargin(0);
        }
        block.setLeftMargin(pt(24));
        block.setBottomMargin(pt(2));
        newBlock(block);
        std::string math = f.formula;
        if (!f.substituted.empty()) math += " = " + f.substituted;
        math += " = " + f.result;
        cursor_.insertText(qs(math), charFormat(10));
    }
    void operator()(const BookTable& t) {
        const std::size_t columns =
            std::max<std::size_t>(t.header.size(), t.rows.empty() ? 1 : t.rows.front().size());
        const std::size_t rows = t.rows.size() + (t.header.empty() ? 0 : 1);
        if (rows == 0 || columns == 0) return;
        newBlock(QTextBlockFormat());
        QTextTableFormat format;
        format.setBorder(pt(0.5));
        format.setBorderBrush(QColor(0x70, 0x70, 0x70));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(pt(2));
        format.setCellSpacing(0);
        format.setTopMargin(pt(2));
        format.setBottomMargin(pt(4));
        // Wide tables (the iteration passes) take the page width and a smaller face.
        const bool wide = columns >= 6;
        if (wide) format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        const double points = wide ? 8.5 : 9.5;
        QTextTable* table =
            cursor_.insertTable(static_cast<int>(rows), static_cast<int>(columns), format);
        int row = 0;
        const auto fill = [&](const std::vector<std::string>& cells, bool header) {
            for (std::size_t column = 0; column < cells.size() && column < columns; ++column) {
                QTextCursor cell =
                    table->cellAt(row, static_cast<int>(column)).firstCursorPosition();
                if (header) {
                    QTextTableCellFormat shaded;
                    shaded.setBackground(QColor(0xEE, 0xEE, 0xEE));
                    table->cellAt(row, static_cast<int>(column)).setFormat(shaded);
                }
                cell.insertText(qs(cells[column]), charFormat(points, header));
            }
            ++row;
        };
        if (!t.header.empty()) fill(t.header, true);
        for (const auto& cells : t.rows) fill(cells, false);
        cursor_.movePosition(QTextCursor::End);
    }
    void operator()(const BookPicture& p) {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setTopMargin(pt(6));
        newBlock(block);
        QTextCharFormat object;
        object.setObjectType(kPictureFormat);
        object.setProperty(kPictureIndex, pictureIndex_++);
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter), object);
        if (!p.caption.empty()) {
            block.setTopMargin(pt(2));
            block.setBottomMargin(pt(8));
            newBlock(block);
            cursor_.insertText(qs(p.caption), charFormat(9.5));
        }
    }

  private:
    void newBlock(const QTextBlockFormat& format) {
        cursor_.movePosition(QTextCursor::End);
        cursor_.insertBlock(format);
    }
    QTextCharFormat charFormat(double points, bool bold = false) const {
        QTextCharFormat format;
        QFont font = font_;
        font.setPointSizeF(points);
        font.setBold(bold);
        format.setFont(font);
        return format;
    }

    QTextCursor cursor_;
    QFont font_;
    int pictureIndex_ = 0;
};

}  // namespace

bool renderBookPdf(const Book& book, std::string& pdf, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        error = "cannot open a memory buffer for the PDF";
        return false;
    }
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setResolution(kResolution);
        writer.setTitle(qs(book.title));
        writer.setCreator(QStringLiteral("Tessarin"));

        QTextDocument document;
        QFont font = bookFont(QStringLiteral("DejaVu Serif"), bodyFamily());
        font.setPointSizeF(10);
        document.setDefaultFont(font);
        PictureHandler pictures(book);
        document.documentLayout()->registerHandler(kPictureFormat, &pictures);
        DocumentBuilder builder(document, font);
        builder.title(book.title);
        for (const BookBlock& block : book.blocks) std::visit(builder, block);
        document.print(&writer);
    }
    buffer.close();
    if (bytes.isEmpty()) {
        error = "the PDF writer produced nothing";
        return false;
    }
    pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

}  // namespace tessarin

#include "book_pdf.moc"
