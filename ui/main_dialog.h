#pragma once

#include <QDialog>
#include <QPointer>
#include <string>
#include <utility>

#include "engine/section/section_check.h"
#include "run/calculate_command.h"
#include "run/control_id.h"
#include "run/gb2010_input.h"
#include "run/run_host.h"
#include "ui/dialog_template.h"
#include "ui/principle_diagram_dialog.h"
#include "ui/reinforcement_scheme_dialog.h"

class QComboBox;
class QContextMenuEvent;
class QLineEdit;
class QPlainTextEdit;
class QShortcut;

namespace tessarin {

// The program's one window (template 102): the eight input fields, the two grade lists, the
// calculate, exit and explanation buttons and the result box. It owns for its whole life the
// design session (input, engine, bar arrangement) and the scheme and diagram dialogs, and it is
// the host through which the calculate command talks to the engineer.
class MainDialog : public QDialog, public RunHost {
    Q_OBJECT

  public:
    explicit MainDialog(QWidget* parent = nullptr);

    QWidget* control(ControlId id) const;
    // The report file the calculate command writes: "Result.txt" in the current directory unless
    // a test or benchmark names another.
    void setReportPath(std::string path) { reportPath_ = std::move(path); }
    const DesignSession& session() const { return session_; }
    ReinforcementSchemeDialog& schemeDialog() { return schemeDialog_; }
    PrincipleDiagramDialog& diagramDialog() { return diagramDialog_; }

    // The buttons' commands.
    RunOutcome calculate();
    void showDiagram();
    void showAbout();
    // The section check of the last complete design, on demand (context menu or F2).
    void showSectionCheck();
    // A design is there to check once a calculation has run to its end (a run that stops at the
    // report file withdraws it) and its numbers are finite.
    bool sectionCheckAvailable() const;
    // "导出计算书…": the book of the last complete design, with the section check when it is
    // given (from the section-check dialog). Returns the file written, empty if none.
    QString exportBook(const std::optional<SectionCheckResult>& check = std::nullopt);
    // The current-code design of the typed column, at any time (context menu or F3).
    void showGb2010Design();
    // The project window "Tessarin 柱设计" (one, brought to the front when open), on the last
    // project.
    void showProjectWindow();
    Gb2010Input gb2010StartInput() const;

    // RunHost
    bool exchangeFields(DesignInput& input) override;
    MessageAnswer showMessage(const Message& message) override;
    void focusControl(ControlId id) override;
    std::optional<SchemeChoice> chooseScheme() override;
    void showReport(const std::string& gbkBytes) override;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QLineEdit* field(ControlId id) const;
    void initDialog();

    DialogControls controls_;
    QComboBox* concreteList_ = nullptr;
    QComboBox* steelList_ = nullptr;
    QPlainTextEdit* resultBox_ = nullptr;

    QShortcut* checkShortcut_ = nullptr;
    QPointer<QWidget> projectWindow_;

    std::string reportPath_ = kReportFileName;
    DesignSession session_;
    ReinforcementSchemeDialog schemeDialog_{this};
    PrincipleDiagramDialog diagramDialog_{this};
};

}  // namespace tessarin
