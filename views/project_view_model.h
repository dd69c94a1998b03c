#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "book/book_file.h"
#include "platform/file_result.h"
#include "project/project.h"
#include "views/column_design.h"
#include "views/column_fields.h"
#include "views/section_picture.h"

namespace tessarin {

class Gb2010Outputs;

// The project data fields above the column list.
enum class InfoField { Name, Number, Designer, Checker, Reviewer, Seismic, Structure };
struct InfoFieldSpec {
    InfoField field;
    const char* label;
    std::vector<std::string> choices;  // empty for a text field
};
[[nodiscard]] const std::vector<InfoFieldSpec>& infoFieldSpecs();

// One line of the column list.
struct ColumnRow {
    std::string mark;
    std::string section;       // "400×600"
    std::string combinations;  // their count
    std::string layout;        // the bars in the usual notation, "4C22+6C18" style
    std::string steelArea;     // As, mm²
    std::string ratio;         // ρ, %
    std::string utilisation;   // the governing combination's
    std::string axialRatio;    // the largest N / (fc A), with its limit when seismic
    std::string status;        // 已设计, 无可用配筋, 输入有误, 未设计
    ColumnStatus kind = ColumnStatus::NotDesigned;
};
inline constexpr std::size_t kColumnRowFields = 9;
// The background of a status in the list, 0xRRGGBB: green designed, orange no layout, red input
// error; white not designed.
[[nodiscard]] unsigned statusColour(ColumnStatus status);
[[nodiscard]] const char* columnRowHeader(std::size_t field);
[[nodiscard]] std::string columnRowField(const ColumnRow& row, std::size_t field);

// What an export tells the engineer once it has run, the same in both front ends: empty when
// every column was designed and written; else what was written and what was not, or why nothing
// was. what names the export: "结果 CSV ", "计算书", "施工图".
[[nodiscard]] std::string exportOutcomeText(const BatchOutcome& outcome, const std::string& what);

// The question before a modified project is left (新建, 打开, closing the window).
inline constexpr const char* kSaveChangesQuestion = "工程已修改，是否保存？";

// Whose bar preferences an edit changes: the project's, or the selected column's own.
enum class PreferenceScope { Project, Column };

// What a bar preference field takes, shown in its empty edit and its tip ("" for a yes/no
// field, which is a check box).
[[nodiscard]] const char* barPreferenceHint(std::size_t field);

// Which commands may be given now; each front end enables its menu entries and buttons by it.
struct CommandState {
    bool save = false;
    bool copyColumn = false;
    bool deleteColumn = false;
    bool moveUp = false;
    bool moveDown = false;
    bool undo = false;
    bool redo = false;
    bool designAll = false;
    bool exportResults = false;
    bool addCombination = false;
    bool deleteCombination = false;
};

// The project window's logic, for the Qt and the Win32 view alike: the project and its file,
// the column list with each column's design, the selected column's fields and combinations,
// undo and redo, and what each command may do now. Nothing here blocks for long except the
// design of all columns, which the view runs on a worker thread (designSnapshot, applyDesign).
class ProjectViewModel {
  public:
    ProjectViewModel();

    // --- the document
    [[nodiscard]] const Project& project() const { return project_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] bool modified() const { return modified_; }
    [[nodiscard]] std::string windowTitle() const;
    void newProject();
    // Opens a project file; on failure the message (naming the file, line and field) and the
    // window keeps what it had.
    [[nodiscard]] std::string open(const std::string& path);
    [[nodiscard]] FileResult save();  // to path(), which must be set
    [[nodiscard]] FileResult saveAs(const std::string& path);
    // The columns of a cases file added after the last one, as one step to undo; a mark the
    // project already has refuses the import.
    [[nodiscard]] std::string importCases(const std::string& path);
    // The files most recently opened or saved, newest first (at most kRecentFiles).
    static constexpr std::size_t kRecentFiles = 8;
    [[nodiscard]] const std::vector<std::string>& recentFiles() const { return recent_; }
    void setRecentFiles(std::vector<std::string> files);

    // --- the project data
    [[nodiscard]] std::string infoText(InfoField field) const;
    void editInfo(InfoField field, const std::string& text);

    // --- the bar preferences (配筋参数): the project's, and the selected column's own. Fields are
    // numbered as kBarPreferenceFields lists them; texts as barPreferenceText writes them.
    // A column follows the project while its preferences equal the project's.
    [[nodiscard]] std::string preferenceText(PreferenceScope scope, std::size_t field) const;
    // One field as the engineer leaves it, one step to undo; the message names the field (empty
    // when taken). A change of the project's carries to every column that follows the project;
    // a column that has its own keeps them.
    std::string editPreference(PreferenceScope scope, std::size_t field, const std::string& text);
    // All six fields at once, as a dialog's OK gives them: read in order, then checked as a
    // whole; one step to undo, or nothing changed and the first message.
    std::string editPreferences(PreferenceScope scope, const std::vector<std::string>& texts);
    // Whether the selected column follows the project's preferences (false without one).
    [[nodiscard]] bool columnFollowsProject() const;
    // The selected column takes the project's preferences again (one step to undo).
    void followProject();
    // The 配筋参数 dialog, the same in both front ends: its title ("工程的配筋参数",
    // "KZ1 的配筋参数") and its OK. For a column, follow (采用工程的配筋参数) takes the project's
    // preferences and the texts are not read; else as editPreferences.
    [[nodiscard]] std::string preferencesTitle(PreferenceScope scope) const;
    std::string acceptPreferences(PreferenceScope scope, bool follow,
                                  const std::vector<std::string>& texts);

    // --- the column list
    [[nodiscard]] std::size_t columnCount() const { return project_.columns.size(); }
    [[nodiscard]] ColumnRow row(std::size_t index) const;
    [[nodiscard]] std::optional<std::size_t> selected() const { return selected_; }
    void select(std::optional<std::size_t> index);
    // A new column after the selected one (or last) starts from the data of the last column
    // (or the project's seismic data), with a fresh mark and one empty combination to fill in.
    void addColumn();
    void copyColumn();
    void deleteColumn();
    void moveUp();
    void moveDown();
    [[nodiscard]] CommandState commands() const;

    // --- the selected column's fields (nothing to show without a selection)
    [[nodiscard]] std::string fieldText(ColumnField field) const;
    // The edit as the engineer leaves the field: the message names the field (empty when sound).
    std::string editField(ColumnField field, const std::string& text);
    [[nodiscard]] std::string fieldFinding(ColumnField field) const;
    // The first rule the selected column's input breaks, in the order the design checks them;
    // empty when it can be designed.
    [[nodiscard]] std::string inputFinding() const;

    // --- the selected column's combinations
    [[nodiscard]] std::size_t combinationCount() const;
    [[nodiscard]] std::string cellText(std::size_t row, std::size_t cell) const;
    [[nodiscard]] std::string cellFinding(std::size_t row, std::size_t cell) const;
    std::string editCell(std::size_t row, std::size_t cell, const std::string& text);
    // A block from a spreadsheet at (row, cell); the message says why nothing was pasted.
    std::string paste(std::size_t row, std::size_t cell, const std::string& text);
    [[nodiscard]] std::string copy(std::size_t firstRow, std::size_t lastRow, std::size_t firstCell,
                                   std::size_t lastCell) const;
    void addCombination();
    void deleteCombinations(std::size_t firstRow, std::size_t lastRow);

    // --- undo and redo: every change of the project is one step
    [[nodiscard]] std::string undoText() const;  // "撤销 编辑 KZ1 截面宽度 b"; empty when none
    [[nodiscard]] std::string redoText() const;
    void undo();
    void redo();

    // --- design
    // The columns as they stand, for the worker thread; applyDesign takes its outcomes for the
    // columns that are still as they were (one edited meanwhile stays undesigned).
    [[nodiscard]] std::vector<ProjectColumn> designSnapshot() const { return project_.columns; }
    void applyDesign(const std::vector<ProjectColumn>& snapshot,
                     std::vector<ColumnOutcome> outcomes);
    [[nodiscard]] const ColumnOutcome& outcome(std::size_t index) const;
    // "共 12 根柱：已设计 9，无可用配筋 1，输入有误 1，未设计 1".
    [[nodiscard]] std::string designSummary() const;
    // The selected column: its summary lines, its report text, its book (HTML) and section.
    [[nodiscard]] std::vector<std::string> summaryLines() const;
    [[nodiscard]] std::string reportText() const;
    [[nodiscard]] std::string bookHtml() const;
    [[nodiscard]] SectionPicture picture() const;

    // --- exports: through the current-code batch, as tessarin-cli --open writes them (the
    // results CSV behind a UTF-8 byte-order mark, for Excel)
    [[nodiscard]] BatchOutcome exportResults(const std::string& path) const;
    [[nodiscard]] BatchOutcome exportBooks(const std::string& directory) const;
    [[nodiscard]] BatchOutcome exportDrawings(const std::string& directory) const;
    // The column schedule (柱表) of every column: path.dxf the table with each distinct section
    // detail, path.html, .docx or .pdf the table as a book. The PDF is made by the front end's
    // writer (Qt's on Linux, the standard Adobe-GB1 face on Windows); without one a .pdf name is
    // refused.
    [[nodiscard]] BatchOutcome exportSchedule(const std::string& path,
                                              const PdfRenderer& pdf = {}) const;

  private:
    struct Entry {
        ProjectColumn column;
        ColumnOutcome outcome;
    };
    struct Step {
        // EditInfo also changes the columns at indices (before and after, one entry each).
        enum class Kind { EditColumn, EditInfo, Insert, Remove, Move };
        Kind kind = Kind::EditColumn;
        std::string text;
        std::size_t index = 0;
        std::size_t other = 0;             // move: where the column went
        std::vector<std::size_t> indices;  // editInfo: the columns that follow the project
        std::vector<Entry> before;  // editColumn: the column before; remove: what was removed
        std::vector<Entry> after;   // editColumn: after; insert: what was inserted
        ProjectInfo infoBefore;
        ProjectInfo infoAfter;
    };

    void push(Step step);
    void apply(const Step& step, bool forward);
    void changeSelected(const ProjectColumn& after, const std::string& text);
    void changePreferences(PreferenceScope scope, const BarPreferences& after,
                           const std::string& text);
    void insertEntries(std::size_t index, std::vector<Entry> entries, const std::string& text);
    [[nodiscard]] std::string freeMark(const std::string& base) const;
    [[nodiscard]] const ProjectColumn* current() const;
    void remember(const std::string& path);
    [[nodiscard]] BatchOutcome runExport(BatchOptions options, const std::string* dxfDir,
                                         const std::string* booksDir, std::ostream* results,
                                         Gb2010Outputs* more = nullptr) const;

    Project project_;
    std::vector<ColumnOutcome> outcomes_;  // one per column
    std::string path_;
    bool modified_ = false;
    std::optional<std::size_t> selected_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    std::vector<std::string> recent_;
};

}  // namespace tessarin
