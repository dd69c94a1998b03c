#include "book/column_schedule.h"

#include <algorithm>

#include "book/book_pictures.h"
#include "book/book_writer.h"
#include "drawing/design_drawing.h"
#include "report/gb2010_format.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"

namespace tessarin {

namespace {

// The sheet is plotted at 1:20 as the section details under the table are, so that sizes on paper
// (mm) are multiplied by 20 in the model. Drafting sizes of GB/T 50105: 3.5 mm texts, 5 mm title.
constexpr double kScale = 20.0;
constexpr double kTextHeight = 3.5 * kScale;
constexpr double kTitleHeight = 5.0 * kScale;
constexpr double kRowHeight = 8.0 * kScale;
constexpr double kPadding = 2.0 * kScale;  // each side of a cell's text
constexpr double kSmallestCell = 12.0 * kScale;
// Texts are measured by DxfDocument's estimate, a Chinese character one height wide as the big
// font draws it; a viewer without the drafting fonts shows a wider face, so a cell leaves
// two fifths more room.
constexpr double kTextRoom = 1.4;
constexpr double kFrameWidth = 0.5 * kScale;  // the table's outer frame, drawn thick
constexpr double kDetailGap = 15.0 * kScale;
constexpr double kSheetWidth = 600.0 * kScale;  // details wrap to a new row beyond this
constexpr const char* kTableLayer = "柱表";

std::string barGroup(int count, const std::string& symbol, int diameter) {
    return std::to_string(count) + symbol + std::to_string(diameter);
}

std::string sectionText(double b, double h) {
    return lengthText(b) + "×" + lengthText(h);
}

// What a section detail shows besides its title: the row's cells in the drawing's notation.
std::vector<std::string> detailLines(const ScheduleRow& row) {
    std::vector<std::string> lines{row.section};
    if (!row.allBars.empty()) {
        lines.push_back("全部纵筋 " + row.allBars);
    } else {
        lines.push_back("角筋 " + row.cornerBars);
        if (!row.middleBarsB.empty()) lines.push_back("b边一侧中部筋 " + row.middleBarsB);
        if (!row.middleBarsH.empty()) lines.push_back("h边一侧中部筋 " + row.middleBarsH);
    }
    if (!row.stirrups.empty()) {
        lines.push_back("箍筋 " + row.stirrups);
        lines.push_back("箍筋类型号 " + row.stirrupType);
    }
    return lines;
}

}  // namespace

std::vector<std::string> scheduleCells(const ScheduleRow& row, bool full) {
    std::string note = row.note;
    if (full && !row.reason.empty()) note += "：" + row.reason;
    return {row.mark,        row.section,     row.allBars,
            row.cornerBars,  row.middleBarsB, row.middleBarsH,
            row.stirrupType, row.stirrups,    note};
}

ScheduleRow scheduleRow(const std::string& mark, const ColumnWithStirrups& column,
                        GradeSymbols symbols) {
    const Gb2010Design& design = column.longitudinal;
    ScheduleRow row;
    row.mark = mark;
    row.section = sectionText(design.column.b, design.column.h);
    if (!design.designed || !design.layout) {
        row.note = "无可用配筋";
        row.reason = noLayoutReasonText(design);
        return row;
    }
    const auto symbolOf = [symbols](SteelGrade2010 steel) -> std::string {
        return symbols == GradeSymbols::Letters ? barSymbol(steel) : dxfBarSymbol(steel);
    };
    const std::string bar = symbolOf(design.column.steel);
    // The stirrup design's view of the bars: one place that knows each face's middle bars.
    const LongitudinalBars bars = longitudinalBarsOf(design.layout->choice);
    const bool sameDiameter =
        (bars.middleBarsB == 0 || bars.middleDiameterB == bars.cornerDiameter) &&
        (bars.middleBarsH == 0 || bars.middleDiameterH == bars.cornerDiameter);
    // 16G101-1 2.2.2-4: 全部纵筋 only for one diameter with the same count on every face.
    if (sameDiameter && bars.middleBarsB == bars.middleBarsH) {
        row.allBars =
            barGroup(4 + 2 * bars.middleBarsB + 2 * bars.middleBarsH, bar, bars.cornerDiameter);
    } else {
        row.cornerBars = barGroup(4, bar, bars.cornerDiameter);
        if (bars.middleBarsB > 0)
            row.middleBarsB = barGroup(bars.middleBarsB, bar, bars.middleDiameterB);
        if (bars.middleBarsH > 0)
            row.middleBarsH = barGroup(bars.middleBarsH, bar, bars.middleDiameterH);
    }
    if (column.stirrups && column.stirrups->designed) {
        const StirrupDesign& s = *column.stirrups;
        // Type 1 of 16G101-1 2.2.3: the rectangular compound hoop, legs m along b × n along h.
        row.stirrupType = "1(" + stirrupType(s.choice) + ")";
        // The notation starts with the grade letter; a drawing writes the drafting code.
        row.stirrups = symbolOf(s.column.stirrupSteel) +
                       stirrupNotation(s.column.stirrupSteel, s.choice).substr(1);
    } else {
        row.note = "箍筋不满足";
        if (column.stirrups) row.reason = stirrupFailureText(*column.stirrups);
    }
    return row;
}

ScheduleRow rejectedScheduleRow(const std::string& mark, const Gb2010Column* column,
                                const std::string& finding) {
    ScheduleRow row;
    row.mark = mark;
    if (column != nullptr) row.section = sectionText(column->b, column->h);
    row.note = "输入有误";
    row.reason = finding;
    return row;
}

void ColumnSchedule::add(long long order, const std::string& mark,
                         const ColumnWithStirrups& column) {
    Entry entry{order, entries_.size(), scheduleRow(mark, column, GradeSymbols::Letters),
                scheduleRow(mark, column, GradeSymbols::Dxf), std::nullopt};
    const Gb2010Design& design = column.longitudinal;
    if (design.designed && design.layout) {
        // One detail per distinct section: what it shows, the mark and the figures of its title
        // left out, and the cover and stirrup the bars were placed with.
        std::string key;
        const std::vector<std::string> cells = scheduleCells(entry.drawn, false);
        for (std::size_t i = 1; i + 1 < cells.size(); ++i) key += cells[i] + '|';
        key += lengthText(design.cover) + '|' + lengthText(column.stirrupDiameterUsed);
        const auto found = detailIndex_.find(key);
        if (found != detailIndex_.end()) {
            entry.detail = found->second;
        } else {
            SectionDrawing drawing = designSectionDrawing(column, mark);
            drawing.annotation = detailLines(entry.drawn);
            entry.detail = details_.size();
            details_.push_back({std::move(drawing), layoutPicture(design)});
            detailIndex_.emplace(std::move(key), *entry.detail);
        }
    }
    entries_.push_back(std::move(entry));
}

void ColumnSchedule::addRejected(long long order, const std::string& mark,
                                 const Gb2010Column* column, const std::string& finding) {
    ScheduleRow row = rejectedScheduleRow(mark, column, finding);
    entries_.push_back({order, entries_.size(), row, row, std::nullopt});
}

std::vector<const ColumnSchedule::Entry*> ColumnSchedule::sorted() const {
    std::vector<const Entry*> list;
    list.reserve(entries_.size());
    for (const Entry& entry : entries_) list.push_back(&entry);
    std::sort(list.begin(), list.end(), [](const Entry* a, const Entry* b) {
        return a->order != b->order ? a->order < b->order : a->sequence < b->sequence;
    });
    return list;
}

std::vector<std::pair<std::size_t, std::string>> ColumnSchedule::detailsInOrder(
    const std::vector<const Entry*>& list) const {
    std::vector<std::pair<std::size_t, std::string>> order;
    std::vector<std::size_t> place(details_.size(), details_.size());
    for (const Entry* entry : list) {
        if (!entry->detail) continue;
        std::size_t& at = place[*entry->detail];
        if (at == details_.size()) {
            at = order.size();
            order.emplace_back(*entry->detail, entry->plain.mark);
        } else {
            order[at].second += "、" + entry->plain.mark;
        }
    }
    return order;
}

std::vector<ScheduleRow> ColumnSchedule::rows() const {
    std::vector<ScheduleRow> list;
    list.reserve(entries_.size());
    for (const Entry* entry : sorted()) list.push_back(entry->plain);
    return list;
}

DxfDocument ColumnSchedule::document(const std::string& title) const {
    DxfDocument doc;
    doc.addLayer(kTableLayer, 7);
    const std::vector<const Entry*> list = sorted();

    // Each column as wide as its widest text.
    std::vector<std::vector<std::string>> table;
    table.emplace_back(kScheduleHeader.begin(), kScheduleHeader.end());
    for (const Entry* entry : list) table.push_back(scheduleCells(entry->drawn, false));
    std::vector<double> widths(kScheduleHeader.size(), kSmallestCell);
    for (const std::vector<std::string>& cells : table) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            widths[c] = std::max(widths[c],
                                 kTextRoom * dxfTextLength(cells[c], kTextHeight) + 2.0 * kPadding);
        }
    }
    double tableWidth = 0.0;
    for (const double w : widths) tableWidth += w;
    const double tableHeight = static_cast<double>(table.size()) * kRowHeight;

    doc.text(kTableLayer, {0.0, kRowHeight / 2.0}, kTitleHeight, title);
    for (std::size_t r = 1; r < table.size(); ++r) {
        const double y = -static_cast<double>(r) * kRowHeight;
        doc.line(kTableLayer, {0.0, y}, {tableWidth, y});
    }
    double x = 0.0;
    for (std::size_t c = 0; c + 1 < widths.size(); ++c) {
        x += widths[c];
        doc.line(kTableLayer, {x, 0.0}, {x, -tableHeight});
    }
    doc.polyline(kTableLayer,
                 {{0.0, 0.0}, {tableWidth, 0.0}, {tableWidth, -tableHeight}, {0.0, -tableHeight}},
                 true, kFrameWidth);
    for (std::size_t r = 0; r < table.size(); ++r) {
        // The baseline so that a text stands in the middle of its row.
        const double y =
            -static_cast<double>(r) * kRowHeight - kRowHeight / 2.0 - kTextHeight / 2.0;
        double left = 0.0;
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            if (!table[r][c].empty()) {
                doc.text(kTableLayer, {left + widths[c] / 2.0, y}, kTextHeight, table[r][c],
                         DxfAlign::Centre);
            }
            left += widths[c];
        }
    }

    // The details in the order their first column appears, each titled with its columns' marks.
    const double wrapWidth = std::max(tableWidth, kSheetWidth);
    double cursorX = 0.0;
    double cursorY = -tableHeight - 2.0 * kDetailGap;
    double rowBottom = cursorY;
    for (const auto& [index, marks] : detailsInOrder(list)) {
        SectionDrawing drawing = details_[index].drawing;
        drawing.title = marks;
        DxfDocument probe;
        drawSectionDetail(probe, drawing);
        const DxfPoint low = probe.minimum();
        const DxfPoint high = probe.maximum();
        const double width = high.x - low.x;
        if (cursorX > 0.0 && cursorX + width > wrapWidth) {
            cursorX = 0.0;
            cursorY = rowBottom - kDetailGap;
        }
        doc.setOrigin({cursorX - low.x, cursorY - high.y});
        drawSectionDetail(doc, drawing);
        rowBottom = std::min(rowBottom, cursorY - (high.y - low.y));
        cursorX += width + kDetailGap;
    }
    doc.setOrigin({});
    return doc;
}

Book ColumnSchedule::book(const BookInfo& info) const {
    Book book;
    book.title = "柱表";
    book.cover = bookCover(info, "柱表（列表注写方式，16G101-1）",
                           {kBasis2010,
                            "《混凝土结构施工图平面整体表示方法制图规则和构造详图》"
                            "16G101-1"});
    BookWriter w(book);
    w.heading(1, "柱表");
    w.paragraph(kBarSymbolKey);
    w.paragraph("箍筋类型号 1(m×n)：矩形复合箍筋，m 为沿 b 边的肢数，n 为沿 h 边的肢数。");
    BookTable table;
    table.header.assign(kScheduleHeader.begin(), kScheduleHeader.end());
    const std::vector<const Entry*> list = sorted();
    for (const Entry* entry : list) table.rows.push_back(scheduleCells(entry->plain, true));
    w.table(std::move(table));
    const auto details = detailsInOrder(list);
    if (!details.empty()) w.heading(1, "截面详图");
    for (const auto& [index, marks] : details) {
        if (!details_[index].picture) continue;
        BookPicture picture = *details_[index].picture;
        picture.caption = marks + "  " + picture.caption;
        w.picture(std::move(picture));
    }
    return book;
}

FileResult writeScheduleDxf(const std::string& path, const ColumnSchedule& schedule,
                            const std::string& title, StreamTarget streams) {
    return writeDxf(path, schedule.document(title), streams);
}

std::string scheduleTitle(const std::string& project) {
    return project.empty() ? std::string("柱表") : project + "  柱表";
}

}  // namespace tessarin
