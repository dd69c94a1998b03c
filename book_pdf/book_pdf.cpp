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
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "book/book_cover.h"

namespace tessarin {

namespace {

// The writer's resolution. The layout takes the lengths of margins and tables in pixels of 96 dpi
// and scales them to the writer; pt() gives them in points.
constexpr int kResolution = 600;
constexpr double pt(double points) {
    return points * 96.0 / 72.0;
}

// A4, with room for the running header above the text and the page count below it.
constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;
constexpr double kSideMarginMm = 20.0;
constexpr double kTopMarginMm = 25.0;
constexpr double kBottomMarginMm = 22.0;

constexpr int kPictureFormat = QTextFormat::UserObject + 1;
constexpr int kPictureIndex = QTextFormat::UserProperty + 1;

// The book's text face. AR PL UMing, a TrueType Ming (Song) face with its own Latin and Greek,
// sets the whole book in one family, and its text in the PDF is what was printed. The Noto CJK
// faces, the fallback, are CFF-based: digits the shaper gives alternate glyphs in Latin runs would
// lose their text in the PDF, so Latin comes from a TrueType face there; and their ideographs share
// glyphs with the Kangxi radicals, so a copy or a search of the PDF finds "⼯" for "工".
constexpr const char* kOneFamilyFace = "AR PL UMing CN";

QFont bookFont(const QString& latin, const QString& cjk) {
    QFont font;
    QStringList families;
    if (cjk != QLatin1String(kOneFamilyFace) && QFontDatabase::families().contains(latin)) {
        families << latin;
    }
    families << cjk;
    font.setFamilies(families);
    return font;
}

// The faces a Chinese calculation book is printed in, first found wins.
QString bodyFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {kOneFamilyFace, "Noto Serif CJK SC", "SimSun", "Noto Sans CJK SC",
                             "WenQuanYi Micro Hei"}) {
        QString family = QString::fromUtf8(name);
        if (families.contains(family)) return family;
    }
    return QFont().family();
}
QString drawingFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Sans CJK SC", "Microsoft YaHei", "WenQuanYi Micro Hei"}) {
        QString family = QString::fromUtf8(name);
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

    void operator()(const BookHeading& h) {
        QTextBlockFormat block;
        block.setTopMargin(pt(h.level <= 1 ? 12 : 8));
        block.setBottomMargin(pt(4));
        newBlock(block);
        keepWithNext_.push_back(cursor_.block().blockNumber());
        cursor_.insertText(qs(h.text), charFormat(h.level <= 1 ? 13 : 11.5, true));
    }
    // The title page: the title, the project's data, 设计依据 and the signature block; the first
    // chapter starts on a new page.
    void cover(const std::string& title, const BookCover& c) {
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        centred.setTopMargin(pt(110));
        centred.setBottomMargin(pt(40));
        cursor_.setBlockFormat(centred);
        cursor_.insertText(qs(title), charFormat(20, true));
        coverTable(coverRows(c), {}, 11);
        QTextBlockFormat basis;
        basis.setTopMargin(pt(24));
        basis.setBottomMargin(pt(4));
        basis.setLeftMargin(pt(60));
        newBlock(basis);
        cursor_.insertText(QStringLiteral("设计依据"), charFormat(12, true));
        basis.setTopMargin(pt(1));
        basis.setBottomMargin(pt(1));
        int n = 0;
        for (const std::string& code : c.designBasis) {
            newBlock(basis);
            cursor_.insertText(QString::number(++n) + QStringLiteral(". ") + qs(code),
                               charFormat(11));
        }
        QTextBlockFormat gap;
        gap.setTopMargin(pt(24));
        newBlock(gap);
        coverTable(signatureRows(c), {"职责", "姓名", "签字", "日期"}, 11);
        pageBreakAfterCover_ = true;
    }
    const std::vector<int>& keepWithNext() const { return keepWithNext_; }
    const std::vector<int>& keepWhole() const { return keepWhole_; }
    void operator()(const BookParagraph& p) {
        QTextBlockFormat block;
        block.setTopMargin(pt(2));
        block.setBottomMargin(pt(2));
        newBlock(block);
        cursor_.insertText(qs(p.text), charFormat(10.5));
    }
    void operator()(const BookFormula& f) {
        // The label and the formula are one block, kept on one page: a formula is never split.
        QTextBlockFormat block;
        block.setLeftMargin(pt(10));
        block.setTopMargin(pt(3));
        block.setBottomMargin(pt(2));
        newBlock(block);
        keepWhole_.push_back(cursor_.block().blockNumber());
        if (!f.label.empty()) {
            cursor_.insertText(qs(f.label), charFormat(10.5));
            cursor_.insertText(QString(QChar::LineSeparator), charFormat(10.5));
        }
        std::string math = f.formula;
        if (!f.substituted.empty()) math += " = " + f.substituted;
        math += " = " + f.result;
        // The formula indented under its label by two ideographic blanks.
        cursor_.insertText(QStringLiteral("\u3000\u3000") + qs(math), charFormat(10));
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
        // A table continued on the next page repeats its header row there.
        if (!t.header.empty()) format.setHeaderRowCount(1);
        // Wide tables (the iteration passes) take the page width and a smaller face.
        const bool wide = columns >= kWideTableColumns;
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
        // A picture stays on the page of its caption.
        if (!p.caption.empty()) keepWithNext_.push_back(cursor_.block().blockNumber());
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
    void newBlock(QTextBlockFormat format) {
        cursor_.movePosition(QTextCursor::End);
        // The first block after the title page starts a new page.
        if (pageBreakAfterCover_) {
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            pageBreakAfterCover_ = false;
        }
        cursor_.insertBlock(format);
    }
    // A bordered table of the title page, centred: label and value, or under a header row.
    void coverTable(const std::vector<std::pair<std::string, std::string>>& rows,
                    const std::vector<const char*>& header, double points) {
        const int columns = header.empty() ? 2 : static_cast<int>(header.size());
        const int count = static_cast<int>(rows.size()) + (header.empty() ? 0 : 1);
        QTextTableFormat format;
        format.setBorder(pt(0.5));
        format.setBorderBrush(QColor(0x40, 0x40, 0x40));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(pt(4));
        format.setCellSpacing(0);
        format.setAlignment(Qt::AlignHCenter);
        format.setTopMargin(pt(6));
        format.setWidth(QTextLength(QTextLength::PercentageLength, 75));
        cursor_.movePosition(QTextCursor::End);
        QTextTable* table = cursor_.insertTable(count, columns, format);
        int row = 0;
        if (!header.empty()) {
            for (int column = 0; column < columns; ++column) {
                table->cellAt(0, column).firstCursorPosition().insertText(
                    QString::fromUtf8(header[static_cast<std::size_t>(column)]),
                    charFormat(points, true));
            }
            row = 1;
        }
        for (const auto& [label, value] : rows) {
            table->cellAt(row, 0).firstCursorPosition().insertText(qs(label),
                                                                   charFormat(points, true));
            table->cellAt(row, 1).firstCursorPosition().insertText(qs(value), charFormat(points));
            ++row;
        }
        cursor_.movePosition(QTextCursor::End);
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
    std::vector<int> keepWithNext_;  // block numbers kept on the page of the block after them
    std::vector<int> keepWhole_;     // block numbers whose lines stay on one page
    bool pageBreakAfterCover_ = false;
};

// The page a block starts on, in a document laid out in pages of the given height.
int pageOf(QTextDocument& document, const QTextBlock& block, double pageHeight) {
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    return static_cast<int>(std::floor(rect.top() / pageHeight));
}

// Keeps each block of `withNext` on the page of the block after it (a heading is never the last
// line of a page, a picture never apart from its caption) and the lines of each block of `whole`
// on one page (a formula). The first block found out of place starts a new page, from the first
// of a chain of kept blocks, and the layout is made again until none is left: each pass settles one
// block for good, so there are at most as many passes as listed blocks.
void keepBlocksTogether(QTextDocument& document, const std::vector<int>& withNext,
                        const std::vector<int>& whole, double pageHeight) {
    const auto kept = [&withNext](const QTextBlock& block) {
        return block.isValid() &&
               std::find(withNext.begin(), withNext.end(), block.blockNumber()) != withNext.end();
    };
    // Where a block that is out of place starts its page: at the first of the blocks kept with it.
    const auto breakBefore = [&](QTextBlock block) {
        while (kept(block.previous())) block = block.previous();
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
            return false;
        }
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
        return true;
    };
    const auto split = [&](const QTextBlock& block) {
        const QRectF rect = document.documentLayout()->blockBoundingRect(block);
        return std::floor(rect.top() / pageHeight) !=
               std::floor((rect.bottom() - 1.0) / pageHeight);
    };
    for (std::size_t pass = 0; pass <= withNext.size() + whole.size(); ++pass) {
        bool moved = false;
        for (const int number : withNext) {
            const QTextBlock block = document.findBlockByNumber(number);
            const QTextBlock next = block.next();
            if (!block.isValid() || !next.isValid()) continue;
            if (pageOf(document, next, pageHeight) > pageOf(document, block, pageHeight) &&
                breakBefore(block)) {
                moved = true;
                break;
            }
        }
        for (std::size_t i = 0; i < whole.size() && !moved; ++i) {
            const QTextBlock block = document.findBlockByNumber(whole[i]);
            if (block.isValid() && split(block) && breakBefore(block)) moved = true;
        }
        if (!moved) return;
    }
}

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
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(kResolution);
        writer.setTitle(qs(book.title));
        writer.setCreator(QStringLiteral("Tessarin"));

        // The document is laid out in pixels of 96 dpi, a page of the text area at a time; the
        // painter scales it to the writer. The header and the footer stand in the margins.
        constexpr double kPx = 96.0 / 25.4;
        const double pageWidth = (kPageWidthMm - 2.0 * kSideMarginMm) * kPx;
        const double pageHeight = (kPageHeightMm - kTopMarginMm - kBottomMarginMm) * kPx;
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setPageSize(QSizeF(pageWidth, pageHeight));
        QFont font = bookFont(QStringLiteral("DejaVu Serif"), bodyFamily());
        font.setPointSizeF(10);
        document.setDefaultFont(font);
        PictureHandler pictures(book);
        document.documentLayout()->registerHandler(kPictureFormat, &pictures);
        DocumentBuilder builder(document, font);
        builder.cover(book.title, book.cover);
        for (const BookBlock& block : book.blocks) std::visit(builder, block);
        keepBlocksTogether(document, builder.keepWithNext(), builder.keepWhole(), pageHeight);
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = "cannot paint on the PDF writer";
            return false;
        }
        const double scale = writer.resolution() / 96.0;
        // The header and footer face as the document's: 9 pt at the 96 dpi of the layout, drawn
        // through the scaled painter.
        QFont small = font;
        small.setPointSizeF(9.0 * 96.0 / writer.logicalDpiY());
        const QString header = qs(runningHeader(book.cover));
        const int pages = document.pageCount();
        for (int page = 0; page < pages; ++page) {
            if (page > 0) writer.newPage();
            painter.save();
            painter.scale(scale, scale);
            painter.setFont(small);
            painter.setPen(Qt::black);
            // The title page has no running header; every page its number of the whole.
            if (page > 0 && !header.isEmpty()) {
                const QRectF top(kSideMarginMm * kPx, (kTopMarginMm - 12.0) * kPx, pageWidth,
                                 8.0 * kPx);
                painter.drawText(top, Qt::AlignLeft | Qt::AlignBottom, header);
                painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.5));
                painter.drawLine(
                    QPointF(kSideMarginMm * kPx, (kTopMarginMm - 3.0) * kPx),
                    QPointF((kPageWidthMm - kSideMarginMm) * kPx, (kTopMarginMm - 3.0) * kPx));
                painter.setPen(Qt::black);
            }
            const QRectF foot(kSideMarginMm * kPx, (kPageHeightMm - kBottomMarginMm + 6.0) * kPx,
                              pageWidth, 8.0 * kPx);
            painter.drawText(foot, Qt::AlignHCenter | Qt::AlignTop,
                             qs(pageFooter(page + 1, pages)));
            painter.translate(kSideMarginMm * kPx, kTopMarginMm * kPx - page * pageHeight);
            document.drawContents(&painter, QRectF(0, page * pageHeight, pageWidth, pageHeight));
            painter.restore();
        }
        painter.end();
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
