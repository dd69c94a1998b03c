#include "views/project_view_model.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "batch/batch_sink.h"
#include "batch/case_report.h"
#include "batch/gb2010_batch.h"
#include "batch/schedule_outputs.h"
#include "book/book_docx.h"
#include "book/book_file.h"
#include "book/book_html.h"
#include "book/design_book.h"
#include "book/gb2010_book.h"
#include "platform/whole_file.h"
#include "project/project_file.h"
#include "report/bar_preference_fields.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_report.h"
#include "run/gb2010_input.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr std::size_t kUndoSteps = 200;

const ColumnOutcome kNotDesigned{};

constexpr std::array<const char*, kColumnRowFields> kRowHeaders = {
    "构件编号", "截面 b×h", "组合数", "配筋", "As (mm²)", "ρ", "利用率", "轴压比", "状态"};

std::string statusWord(ColumnStatus status) {
    switch (status) {
        case ColumnStatus::Designed:
            return "已设计";
        case ColumnStatus::NoLayout:
            return "无可用配筋";
        case ColumnStatus::InputError:
            return "输入有误";
        case ColumnStatus::NotDesigned:
            break;
    }
    return "未设计";
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An output stream that keeps nothing: the results of an export of books or drawings alone.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c == traits_type::eof() ? 0 : c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The title page of a column's book: the project's name, 子项/设计号 and the names of 设计, 校对
// and 审核.
BookInfo projectBookInfo(const ProjectInfo& project, const std::string& mark, std::string date) {
    BookInfo info{project.name, mark, std::move(date)};
    info.subProject = project.number;
    info.designer = project.designer;
    info.checker = project.checker;
    info.reviewer = project.reviewer;
    return info;
}

// The calculation book of each designed column as HTML, named as the batch names its files.
class HtmlBooks final : public Gb2010Outputs {
  public:
    HtmlBooks(std::string directory, ProjectInfo project)
        : directory_(std::move(directory)), project_(std::move(project)), date_(todayText()) {}
    FileResult designed(const std::string& id, long long firstLine,
                        const ColumnWithStirrups& column) override {
        const std::string path = directory_ + "/" + caseFileName(id, firstLine, ".html");
        return writeWholeFile(
            path, renderBookHtml(buildGb2010Book(projectBookInfo(project_, id, date_), column)));
    }

  private:
    std::string directory_;
    ProjectInfo project_;
    std::string date_;
};

}  // namespace

const std::vector<InfoFieldSpec>& infoFieldSpecs() {
    static const std::vector<InfoFieldSpec> kSpecs = {
        {InfoField::Name, "工程名称", {}},
        {InfoField::Number, "子项/设计号", {}},
        {InfoField::Designer, "设计", {}},
        {InfoField::Checker, "校对", {}},
        {InfoField::Reviewer, "审核", {}},
        {InfoField::Seismic, "抗震等级（新柱）", columnFieldSpec(ColumnField::Seismic).choices},
        {InfoField::Structure, "结构类型（新柱）", columnFieldSpec(ColumnField::Structure).choices},
    };
    return kSpecs;
}

const char* barPreferenceHint(std::size_t field) {
    if (field >= kBarPreferenceFields.size()) return "";
    switch (kBarPreferenceFields[field].kind) {
        case BarPreferenceKind::DiameterList:
            return "毫米，以逗号分隔，如 16,18,20,22,25";
        case BarPreferenceKind::Diameter:
            return "毫米";
        case BarPreferenceKind::Count:
            return "0～10 档（可用直径中相隔的档数）";
        case BarPreferenceKind::OptionalDiameter:
            return "毫米；none 为不指定";
        case BarPreferenceKind::Switch:
            break;
    }
    return "";
}

unsigned statusColour(ColumnStatus status) {
    switch (status) {
        case ColumnStatus::Designed:
            return 0xD4EFD4;
        case ColumnStatus::NoLayout:
            return 0xFFE2B0;
        case ColumnStatus::InputError:
            return 0xF6C4C4;
        case ColumnStatus::NotDesigned:
            break;
    }
    return 0xFFFFFF;
}

const char* columnRowHeader(std::size_t field) {
    return kRowHeaders.at(field);
}

std::string columnRowField(const ColumnRow& row, std::size_t field) {
    const std::array<const std::string*, kColumnRowFields> fields = {
        &row.mark,  &row.section,     &row.combinations, &row.layout, &row.steelArea,
        &row.ratio, &row.utilisation, &row.axialRatio,   &row.status};
    return *fields.at(field);
}

ProjectViewModel::ProjectViewModel() {
    newProject();
}

std::string ProjectViewModel::windowTitle() const {
    const std::string name = path_.empty() ? std::string("未命名工程") : baseName(path_);
    return name + (modified_ ? "*" : "") + " - Tessarin 柱设计";
}

void ProjectViewModel::newProject() {
    project_ = Project{};
    outcomes_.clear();
    path_.clear();
    modified_ = false;
    selected_.reset();
    undo_.clear();
    redo_.clear();
}

std::string ProjectViewModel::open(const std::string& path) {
    ProjectReading reading = loadProjectFile(path);
    if (!reading.project) return "无法打开工程文件 " + reading.error;
    newProject();
    project_ = std::move(*reading.project);
    outcomes_.assign(project_.columns.size(), ColumnOutcome{});
    path_ = path;
    if (!project_.columns.empty()) selected_ = 0;
    remember(path);
    return {};
}

FileResult ProjectViewModel::save() {
    return saveAs(path_);
}

FileResult ProjectViewModel::saveAs(const std::string& path) {
    FileResult written = saveProjectFile(path, project_);
    if (written.ok) {
        path_ = path;
        modified_ = false;
        remember(path);
    }
    return written;
}

std::string ProjectViewModel::importCases(const std::string& path) {
    CasesProject cases = readCasesProject(path);
    // The reader's message names the file and the line already.
    if (!cases.project) return "无法导入 CSV：" + cases.error;
    std::vector<Entry> entries;
    for (ProjectColumn& column : cases.project->columns) {
        for (const ProjectColumn& existing : project_.columns) {
            if (existing.mark == column.mark) {
                return "无法导入 " + path + "：构件编号 “" + column.mark +
                       "” 已在工程中；请先改名或删除工程中的这根柱";
            }
        }
        entries.push_back({std::move(column), ColumnOutcome{}});
    }
    if (entries.empty()) return "无法导入 " + path + "：文件中没有柱";
    insertEntries(project_.columns.size(), std::move(entries), "导入 CSV " + baseName(path));
    return {};
}

void ProjectViewModel::setRecentFiles(std::vector<std::string> files) {
    if (files.size() > kRecentFiles) files.resize(kRecentFiles);
    recent_ = std::move(files);
}

void ProjectViewModel::remember(const std::string& path) {
    recent_.erase(std::remove(recent_.begin(), recent_.end(), path), recent_.end());
    recent_.insert(recent_.begin(), path);
    if (recent_.size() > kRecentFiles) recent_.resize(kRecentFiles);
}

std::string ProjectViewModel::infoText(InfoField field) const {
    const ProjectInfo& info = project_.info;
    switch (field) {
        case InfoField::Name:
            return info.name;
        case InfoField::Number:
            return info.number;
        case InfoField::Designer:
            return info.designer;
        case InfoField::Checker:
            return info.checker;
        case InfoField::Reviewer:
            return info.reviewer;
        case InfoField::Seismic:
            return infoFieldSpecs()[5].choices[static_cast<std::size_t>(info.seismic)];
        case InfoField::Structure:
            return infoFieldSpecs()[6].choices[static_cast<std::size_t>(info.structure)];
    }
    return {};
}

void ProjectViewModel::editInfo(InfoField field, const std::string& text) {
    ProjectInfo after = project_.info;
    const InfoFieldSpec& entry = infoFieldSpecs()[static_cast<std::size_t>(field)];
    if (!entry.choices.empty()) {
        const auto found = std::find(entry.choices.begin(), entry.choices.end(), text);
        if (found == entry.choices.end()) return;
        const auto index = static_cast<std::size_t>(found - entry.choices.begin());
        if (field == InfoField::Seismic) {
            after.seismic = static_cast<SeismicGrade>(index);
        } else {
            after.structure = static_cast<StructureType>(index);
        }
    } else {
        std::string* targets[] = {&after.name, &after.number, &after.designer, &after.checker,
                                  &after.reviewer};
        *targets[static_cast<std::size_t>(field)] = text;
    }
    if (after == project_.info) return;
    Step step;
    step.kind = Step::Kind::EditInfo;
    step.text = std::string("编辑 ") + entry.label;
    step.infoBefore = project_.info;
    step.infoAfter = after;
    push(std::move(step));
}

std::string ProjectViewModel::preferenceText(PreferenceScope scope, std::size_t field) const {
    if (field >= kBarPreferenceFields.size()) return {};
    if (scope == PreferenceScope::Project) {
        return barPreferenceText(kBarPreferenceFields[field], project_.info.barPreferences);
    }
    const ProjectColumn* column = current();
    return column != nullptr
               ? barPreferenceText(kBarPreferenceFields[field], column->column.barPreferences)
               : std::string();
}

std::string ProjectViewModel::editPreference(PreferenceScope scope, std::size_t field,
                                             const std::string& text) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        texts.push_back(i == field ? text : preferenceText(scope, i));
    }
    if (field >= kBarPreferenceFields.size()) return {};
    return editPreferences(scope, texts);
}

std::string ProjectViewModel::editPreferences(PreferenceScope scope,
                                              const std::vector<std::string>& texts) {
    const ProjectColumn* column = current();
    if (scope == PreferenceScope::Column && column == nullptr) return "请先在列表中选择一根柱";
    const BarPreferences& before = scope == PreferenceScope::Project
                                       ? project_.info.barPreferences
                                       : column->column.barPreferences;
    BarPreferences after = before;
    for (std::size_t i = 0; i < kBarPreferenceFields.size() && i < texts.size(); ++i) {
        const BarPreferenceField& field = kBarPreferenceFields[i];
        const std::string why = readBarPreference(field, texts[i], after);
        if (!why.empty()) return std::string(field.label) + "：" + why;
    }
    // The whole set: a preferred diameter that the new list no longer holds, and the like.
    std::string problem = barPreferencesProblem(after);
    if (!problem.empty()) return problem;
    if (after == before) return {};
    const std::string whose =
        scope == PreferenceScope::Project ? std::string("工程") : column->mark + " ";
    changePreferences(scope, after, "编辑 " + whose + "的配筋参数");
    return {};
}

bool ProjectViewModel::columnFollowsProject() const {
    const ProjectColumn* column = current();
    return column != nullptr && column->column.barPreferences == project_.info.barPreferences;
}

void ProjectViewModel::followProject() {
    const ProjectColumn* column = current();
    if (column == nullptr || columnFollowsProject()) return;
    ProjectColumn after = *column;
    after.column.barPreferences = project_.info.barPreferences;
    changeSelected(after, column->mark + " 采用工程的配筋参数");
}

std::string ProjectViewModel::preferencesTitle(PreferenceScope scope) const {
    if (scope == PreferenceScope::Project) return "工程的配筋参数";
    const ProjectColumn* column = current();
    return column != nullptr ? column->mark + " 的配筋参数" : std::string("配筋参数");
}

std::string ProjectViewModel::acceptPreferences(PreferenceScope scope, bool follow,
                                                const std::vector<std::string>& texts) {
    if (scope == PreferenceScope::Column && follow) {
        if (current() == nullptr) return "请先在列表中选择一根柱";
        followProject();
        return {};
    }
    return editPreferences(scope, texts);
}

void ProjectViewModel::changePreferences(PreferenceScope scope, const BarPreferences& after,
                                         const std::string& text) {
    if (scope == PreferenceScope::Column) {
        ProjectColumn column = *current();
        column.column.barPreferences = after;
        changeSelected(column, text);
        return;
    }
    Step step;
    step.kind = Step::Kind::EditInfo;
    step.text = text;
    step.infoBefore = project_.info;
    step.infoAfter = project_.info;
    step.infoAfter.barPreferences = after;
    // The columns that follow the project follow it on; their designs are undone with it.
    for (std::size_t i = 0; i < project_.columns.size(); ++i) {
        const ProjectColumn& column = project_.columns[i];
        if (!(column.column.barPreferences == project_.info.barPreferences)) continue;
        ProjectColumn changed = column;
        changed.column.barPreferences = after;
        step.indices.push_back(i);
        step.before.push_back(Entry{column, outcome(i)});
        step.after.push_back(Entry{std::move(changed), ColumnOutcome{}});
    }
    push(std::move(step));
}

ColumnRow ProjectViewModel::row(std::size_t index) const {
    const ProjectColumn& column = project_.columns.at(index);
    const ColumnOutcome& outcome = this->outcome(index);
    ColumnRow row;
    row.mark = column.mark;
    row.section = formatGeneral(column.column.b) + "×" + formatGeneral(column.column.h);
    row.combinations = std::to_string(column.combinations.size());
    row.kind = outcome.status;
    row.status = statusWord(outcome.status);
    if (!outcome.design) return row;
    const Gb2010Design& design = *outcome.design;
    double axial = 0.0;
    for (const CombinationCheck& check : design.combinations) {
        axial = std::max(axial, check.demand.axialRatio);
    }
    row.axialRatio = formatDecimals(axial, 3);
    if (design.limits.axialRatio.value > 0.0) {
        row.axialRatio += " / " + formatDecimals(design.limits.axialRatio.value, 2);
    }
    if (design.designed && design.layout) {
        row.layout = layoutNotation(design.layout->choice, column.column.steel);
        row.steelArea = formatDecimals(design.layout->steelArea, 0);
        row.ratio = formatDecimals(design.layout->ratio * 100.0, 2) + "%";
        if (design.governing >= 0) {
            row.utilisation = formatDecimals(
                design.combinations[static_cast<std::size_t>(design.governing)].utilisation, 3);
        }
    }
    return row;
}

void ProjectViewModel::select(std::optional<std::size_t> index) {
    if (index && *index >= project_.columns.size()) index.reset();
    selected_ = index;
}

std::string ProjectViewModel::freeMark(const std::string& base) const {
    const auto used = [this](const std::string& mark) {
        return std::any_of(project_.columns.begin(), project_.columns.end(),
                           [&mark](const ProjectColumn& c) { return c.mark == mark; });
    };
    if (!base.empty() && !used(base)) return base;
    for (std::size_t n = 2;; ++n) {
        std::string mark = base + "-" + std::to_string(n);
        if (!used(mark)) return mark;
    }
}

void ProjectViewModel::addColumn() {
    ProjectColumn column;
    if (!project_.columns.empty()) {
        column.column = project_.columns.back().column;
    } else {
        column.column.seismic = project_.info.seismic;
        column.column.structure = project_.info.structure;
        column.column.barPreferences = project_.info.barPreferences;
    }
    std::size_t n = project_.columns.size() + 1;
    const auto used = [this](const std::string& mark) {
        return std::any_of(project_.columns.begin(), project_.columns.end(),
                           [&mark](const ProjectColumn& c) { return c.mark == mark; });
    };
    while (used("KZ" + std::to_string(n))) ++n;
    column.mark = "KZ" + std::to_string(n);
    // Its own loads, never another column's: one combination to fill in.
    column.combinations = {LoadCombination{0.0, 0.0, 1.0, 0.0, 1.0}};
    const std::size_t at = selected_ ? *selected_ + 1 : project_.columns.size();
    const std::string text = "添加柱 " + column.mark;
    insertEntries(at, {Entry{std::move(column), ColumnOutcome{}}}, text);
}

void ProjectViewModel::copyColumn() {
    const ProjectColumn* source = current();
    if (source == nullptr) return;
    ProjectColumn column = *source;
    column.mark = freeMark(source->mark);
    const std::string text = "复制柱 " + source->mark;
    insertEntries(*selected_ + 1, {Entry{std::move(column), outcome(*selected_)}}, text);
}

void ProjectViewModel::insertEntries(std::size_t index, std::vector<Entry> entries,
                                     const std::string& text) {
    Step step;
    step.kind = Step::Kind::Insert;
    step.text = text;
    step.index = index;
    step.after = std::move(entries);
    push(std::move(step));
}

void ProjectViewModel::deleteColumn() {
    if (current() == nullptr) return;
    Step step;
    step.kind = Step::Kind::Remove;
    step.index = *selected_;
    step.text = "删除柱 " + current()->mark;
    step.before = {Entry{*current(), outcome(*selected_)}};
    push(std::move(step));
}

void ProjectViewModel::moveUp() {
    if (!commands().moveUp) return;
    Step step;
    step.kind = Step::Kind::Move;
    step.index = *selected_;
    step.other = *selected_ - 1;
    step.text = "上移柱 " + current()->mark;
    push(std::move(step));
}

void ProjectViewModel::moveDown() {
    if (!commands().moveDown) return;
    Step step;
    step.kind = Step::Kind::Move;
    step.index = *selected_;
    step.other = *selected_ + 1;
    step.text = "下移柱 " + current()->mark;
    push(std::move(step));
}

CommandState ProjectViewModel::commands() const {
    CommandState state;
    const bool any = !project_.columns.empty();
    const bool chosen = current() != nullptr;
    state.save = true;
    state.copyColumn = chosen;
    state.deleteColumn = chosen;
    state.moveUp = chosen && *selected_ > 0;
    state.moveDown = chosen && *selected_ + 1 < project_.columns.size();
    state.undo = !undo_.empty();
    state.redo = !redo_.empty();
    state.designAll = any;
    state.exportResults = any;
    state.addCombination = chosen;
    state.deleteCombination = chosen && !current()->combinations.empty();
    return state;
}

const ProjectColumn* ProjectViewModel::current() const {
    if (!selected_ || *selected_ >= project_.columns.size()) return nullptr;
    return &project_.columns[*selected_];
}

std::string ProjectViewModel::fieldText(ColumnField field) const {
    const ProjectColumn* column = current();
    return column != nullptr ? columnFieldText(*column, field) : std::string();
}

std::string ProjectViewModel::fieldFinding(ColumnField field) const {
    const ProjectColumn* column = current();
    return column != nullptr ? columnFieldFinding(*column, field) : std::string();
}

std::string ProjectViewModel::inputFinding() const {
    const ProjectColumn* column = current();
    if (column == nullptr) return {};
    const auto finding = validateGb2010Input({column->column, column->combinations});
    return finding ? finding->message : std::string();
}

std::string ProjectViewModel::editField(ColumnField field, const std::string& text) {
    const ProjectColumn* column = current();
    if (column == nullptr) return {};
    ProjectColumn after = *column;
    const FieldEdit edit = editColumnField(after, field, text);
    if (!edit.accepted) return edit.message;
    if (field == ColumnField::Mark) {
        for (std::size_t i = 0; i < project_.columns.size(); ++i) {
            if (i != *selected_ && project_.columns[i].mark == after.mark) {
                return "构件编号：“" + after.mark + "” 已被第 " + std::to_string(i + 1) +
                       " 根柱使用";
            }
        }
    }
    if (!(after == *column)) {
        changeSelected(after, "编辑 " + column->mark + " " + columnFieldSpec(field).name);
    }
    return edit.message;
}

void ProjectViewModel::changeSelected(const ProjectColumn& after, const std::string& text) {
    Step step;
    step.kind = Step::Kind::EditColumn;
    step.index = *selected_;
    step.text = text;
    step.before = {Entry{*current(), outcome(*selected_)}};
    step.after = {Entry{after, ColumnOutcome{}}};
    push(std::move(step));
}

std::size_t ProjectViewModel::combinationCount() const {
    const ProjectColumn* column = current();
    return column != nullptr ? column->combinations.size() : 0;
}

std::string ProjectViewModel::cellText(std::size_t row, std::size_t cell) const {
    const ProjectColumn* column = current();
    if (column == nullptr || row >= column->combinations.size()) return {};
    return combinationCellText(column->combinations[row], cell);
}

std::string ProjectViewModel::cellFinding(std::size_t row, std::size_t cell) const {
    const ProjectColumn* column = current();
    return column != nullptr ? combinationCellFinding(*column, row, cell) : std::string();
}

std::string ProjectViewModel::editCell(std::size_t row, std::size_t cell, const std::string& text) {
    const ProjectColumn* column = current();
    if (column == nullptr) return {};
    ProjectColumn after = *column;
    const FieldEdit edit = editCombinationCell(after, row, cell, text);
    if (!edit.accepted) return edit.message;
    if (!(after == *column)) {
        changeSelected(after,
                       "编辑 " + column->mark + " 第" + std::to_string(row + 1) + "组荷载组合");
    }
    return edit.message;
}

std::string ProjectViewModel::paste(std::size_t row, std::size_t cell, const std::string& text) {
    const ProjectColumn* column = current();
    if (column == nullptr) return "请先在列表中选择一根柱";
    ProjectColumn after = *column;
    const PasteResult pasted = pasteCombinations(after, row, cell, text);
    if (!pasted.accepted) return pasted.message;
    changeSelected(after,
                   "粘贴 " + column->mark + " 的 " + std::to_string(pasted.rows) + " 行荷载组合");
    return {};
}

std::string ProjectViewModel::copy(std::size_t firstRow, std::size_t lastRow, std::size_t firstCell,
                                   std::size_t lastCell) const {
    const ProjectColumn* column = current();
    return column != nullptr ? copyCombinations(*column, firstRow, lastRow, firstCell, lastCell)
                             : std::string();
}

void ProjectViewModel::addCombination() {
    const ProjectColumn* column = current();
    if (column == nullptr) return;
    ProjectColumn after = *column;
    after.combinations.push_back(LoadCombination{0.0, 0.0, 1.0, 0.0, 1.0});
    changeSelected(after, "添加 " + column->mark + " 的荷载组合");
}

void ProjectViewModel::deleteCombinations(std::size_t firstRow, std::size_t lastRow) {
    const ProjectColumn* column = current();
    if (column == nullptr || firstRow > lastRow || firstRow >= column->combinations.size()) return;
    ProjectColumn after = *column;
    const std::size_t end = std::min(lastRow + 1, after.combinations.size());
    after.combinations.erase(after.combinations.begin() + static_cast<std::ptrdiff_t>(firstRow),
                             after.combinations.begin() + static_cast<std::ptrdiff_t>(end));
    changeSelected(after, "删除 " + column->mark + " 的荷载组合");
}

std::string ProjectViewModel::undoText() const {
    return undo_.empty() ? std::string() : "撤销 " + undo_.back().text;
}

std::string ProjectViewModel::redoText() const {
    return redo_.empty() ? std::string() : "重做 " + redo_.back().text;
}

void ProjectViewModel::push(Step step) {
    apply(step, true);
    undo_.push_back(std::move(step));
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
    redo_.clear();
}

void ProjectViewModel::undo() {
    if (undo_.empty()) return;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    apply(step, false);
    redo_.push_back(std::move(step));
}

void ProjectViewModel::redo() {
    if (redo_.empty()) return;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    apply(step, true);
    undo_.push_back(std::move(step));
}

void ProjectViewModel::apply(const Step& step, bool forward) {
    auto& columns = project_.columns;
    const auto at = [](auto& vector, std::size_t index) {
        return vector.begin() + static_cast<std::ptrdiff_t>(index);
    };
    const auto insert = [&](std::size_t index, const std::vector<Entry>& entries) {
        for (std::size_t k = 0; k < entries.size(); ++k) {
            columns.insert(at(columns, index + k), entries[k].column);
            outcomes_.insert(at(outcomes_, index + k), entries[k].outcome);
        }
        selected_ = index;
    };
    const auto erase = [&](std::size_t index, std::size_t count) {
        columns.erase(at(columns, index), at(columns, index + count));
        outcomes_.erase(at(outcomes_, index), at(outcomes_, index + count));
        if (columns.empty()) {
            selected_.reset();
        } else {
            selected_ = std::min(index, columns.size() - 1);
        }
    };
    switch (step.kind) {
        case Step::Kind::EditColumn: {
            const Entry& entry = forward ? step.after.front() : step.before.front();
            columns[step.index] = entry.column;
            outcomes_[step.index] = entry.outcome;
            selected_ = step.index;
            break;
        }
        case Step::Kind::EditInfo:
            project_.info = forward ? step.infoAfter : step.infoBefore;
            for (std::size_t k = 0; k < step.indices.size(); ++k) {
                const Entry& entry = forward ? step.after[k] : step.before[k];
                columns[step.indices[k]] = entry.column;
                outcomes_[step.indices[k]] = entry.outcome;
            }
            break;
        case Step::Kind::Insert:
            if (forward) {
                insert(step.index, step.after);
            } else {
                erase(step.index, step.after.size());
            }
            break;
        case Step::Kind::Remove:
            if (forward) {
                erase(step.index, step.before.size());
            } else {
                insert(step.index, step.before);
            }
            break;
        case Step::Kind::Move: {
            const std::size_t from = forward ? step.index : step.other;
            const std::size_t to = forward ? step.other : step.index;
            std::swap(columns[from], columns[to]);
            std::swap(outcomes_[from], outcomes_[to]);
            selected_ = to;
            break;
        }
    }
    modified_ = true;
}

void ProjectViewModel::applyDesign(const std::vector<ProjectColumn>& snapshot,
                                   std::vector<ColumnOutcome> outcomes) {
    for (std::size_t i = 0; i < outcomes.size() && i < snapshot.size(); ++i) {
        if (i < project_.columns.size() && project_.columns[i] == snapshot[i]) {
            outcomes_[i] = std::move(outcomes[i]);
        }
    }
}

const ColumnOutcome& ProjectViewModel::outcome(std::size_t index) const {
    return index < outcomes_.size() ? outcomes_[index] : kNotDesigned;
}

std::string ProjectViewModel::designSummary() const {
    std::array<std::size_t, 4> counts{};
    for (const ColumnOutcome& outcome : outcomes_) {
        ++counts[static_cast<std::size_t>(outcome.status)];
    }
    return "共 " + std::to_string(project_.columns.size()) + " 根柱：已设计 " +
           std::to_string(counts[1]) + "，无可用配筋 " + std::to_string(counts[2]) + "，输入有误 " +
           std::to_string(counts[3]) + "，未设计 " + std::to_string(counts[0]);
}

std::vector<std::string> ProjectViewModel::summaryLines() const {
    const ProjectColumn* column = current();
    if (column == nullptr) return {"未选择柱"};
    const ColumnOutcome& outcome = this->outcome(*selected_);
    const Gb2010Column& c = column->column;
    std::vector<std::string> lines = {column->mark + "：" + formatGeneral(c.b) + "×" +
                                      formatGeneral(c.h) + "，C" + std::to_string(c.concreteGrade) +
                                      "，" + steelLabel2010(c.steel) + "，" +
                                      std::to_string(column->combinations.size()) + " 组荷载组合"};
    lines.push_back("配筋参数：" + barPreferencesSummary(c.barPreferences) +
                    (c.barPreferences == project_.info.barPreferences ? "（工程）" : "（本柱）"));
    switch (outcome.status) {
        case ColumnStatus::NotDesigned:
            lines.emplace_back("未设计：按 F5 设计全部");
            return lines;
        case ColumnStatus::InputError:
            lines.push_back("输入有误：" + outcome.finding);
            return lines;
        case ColumnStatus::NoLayout:
            lines.push_back("无可用配筋：" + noLayoutReasonText(*outcome.design));
            return lines;
        case ColumnStatus::Designed:
            break;
    }
    const Gb2010Design& design = *outcome.design;
    const BarLayout& layout = *design.layout;
    lines.push_back("配筋：" + layoutNotation(layout.choice, c.steel) + "（共 " +
                    std::to_string(layout.choice.barCount()) + " 根）");
    lines.push_back("As = " + formatDecimals(layout.steelArea, 0) +
                    " mm²，ρ = " + formatDecimals(layout.ratio * 100.0, 2) + "%（最小 " +
                    formatDecimals(design.limits.minimumTotalRatio * 100.0, 2) + "%，最大 " +
                    formatDecimals(design.limits.maximumTotalRatio * 100.0, 2) + "%）");
    const auto governing = static_cast<std::size_t>(design.governing);
    const CombinationCheck& check = design.combinations[governing];
    lines.push_back("控制组合：第" + std::to_string(governing + 1) + "组，利用率 " +
                    formatDecimals(check.utilisation, 3) +
                    "，N/(0.9φ(fcA+fy'As')) = " + formatDecimals(check.axialUtilisation, 3));
    double axial = 0.0;
    for (const CombinationCheck& each : design.combinations) {
        axial = std::max(axial, each.demand.axialRatio);
    }
    std::string axialLine = "轴压比 N/(fcA) 最大 " + formatDecimals(axial, 3);
    if (design.limits.axialRatio.value > 0.0) {
        axialLine += "，限值 " + formatDecimals(design.limits.axialRatio.value, 2);
    }
    lines.push_back(axialLine);
    return lines;
}

std::string ProjectViewModel::reportText() const {
    if (current() == nullptr) return {};
    const ColumnOutcome& outcome = this->outcome(*selected_);
    if (outcome.status == ColumnStatus::InputError) return "输入有误：" + outcome.finding + "\n";
    if (outcome.whole) return gb2010ReportText(*outcome.whole);
    if (!outcome.design) return {};
    return gb2010ReportText(*outcome.design);
}

std::string ProjectViewModel::bookHtml() const {
    const ProjectColumn* column = current();
    if (column == nullptr) return {};
    const ColumnOutcome& outcome = this->outcome(*selected_);
    const BookInfo info = projectBookInfo(project_.info, column->mark, todayText());
    if (outcome.whole) return renderBookHtml(buildGb2010Book(info, *outcome.whole));
    if (!outcome.design) return {};
    return renderBookHtml(buildGb2010Book(info, *outcome.design));
}

SectionPicture ProjectViewModel::picture() const {
    const ProjectColumn* column = current();
    if (column == nullptr) return {};
    return sectionPicture(*column, outcome(*selected_));
}

BatchOutcome ProjectViewModel::runExport(BatchOptions options, const std::string* dxfDir,
                                         const std::string* booksDir, std::ostream* results,
                                         Gb2010Outputs* more) const {
    Gb2010BatchFiles files;
    if (dxfDir != nullptr) files.dxfDir = *dxfDir;
    std::optional<HtmlBooks> books;
    if (booksDir != nullptr) {
        if (auto failed = createOutputDirectory(*booksDir, "book directory")) return *failed;
        books.emplace(*booksDir, project_.info);
        files.outputs = &*books;
    }
    if (more != nullptr) files.outputs = more;
    NullBuffer nothing;
    std::ostream discard(&nothing);
    const std::string name = path_.empty() ? std::string("未命名工程") : path_;
    return runProjectBatch(project_, name, std::move(options), files,
                           results != nullptr ? *results : discard);
}

BatchOutcome ProjectViewModel::exportResults(const std::string& path) const {
    // The rows as tessarin-cli --open writes them, behind a UTF-8 byte-order mark: Excel opened
    // by a double-click reads a file without one in the system's code page and garbles the
    // Chinese headers and marks. Written whole, or the file stays as it was.
    std::ostringstream rows;
    BatchOutcome outcome = runExport(BatchOptions{}, nullptr, nullptr, &rows);
    if (outcome.status == BatchOutcome::Status::Unusable ||
        outcome.status == BatchOutcome::Status::FileFailed) {
        return outcome;
    }
    const FileResult written = writeWholeFile(path, "\xEF\xBB\xBF" + rows.str());
    if (!written.ok) {
        return BatchOutcome{BatchOutcome::Status::FileFailed,
                            written.fileName + ": " + written.reason};
    }
    return outcome;
}

BatchOutcome ProjectViewModel::exportBooks(const std::string& directory) const {
    return runExport(BatchOptions{}, nullptr, &directory, nullptr);
}

BatchOutcome ProjectViewModel::exportDrawings(const std::string& directory) const {
    return runExport(BatchOptions{}, &directory, nullptr, nullptr);
}

std::string exportOutcomeText(const BatchOutcome& outcome, const std::string& what) {
    switch (outcome.status) {
        case BatchOutcome::Status::AllAccepted:
            return {};
        case BatchOutcome::Status::SomeRejected:
            return what + "已导出；部分柱输入有误，未设计（见列表中红色的柱）";
        case BatchOutcome::Status::SomeWithoutLayout:
            return what + "已导出；部分柱无可用配筋（见列表中橙色的柱）";
        case BatchOutcome::Status::Unusable:
        case BatchOutcome::Status::FileFailed:
            break;
    }
    return what + "导出失败：" + outcome.message;
}

BatchOutcome ProjectViewModel::exportSchedule(const std::string& path,
                                              const PdfRenderer& pdf) const {
    const ScheduleFormat format = scheduleFormatOf(path);
    const bool wantsPdf = bookFormatOf(path) == BookFormat::Pdf;
    if (wantsPdf && !pdf) {
        return {BatchOutcome::Status::Unusable,
                path +
                    "：柱表文件名应以 .dxf（施工图）、.html 或 .docx（计算书格式）结尾；PDF "
                    "柱表请用 tessarin-cli --open 工程文件 --schedule 文件.pdf"};
    }
    if (format == ScheduleFormat::Unknown && !wantsPdf) {
        return {BatchOutcome::Status::Unusable,
                path + "：柱表文件名应以 .dxf（施工图）、.html、.docx 或 .pdf（计算书格式）结尾"};
    }
    ColumnSchedule schedule;
    ScheduleOutputs gather(schedule, nullptr);
    BatchOutcome outcome = runExport(BatchOptions{}, nullptr, nullptr, nullptr, &gather);
    if (outcome.status == BatchOutcome::Status::Unusable ||
        outcome.status == BatchOutcome::Status::FileFailed) {
        return outcome;
    }
    FileResult written;
    if (format == ScheduleFormat::Dxf) {
        written = writeScheduleDxf(path, schedule, scheduleTitle(project_.info.name));
    } else if (wantsPdf) {
        const Book book = schedule.book(projectBookInfo(project_.info, {}, todayText()));
        written = writeBook(book, path, pdf);
    } else {
        const Book book = schedule.book(projectBookInfo(project_.info, {}, todayText()));
        written =
            writeWholeFile(path, bookFormatOf(path) == BookFormat::Docx ? renderBookDocx(book)
                                                                        : renderBookHtml(book));
    }
    if (!written.ok) {
        return {BatchOutcome::Status::FileFailed,
                "cannot write " + written.fileName + ": " + written.reason};
    }
    return outcome;
}

}  // namespace tessarin
