#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "views/project_view_model.h"

namespace tessarin {

// "Tessarin 柱设计" on Windows: a native top-level window over ProjectViewModel, the same view
// model the Qt window shows. It makes the controls, forwards each edit and command to the view
// model and shows what it says; the columns of its lists and its fields come from the view
// model's tables. 设计全部 runs on a worker thread with a progress bar and a cancel button.
class ProjectWindow {
  public:
    // The commands of the menu, the toolbar, the buttons and the accelerators.
    enum Command : int {
        New = 100,
        Open,
        Save,
        SaveAs,
        Import,
        ExportResults,
        ExportBooks,
        ExportDrawings,
        Close,
        Undo,
        Redo,
        Copy,
        Paste,
        AddColumn,
        CopyColumn,
        DeleteColumn,
        MoveUp,
        MoveDown,
        AddCombination,
        DeleteCombination,
        DesignAll,
        CancelDesign,
        ExportSchedule,
        ProjectPreferences,
        ColumnPreferences,
        RecentFirst = 200,  // up to RecentFirst + kRecentFiles - 1
    };

    // remember: the window state, the last project and the recent files are kept per user
    // (HKCU\Software\Tessarin\ProjectWindow); the tests pass false. quitOnClose: the window is
    // the program (tessarin.exe FILE.tsn) and ends its message loop when it goes.
    explicit ProjectWindow(bool remember = true, bool quitOnClose = false);
    ~ProjectWindow();
    ProjectWindow(const ProjectWindow&) = delete;
    ProjectWindow& operator=(const ProjectWindow&) = delete;

    // Makes the window and shows it (restored where it was); false when it could not be made.
    bool create(int show = SW_SHOWNORMAL);
    [[nodiscard]] HWND handle() const { return window_; }
    // The keyboard of one queued message: the accelerators, the cell editor's keys, the grid's
    // keys and the tab order. True when the message was taken; every message loop that runs
    // while the window is open passes its messages here first.
    bool translate(MSG& message);
    // Asks to save a modified project, then closes; false when the engineer chose to stay.
    bool close();

    ProjectViewModel& viewModel() { return vm_; }
    // Opens a project; a refusal is shown in a message box (unless quiet) and returned.
    std::string openFile(const std::string& path, bool quiet = false);
    void openLastProject();
    // The commands without their file dialogs; the message (empty when all went well).
    std::string saveTo(const std::string& path);
    std::string exportResultsTo(const std::string& path);
    std::string exportBooksTo(const std::string& directory);
    std::string exportDrawingsTo(const std::string& directory);
    // The column schedule (柱表) to path: .dxf, .html, .docx, or .pdf in the standard Adobe-GB1
    // face, by its suffix.
    std::string exportScheduleTo(const std::string& path);
    void designAll();
    // The 配筋参数 dialog of the project or of the selected column, modal over the window.
    void editPreferences(PreferenceScope scope);
    [[nodiscard]] bool designRunning() const { return worker_.joinable(); }

    // For the tests: the controls as the engineer meets them.
    [[nodiscard]] HWND columnList() const { return list_; }
    [[nodiscard]] HWND combinationGrid() const { return grid_; }
    [[nodiscard]] HWND cellEditor() const { return editor_; }
    [[nodiscard]] HWND fieldControl(ColumnField field) const { return fields_.at(field); }
    [[nodiscard]] HWND infoControl(InfoField field) const { return info_.at(field); }
    [[nodiscard]] HWND reportBox() const { return report_; }
    [[nodiscard]] HWND messageLabel() const { return message_; }
    // The selected column's 配筋参数 line ("配筋参数：…（本柱）") beside its button.
    [[nodiscard]] HWND columnPreferencesLabel() const { return columnPreferences_; }
    [[nodiscard]] HWND tabs() const { return tabs_; }
    [[nodiscard]] std::size_t currentCell() const { return cell_; }
    [[nodiscard]] int dpi() const { return dpi_; }
    [[nodiscard]] HACCEL accelerators() const { return accelerators_; }

    // The message loop of a program whose one window this is: until the window goes.
    int run();

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void buildControls();
    void buildMenu();
    void makeFonts();
    void layout();
    int scaled(int pixels) const;
    void command(int id);
    LRESULT notify(NMHDR& header);
    LRESULT customDrawList(NMLVCUSTOMDRAW& draw);
    LRESULT customDrawGrid(NMLVCUSTOMDRAW& draw);
    void showPage(int page);
    void fitListColumns();

    void refresh();
    void refreshColumn();
    void refreshCommands();
    void refreshRecent();
    void refreshReport();
    void showMessage(const std::string& text);
    void showFinding();
    void status(const std::string& text);

    void leaveField(HWND control);
    void selectionChanged();
    void selectRow(HWND list, std::size_t row);
    [[nodiscard]] std::vector<std::size_t> selectedRows(HWND list) const;
    void beginEdit(const std::wstring* typed);
    void endEdit(bool keep, bool refocus);
    void moveCell(int rows, int cells);
    bool gridKey(const MSG& message);
    void pasteCells();
    void copyCells();
    void deleteCombinations();

    bool maybeSave();
    void newProject();
    void openProject();
    bool save();
    bool saveAs();
    void importCsv();
    void exportResults();
    void exportFolder(bool books);
    void exportSchedule();
    void designDone();
    void cancelDesign();
    void remember();
    void notice(const std::string& text, UINT icon) const;

    ProjectViewModel vm_;
    bool remember_;
    bool quitOnClose_;
    bool refreshing_ = false;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    HMENU recentMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT reportFont_ = nullptr;
    HBRUSH findingBrush_ = nullptr;

    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND list_ = nullptr;
    HWND grid_ = nullptr;
    HWND editor_ = nullptr;
    HWND tabs_ = nullptr;
    HWND picture_ = nullptr;
    HWND summary_ = nullptr;
    HWND report_ = nullptr;
    HWND message_ = nullptr;
    HWND projectPreferences_ = nullptr;  // the button under the project data
    HWND columnPreferences_ = nullptr;   // the column's 配筋参数 line
    HWND columnPreferencesButton_ = nullptr;
    HWND designSummary_ = nullptr;
    HWND gridLabel_ = nullptr;
    HWND progress_ = nullptr;
    HWND cancel_ = nullptr;
    std::map<InfoField, HWND> info_;
    std::map<ColumnField, HWND> fields_;
    std::vector<HWND> infoLabels_;
    std::vector<HWND> fieldLabels_;
    std::vector<HWND> listButtons_;
    std::vector<HWND> gridButtons_;
    std::vector<HWND> page0_;  // the controls of each page of the tabs
    std::vector<HWND> page1_;
    std::vector<HWND> page2_;
    int page_ = 0;

    std::size_t cell_ = 0;     // the grid's current column
    std::size_t editRow_ = 0;  // the cell under the editor
    std::size_t editCell_ = 0;

    std::vector<ColumnRow> rows_;  // the column list as worded at the last change
    SectionPicture pictureModel_;
    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::vector<ProjectColumn> snapshot_;
    std::vector<ColumnOutcome> outcomes_;
};

// Paints the section to scale into box: b across, h up, as the drawing has it.
void paintSectionPicture(HDC context, const RECT& box, const SectionPicture& picture, int dpi,
                         HFONT font);

}  // namespace tessarin
