#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "run/gb2010_command.h"
#include "run/gb2010_input.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace tessarin {
class Gb2010SectionView;

// "现行规范设计": the current-code design (GB 50010-2010, seismic detailing GB 50011-2010) of the
// main dialog's column. The column with its extra inputs (lengths between supports, cover,
// stirrup, the current grades, the seismic grade with structure and position), a table of load
// combinations whose first row comes from the main dialog, and after "设计": the chosen section to
// scale with every bar, the check of each combination, the limits the layout meets and the
// calculation text, which is also written to Result-GB2010.txt (Result.txt is never touched).
// The calculation book of a design (also of one without a layout, which says why) is exported
// with "导出计算书…".
// The dialog is the current-code design command's host (runGb2010Command): the command
// reads, checks, designs, writes the report and shows through it.
class Gb2010Dialog : public QDialog, private Gb2010Host {
    Q_OBJECT

  public:
    // The table's columns, in order (column numbers of the table, so constants).
    static constexpr int kColN = 0;
    static constexpr int kColM2x = 1;
    static constexpr int kColM1M2x = 2;
    static constexpr int kColM2y = 3;
    static constexpr int kColM1M2y = 4;
    static constexpr int kColVx = 5;
    static constexpr int kColVy = 6;
    // A list (未指明, 地震组合, 非地震组合) rather than a number.
    static constexpr int kColKind = 7;
    static constexpr int kColumnCount = 8;

    explicit Gb2010Dialog(const Gb2010Input& start, QWidget* parent = nullptr);

    // The buttons' commands. design() runs the engine on a worker thread while the window stays
    // alive (inputs locked, a busy bar and "取消" shown) and returns when the design is done or
    // cancelled. It is false when an input was refused, the design was cancelled or the report
    // file could not be written (the engineer was told); the result boxes and the exports then
    // show no design rather than the one before, which no longer matches the inputs.
    bool design();
    // "取消" during a design: the engine stops at its next layout; nothing of it is shown.
    void cancelDesign();
    bool designRunning() const { return running_.has_value(); }
    void addCombination();
    void removeCombination();
    // Writes the section drawing of the last design as DXF; false (and a message) on failure.
    bool exportDrawing(const QString& path);
    // "导出计算书…": the calculation book of the last design, to the file the file dialog gives
    // (HTML or PDF). Returns the file written; empty when there is no design yet, the engineer
    // cancelled or the book could not be written (a message box says why).
    QString exportBook();

    // The inputs as the fields and the table hold them; nullopt when a field or a cell is no
    // number (the engineer was told, the field or cell has the focus).
    std::optional<Gb2010Input> readInput() override;

    const std::optional<Gb2010Design>& lastDesign() const { return design_; }
    QLineEdit* field(Gb2010Field which) const;
    // The list of a choice field (the grades, the structure, the position); nullptr for another.
    QComboBox* list(Gb2010Field which) const;
    QComboBox* concreteList() const { return list(Gb2010Field::Concrete); }
    QComboBox* steelList() const { return list(Gb2010Field::Steel); }
    QComboBox* seismicList() const { return list(Gb2010Field::Seismic); }
    QComboBox* structureList() const { return list(Gb2010Field::Structure); }
    QComboBox* positionList() const { return list(Gb2010Field::Position); }
    QComboBox* stirrupSteelList() const { return list(Gb2010Field::StirrupSteel); }
    // The kind list of a combination's row.
    QComboBox* kindList(int row) const;
    // The column with its stirrups of the last design.
    const std::optional<ColumnWithStirrups>& lastColumn() const { return whole_; }
    QTableWidget* combinationsTable() const { return combinations_; }
    QTableWidget* resultsTable() const { return results_; }
    QLabel* summaryLabel() const { return summary_; }
    QPlainTextEdit* reportBox() const { return report_; }
    Gb2010SectionView* sectionView() const { return view_; }
    QPushButton* drawingButton() const { return drawingButton_; }
    QPushButton* bookButton() const { return bookButton_; }
    QPushButton* designButton() const { return designButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QProgressBar* busyBar() const { return busy_; }

    // The engine call design() runs on its worker thread (the current-code design; tests put a
    // slow one in its place). It must return soon once stop is requested.
    using DesignFunction = std::function<std::optional<ColumnWithStirrups>(
        const Gb2010Input& input, const std::stop_token& stop)>;
    void setDesignFunction(DesignFunction function) { designFunction_ = std::move(function); }

    // Closing the window during a design cancels it first.
    void reject() override;

    // The report file, in the current directory unless set otherwise.
    void setReportPath(std::string path) { reportPath_ = std::move(path); }

  private:
    void chooseDrawingFile();
    void showDesign(const ColumnWithStirrups& whole);
    // No design shown or exported: the result boxes empty, the summary saying why.
    void clearDesign(const QString& why);
    void setBusy(bool busy);
    // The summary's text, in red when it says why no layout fits.
    void setSummary(const QString& summary, bool error);
    // The command's host: a refused input, the design on a worker thread, a report that could
    // not be written, the design shown.
    void refuse(const Gb2010Finding& finding) override;
    std::optional<ColumnWithStirrups> runDesign(const Gb2010Input& input) override;
    void reportFailed(const FileResult& failure) override;
    void showResult(const ColumnWithStirrups& whole) override;
    void setCombinationRow(int row, const LoadCombination& load);

    std::map<Gb2010Field, QLineEdit*> fields_;
    std::map<Gb2010Field, QComboBox*> lists_;
    QTableWidget* combinations_ = nullptr;
    QTableWidget* results_ = nullptr;
    QLabel* summary_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    Gb2010SectionView* view_ = nullptr;
    QPushButton* drawingButton_ = nullptr;
    QPushButton* bookButton_ = nullptr;
    QPushButton* designButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* busy_ = nullptr;
    QWidget* inputs_[2] = {};  // the column box and the combinations box, locked while busy

    std::optional<Gb2010Design> design_;
    DesignFunction designFunction_;
    std::optional<std::stop_source> running_;  // while a design runs: how to stop it
    bool closeAfterDesign_ = false;
    std::optional<ColumnWithStirrups> whole_;
    std::string reportPath_;
};

// The start of the dialog from the main dialog's fields: the column, its grades mapped to the
// current lists (HPB235 becomes HPB300, C15 becomes C20) and the moments as M2x, M2y of the first
// combination with M1/M2 = 1.
Gb2010Input gb2010Start(double l0, double b, double h, double M0x, double M0y, double N,
                        int concreteNumber, int steelIndex2002);

}  // namespace tessarin
