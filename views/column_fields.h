#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace tessarin {

// The fields of one column in the project window, in the order they are shown and tabbed
// through. Each front end makes an edit for a text field and a list for a choice.
enum class ColumnField {
    Mark,
    B,
    H,
    L0,
    LcX,
    LcY,
    Hn,
    Concrete,
    Steel,
    Cover,
    Stirrup,
    StirrupSteel,
    Seismic,
    Structure,
    Position,
};

struct ColumnFieldSpec {
    enum class Kind {
        Text,            // free text (the mark)
        Number,          // a number that must be given
        OptionalNumber,  // a number, or blank for the default the hint names
        Choice,          // one of choices
    };
    ColumnField field;
    Kind kind;
    const char* label;  // "截面宽度 b (mm)"
    const char* name;   // how a message names it: "截面宽度 b"
    const char* hint;   // what blank means, for an optional number; else ""
    std::vector<std::string> choices;
};

[[nodiscard]] std::span<const ColumnFieldSpec> columnFieldSpecs();
[[nodiscard]] const ColumnFieldSpec& columnFieldSpec(ColumnField field);

// The field as its edit shows it: a number as the engineer would type it ("6000", "0.5"),
// blank for a default, a choice's label.
[[nodiscard]] std::string columnFieldText(const ProjectColumn& column, ColumnField field);

// An edit of a field as the engineer leaves it. A text that cannot be the field's value
// ("6OO", an unknown grade, an empty mark) is refused and the column keeps its value; a value that
// reads but breaks a rule of the code is kept, with the rule's message, so that nothing typed is
// lost and the column shows as an input error until it is put right. The message names the field.
struct FieldEdit {
    bool accepted = false;
    std::string message;  // empty when the value is accepted and sound
};
[[nodiscard]] FieldEdit editColumnField(ProjectColumn& column, ColumnField field,
                                        std::string_view text);

// The rule a column's field breaks as it stands (the checks of the current-code input), or
// empty.
[[nodiscard]] std::string columnFieldFinding(const ProjectColumn& column, ColumnField field);

// The columns of the combinations grid: N, M2x, M2y, then the two end-moment ratios, so that a
// block of N, Mx, My copied from an analysis program's table pastes as it is; then the shears Vx,
// Vy and the combination's kind ("地震", "非地震", blank for unspecified; "seismic" and
// "non-seismic" are taken too).
inline constexpr std::size_t kCombinationColumns = 8;
inline constexpr std::size_t kKindCell = 7;
[[nodiscard]] const char* combinationColumnLabel(std::size_t column);  // "N (kN)"
[[nodiscard]] std::string combinationCellText(const LoadCombination& load, std::size_t column);
// The words a cell is picked from, for a list in place of a text edit: the kind cell's "" (未指明),
// "地震", "非地震"; empty for a number cell.
[[nodiscard]] std::vector<std::string> combinationCellChoices(std::size_t column);

// A cell edited: refused when the text is no number (no kind, for the kind); else kept, with the
// rule it breaks.
[[nodiscard]] FieldEdit editCombinationCell(ProjectColumn& column, std::size_t row,
                                            std::size_t cell, std::string_view text);
[[nodiscard]] std::string combinationCellFinding(const ProjectColumn& column, std::size_t row,
                                                 std::size_t cell);

// A block pasted from a spreadsheet (Excel, WPS: cells separated by tabs, rows by CR LF or LF)
// with its top left cell at (row, cell); rows beyond the last combination are added (their cells
// outside the block start at 0, and 1 for a ratio). Every cell is read before anything changes:
// one that is no number refuses the whole paste with its row, column and text.
struct PasteResult {
    bool accepted = false;
    std::size_t rows = 0;  // rows of the block
    std::string message;   // why it was refused
};
[[nodiscard]] PasteResult pasteCombinations(ProjectColumn& column, std::size_t row,
                                            std::size_t cell, std::string_view text);

// The block of cells as a spreadsheet takes it back: tab-separated, one line per row.
[[nodiscard]] std::string copyCombinations(const ProjectColumn& column, std::size_t firstRow,
                                           std::size_t lastRow, std::size_t firstCell,
                                           std::size_t lastCell);

}  // namespace tessarin
