#include "views/column_fields.h"

#include <array>

#include "project/project_file.h"
#include "report/gb2010_labels.h"
#include "run/gb2010_fields.h"
#include "run/gb2010_input.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

using Kind = ColumnFieldSpec::Kind;

// The project window's column fields: the mark, then the table's entries in the project file's
// order (ColumnField lists them in that order).
struct ColumnFieldRow {
    ColumnFieldSpec form;
    const Gb2010FieldEntry* entry;  // nullptr for the mark
};

const std::vector<ColumnFieldRow>& rows() {
    static const std::vector<ColumnFieldRow> kRows = [] {
        std::vector<ColumnFieldRow> list = {
            {{ColumnField::Mark, Kind::Text, "构件编号", "构件编号", "", {}}, nullptr}};
        for (const Gb2010FieldEntry* entry : gb2010FieldsBy(&Gb2010FieldEntry::projectPlace)) {
            if (entry->perCombination()) continue;
            ColumnFieldSpec form{
                static_cast<ColumnField>(list.size()), Kind::Number, "", entry->name, "", {}};
            if (entry->isChoice()) {
                form.kind = Kind::Choice;
                for (const Choice* choice : entry->choices->shown()) {
                    form.choices.emplace_back(choice->label);
                }
            } else if (entry->isOptional()) {
                form.kind = Kind::OptionalNumber;
                form.hint = entry->projectHint;
            }
            list.push_back({std::move(form), entry});
        }
        return list;
    }();
    return kRows;
}

// "截面宽度 b (mm)": the name, and the unit of a number.
const char* labelOf(const ColumnFieldRow& row) {
    static const std::vector<std::string> kLabels = [] {
        std::vector<std::string> labels;
        for (const ColumnFieldRow& r : rows()) {
            std::string label = r.form.name;
            if (r.entry != nullptr && *r.entry->unit != '\0') {
                label += std::string(" (") + r.entry->unit + ")";
            }
            labels.push_back(std::move(label));
        }
        return labels;
    }();
    return kLabels[static_cast<std::size_t>(row.form.field)].c_str();
}

const std::vector<ColumnFieldSpec>& specs() {
    static const std::vector<ColumnFieldSpec> kSpecs = [] {
        std::vector<ColumnFieldSpec> list;
        for (const ColumnFieldRow& row : rows()) {
            list.push_back(row.form);
            list.back().label = labelOf(row);
        }
        return list;
    }();
    return kSpecs;
}

const Gb2010FieldEntry& entryOf(ColumnField field) {
    return *rows()[static_cast<std::size_t>(field)].entry;
}

// The checks of the current-code input that speak of a field of the column; the seismic grade
// is checked with the structure (table 6.3.6 has no grade 三 or 四 for a frame-supporting column).
std::optional<Gb2010Field> checkedAs(ColumnField field) {
    if (field == ColumnField::Mark) return std::nullopt;
    const Gb2010FieldEntry& entry = entryOf(field);
    if (entry.field == Gb2010Field::Seismic) return Gb2010Field::Structure;
    if (entry.check == FieldCheck::None) return std::nullopt;
    return entry.field;
}

constexpr std::array<const char*, kCombinationColumns> kCellLabels = {
    "N (kN)",    "M2x (kN·m)", "M2y (kN·m)", "M1/M2 (x)",
    "M1/M2 (y)", "Vx (kN)",    "Vy (kN)",    "组合类别"};
constexpr std::array<const char*, kCombinationColumns> kCellNames = {
    "轴向压力 N",          "x向杆端较大弯矩 M2x", "y向杆端较大弯矩 M2y", "x向杆端弯矩比 M1/M2",
    "y向杆端弯矩比 M1/M2", "x向剪力 Vx",          "y向剪力 Vy",          "组合类别"};
constexpr std::array<Gb2010Field, kCombinationColumns> kCellChecks = {
    Gb2010Field::N,     Gb2010Field::M2x, Gb2010Field::M2y, Gb2010Field::M1m2X,
    Gb2010Field::M1m2Y, Gb2010Field::Vx,  Gb2010Field::Vy,  Gb2010Field::Kind};

// The kind cell's words; blank is unspecified.
constexpr const char* kSeismicWord = "地震";
constexpr const char* kNonSeismicWord = "非地震";

double& cellOf(LoadCombination& load, std::size_t cell) {
    switch (cell) {
        case 0:
            return load.N;
        case 1:
            return load.M2x;
        case 2:
            return load.M2y;
        case 3:
            return load.m1m2X;
        case 4:
            return load.m1m2Y;
        case 5:
            return load.Vx;
        default:
            return load.Vy;
    }
}

std::string quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A cell's value read from its text: a number, or for the kind cell a kind.
struct CellValue {
    double number = 0.0;
    CombinationKind kind = CombinationKind::Unspecified;
};

std::optional<CellValue> readCell(std::size_t cell, std::string_view text) {
    CellValue value;
    if (cell == kKindCell) {
        const std::string_view word = trimmed(text);
        if (word.empty()) return value;
        if (word == kSeismicWord) {
            value.kind = CombinationKind::Seismic;
        } else if (word == kNonSeismicWord) {
            value.kind = CombinationKind::NonSeismic;
        } else if (const auto kind = combinationKindFromWord(word)) {
            value.kind = *kind;
        } else {
            return std::nullopt;
        }
        return value;
    }
    const auto number = parseNumber(text);
    if (!number) return std::nullopt;
    value.number = *number;
    return value;
}

void setCell(LoadCombination& load, std::size_t cell, const CellValue& value) {
    if (cell == kKindCell) {
        load.kind = value.kind;
    } else {
        cellOf(load, cell) = value.number;
    }
}

// Why a cell's text was refused: "不是数值", or the kind's words.
std::string refusal(std::size_t cell) {
    return cell == kKindCell ? std::string(" 不是组合类别（可填：地震、非地震，空白为未指明）")
                             : std::string(" 不是数值");
}

}  // namespace

std::span<const ColumnFieldSpec> columnFieldSpecs() {
    return specs();
}

const ColumnFieldSpec& columnFieldSpec(ColumnField field) {
    return specs()[static_cast<std::size_t>(field)];
}

std::string columnFieldText(const ProjectColumn& column, ColumnField field) {
    if (field == ColumnField::Mark) return column.mark;
    const Gb2010FieldEntry& entry = entryOf(field);
    const LoadCombination unused;
    if (entry.isChoice()) return entry.choices->label(fieldChoice(entry, column.column, unused));
    const std::optional<double> value = fieldNumber(entry, column.column, unused);
    return value ? formatGeneral(*value) : std::string();
}

std::string columnFieldFinding(const ProjectColumn& column, ColumnField field) {
    const auto checked = checkedAs(field);
    if (!checked) return {};
    // One sound combination, so that only the column's own checks speak.
    const Gb2010Input input{column.column, {LoadCombination{}}};
    const auto finding = validateGb2010Input(input);
    if (!finding || finding->combination >= 0 || finding->field != *checked) return {};
    return finding->message;
}

FieldEdit editColumnField(ProjectColumn& column, ColumnField field, std::string_view text) {
    const ColumnFieldSpec& entry = columnFieldSpec(field);
    Gb2010Column& c = column.column;
    LoadCombination unused;
    FieldEdit edit;
    const auto refuse = [&edit, &entry](const std::string& why) {
        edit.message = std::string(entry.name) + "：" + why;
        return edit;
    };
    switch (entry.kind) {
        case Kind::Text: {
            std::string mark(text);
            while (!mark.empty() && (mark.back() == ' ' || mark.back() == '\t')) mark.pop_back();
            while (!mark.empty() && (mark.front() == ' ' || mark.front() == '\t')) mark.erase(0, 1);
            if (mark.empty()) return refuse("不能为空（如 KZ1）");
            column.mark = mark;
            break;
        }
        case Kind::Choice: {
            std::size_t index = 0;
            while (index < entry.choices.size() && entry.choices[index] != text) ++index;
            if (index == entry.choices.size()) return refuse(quoted(text) + " 不是可选的值");
            const Gb2010FieldEntry& input = entryOf(field);
            setFieldChoice(input, c, unused, input.choices->shown()[index]->value);
            break;
        }
        case Kind::Number:
        case Kind::OptionalNumber: {
            const Gb2010FieldEntry& input = entryOf(field);
            const bool blank = text.find_first_not_of(" \t") == std::string_view::npos;
            if (blank && entry.kind == Kind::OptionalNumber) {
                setFieldNumber(input, c, unused, std::nullopt);
                break;
            }
            if (blank) return refuse("不能为空");
            const auto value = parseNumber(text);
            if (!value) return refuse(quoted(text) + " 不是数值");
            setFieldNumber(input, c, unused, *value);
            break;
        }
    }
    edit.accepted = true;
    edit.message = columnFieldFinding(column, field);
    return edit;
}

const char* combinationColumnLabel(std::size_t column) {
    return kCellLabels.at(column);
}

std::string combinationCellText(const LoadCombination& load, std::size_t column) {
    if (column == kKindCell) {
        return load.kind == CombinationKind::Seismic      ? kSeismicWord
               : load.kind == CombinationKind::NonSeismic ? kNonSeismicWord
                                                          : "";
    }
    LoadCombination copy = load;
    return formatGeneral(cellOf(copy, column));
}

std::vector<std::string> combinationCellChoices(std::size_t column) {
    if (column != kKindCell) return {};
    return {"", kSeismicWord, kNonSeismicWord};
}

std::string combinationCellFinding(const ProjectColumn& column, std::size_t row, std::size_t cell) {
    if (row >= column.combinations.size() || cell >= kCombinationColumns) return {};
    // The combination alone, on a sound column: its own checks, named by its row.
    const Gb2010Input input{Gb2010Column{}, {column.combinations[row]}};
    const auto finding = validateGb2010Input(input);
    if (!finding || finding->combination != 0 || finding->field != kCellChecks[cell]) return {};
    std::string message = finding->message;
    const std::string first = combinationPrefix(0);
    if (message.compare(0, first.size(), first) == 0) {
        message.replace(0, first.size(), combinationPrefix(row));
    }
    return message;
}

FieldEdit editCombinationCell(ProjectColumn& column, std::size_t row, std::size_t cell,
                              std::string_view text) {
    FieldEdit edit;
    if (row >= column.combinations.size() || cell >= kCombinationColumns) return edit;
    const auto value = readCell(cell, text);
    if (!value) {
        edit.message =
            combinationPrefix(row) + kCellNames[cell] + "：" + quoted(text) + refusal(cell);
        return edit;
    }
    setCell(column.combinations[row], cell, *value);
    edit.accepted = true;
    edit.message = combinationCellFinding(column, row, cell);
    return edit;
}

PasteResult pasteCombinations(ProjectColumn& column, std::size_t row, std::size_t cell,
                              std::string_view text) {
    PasteResult result;
    std::vector<std::vector<CellValue>> block;
    std::size_t start = 0;
    std::size_t lineNumber = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // The line break a spreadsheet puts after its last row ends the block.
        if (line.empty() && start >= text.size()) break;
        std::vector<std::string_view> cells;
        std::size_t cellStart = 0;
        while (true) {
            const std::size_t tab = line.find('\t', cellStart);
            cells.push_back(line.substr(cellStart, tab == std::string_view::npos
                                                       ? std::string_view::npos
                                                       : tab - cellStart));
            if (tab == std::string_view::npos) break;
            cellStart = tab + 1;
        }
        if (cell + cells.size() > kCombinationColumns) {
            result.message = "粘贴的第" + std::to_string(lineNumber) + "行有" +
                             std::to_string(cells.size()) + "列，超出表格（从" + kCellLabels[cell] +
                             "起最多" + std::to_string(kCombinationColumns - cell) +
                             "列），未粘贴任何内容";
            return result;
        }
        std::vector<CellValue> values;
        for (const std::string_view cellText : cells) {
            const std::size_t at = cell + values.size();
            const auto value = readCell(at, cellText);
            if (!value) {
                result.message = "粘贴的第" + std::to_string(lineNumber) + "行第" +
                                 std::to_string(values.size() + 1) + "列（" + kCellNames[at] +
                                 "）：" + quoted(cellText) + refusal(at) + "，未粘贴任何内容";
                return result;
            }
            values.push_back(*value);
        }
        block.push_back(std::move(values));
    }
    if (block.empty()) {
        result.message = "剪贴板中没有可粘贴的数值";
        return result;
    }
    for (std::size_t r = 0; r < block.size(); ++r) {
        const std::size_t target = row + r;
        if (target >= column.combinations.size()) {
            column.combinations.resize(target + 1, LoadCombination{0.0, 0.0, 1.0, 0.0, 1.0});
        }
        for (std::size_t k = 0; k < block[r].size(); ++k) {
            setCell(column.combinations[target], cell + k, block[r][k]);
        }
    }
    result.accepted = true;
    result.rows = block.size();
    return result;
}

std::string copyCombinations(const ProjectColumn& column, std::size_t firstRow, std::size_t lastRow,
                             std::size_t firstCell, std::size_t lastCell) {
    std::string text;
    for (std::size_t r = firstRow; r <= lastRow && r < column.combinations.size(); ++r) {
        for (std::size_t k = firstCell; k <= lastCell && k < kCombinationColumns; ++k) {
            if (k > firstCell) text += '\t';
            text += combinationCellText(column.combinations[r], k);
        }
        text += '\n';
    }
    return text;
}

}  // namespace tessarin
