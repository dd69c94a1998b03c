#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/section/section_check.h"
#include "run/calculate_command.h"
#include "run/run_host.h"
#include "win/dialog_window.h"
#include "win/project_window.h"
#include "win/scheme_dialog.h"
#include "win/small_dialogs.h"

namespace tessarin {

// The program's one window (template 102): the eight input fields, the two grade lists, the
// calculate, exit and explanation buttons and the result box, the About entry (command 16) in the
// system menu. It owns for its whole life the design session (input, bar arrangement) and the
// scheme and diagram dialogs, and it is the host through which the calculate command talks to
// the engineer.
class MainDialog : public DialogWindow, public RunHost {
  public:
    MainDialog();
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // RunHost
    bool exchangeFields(DesignInput& input) override;
    MessageAnswer showMessage(const Message& message) override;
    void focusControl(ControlId control) override;
    std::optional<SchemeChoice> chooseScheme() override;
    void showReport(const std::string& gbkBytes) override;

    // The section check of the last complete design (context menu or F2), and its calculation
    // book (context menu, or the check's own button).
    bool sectionCheckAvailable() const;
    void showSectionCheck();
    std::string exportBook(HWND owner, const std::optional<SectionCheckResult>& check);
    // "工程设计：Tessarin 柱设计": the project window beside this dialog, on the last project.
    void showProjectWindow();

  protected:
    bool onInit() override;
    bool onCommand(int id, int notification) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool preTranslate(MSG& message) override;
    // The program ends with this dialog: a modified project is asked about first.
    bool mayEnd() override;

  private:
    void calculate();
    void showAbout();
    void showContextMenu(POINT at);

    DesignSession session_;
    SchemeDialog schemeDialog_;
    PrincipleDiagramDialog diagramDialog_;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HFONT reportFont_ = nullptr;
    std::unique_ptr<ProjectWindow> projectWindow_;
};

}  // namespace tessarin
