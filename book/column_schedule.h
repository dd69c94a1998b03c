#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"
#include "book/design_book.h"
#include "drawing/dxf_document.h"
#include "drawing/section_drawing.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "platform/file_result.h"
#include "platform/whole_file.h"

namespace tessarin {

// The column schedule (柱表) in the list notation of the national flat-notation drawings
// (16G101-1 2.2.2): one row per column with its mark, b×h, the longitudinal bars, the stirrup
// type with its legs and the stirrups. The bars go in 全部纵筋 only where every bar has one
// diameter and every face the same count (16G101-1 2.2.2-4); otherwise 角筋, b边一侧中部筋 and
// h边一侧中部筋 are given one by one, the symmetric faces left out as the rule allows.

// How a steel grade is written in a cell: the letters A, B, C, D of plain text, or the drafting
// font's codes %%130 to %%133 of a DXF text.
enum class GradeSymbols { Letters, Dxf };

struct ScheduleRow {
    std::string mark;         // 柱号
    std::string section;      // b×h, "400×600"
    std::string allBars;      // 全部纵筋, "12C25"
    std::string cornerBars;   // 角筋, "4C25"
    std::string middleBarsB;  // b边一侧中部筋: one face of length b, "3C22"; empty without any
    std::string middleBarsH;  // h边一侧中部筋
    std::string stirrupType;  // 箍筋类型号 with the legs along b × along h, "1(4×4)"
    std::string stirrups;     // 箍筋, "C10@100/200"
    // 备注: empty for a designed column; "无可用配筋", "箍筋不满足" or "输入有误" otherwise.
    std::string note;
    std::string reason;  // why, in full (the report's words)
};

// The table's header, in the order of scheduleCells.
inline constexpr std::array<const char*, 9> kScheduleHeader = {
    "柱号",          "b×h",        "全部纵筋", "角筋", "b边一侧中部筋",
    "h边一侧中部筋", "箍筋类型号", "箍筋",     "备注"};

// A row's cells in the order of kScheduleHeader; the note with its reason when full is true.
[[nodiscard]] std::vector<std::string> scheduleCells(const ScheduleRow& row, bool full);

// The schedule row of a column's design: every schedule cell is made here and only here.
[[nodiscard]] ScheduleRow scheduleRow(const std::string& mark, const ColumnWithStirrups& column,
                                      GradeSymbols symbols = GradeSymbols::Letters);
// The row of a column whose input is refused: its b×h where the input gave one, and the finding.
[[nodiscard]] ScheduleRow rejectedScheduleRow(const std::string& mark, const Gb2010Column* column,
                                              const std::string& finding);

// The schedule of a project or a batch, gathered column by column in any order and given in the
// order of the columns (order: the line or place of each column's first combination).
class ColumnSchedule {
  public:
    void add(long long order, const std::string& mark, const ColumnWithStirrups& column);
    void addRejected(long long order, const std::string& mark, const Gb2010Column* column,
                     const std::string& finding);

    [[nodiscard]] std::size_t size() const { return entries_.size(); }
    // The rows in plain text (grade letters), in the columns' order.
    [[nodiscard]] std::vector<ScheduleRow> rows() const;
    // The sheet: the title, the table as a drawn grid of cells with their texts, and under it each
    // distinct section detail (bars, hoop, inner hoops and ties) once, labelled with the marks of
    // the columns that have it.
    [[nodiscard]] DxfDocument document(const std::string& title) const;
    // The schedule as a calculation book's content: the key of the bar symbols, the table, and a
    // picture of each distinct section captioned with its columns' marks.
    [[nodiscard]] Book book(const BookInfo& info) const;

  private:
    struct Entry {
        long long order = 0;
        std::size_t sequence = 0;  // among equal orders, the order of adding
        ScheduleRow plain;
        ScheduleRow drawn;
        std::optional<std::size_t> detail;  // into details_
    };
    struct Detail {
        SectionDrawing drawing;
        std::optional<BookPicture> picture;  // the book's picture of the section
    };
    [[nodiscard]] std::vector<const Entry*> sorted() const;
    // The distinct sections in the order of their first column, with the marks of their columns.
    [[nodiscard]] std::vector<std::pair<std::size_t, std::string>> detailsInOrder(
        const std::vector<const Entry*>& list) const;

    std::vector<Entry> entries_;
    std::vector<Detail> details_;
    std::map<std::string, std::size_t> detailIndex_;  // by what the detail shows
};

// The schedule sheet written as a DXF file at path, whole or not at all.
FileResult writeScheduleDxf(const std::string& path, const ColumnSchedule& schedule,
                            const std::string& title, StreamTarget streams = StreamTarget::Write);

// The schedule's title line: "柱表" after the project's name where there is one.
[[nodiscard]] std::string scheduleTitle(const std::string& project);

}  // namespace tessarin
