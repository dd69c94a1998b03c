#pragma once

#include <QMainWindow>
#include <QString>
#include <atomic>
#include <map>
#include <memory>

#include "views/project_view_model.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QThread;

namespace tessarin {

class ColumnListModel;
class CombinationModel;
class SectionPictureView;

// "Tessarin 柱设计": a building's columns in one window. A view over ProjectViewModel: it makes
// the widgets, forwards each edit and command to the view model and shows what it says; the
// design of all columns runs on a worker thread with a progress bar and a cancel button.
class ProjectWindow : public QMainWindow {
    Q_OBJECT

  public:
    // remember: the last project and the window state are kept with QSettings (the tests pass
    // false).
    explicit ProjectWindow(QWidget* parent = nullptr, bool remember = true);
    ~ProjectWindow() override;

    ProjectViewModel& viewModel() { return vm_; }
    // Opens a project; a refusal is shown in a message box (unless quiet) and returned.
    QString openFile(const QString& path, bool quiet = false);
    // Opens the project of the last session, when there is one that still reads.
    void openLastProject();

    // The commands behind the menu entries, without their file dialogs; the message shown (empty
    // when all went well).
    QString saveTo(const QString& path);
    QString exportResultsTo(const QString& path);
    QString exportBooksTo(const QString& directory);
    QString exportDrawingsTo(const QString& directory);
    // The column schedule (柱表) to path: .dxf, .html or .docx by its suffix.
    QString exportScheduleTo(const QString& path);
    void designAll();
    // The 配筋参数 dialog of the project or of the selected column (modal).
    void editPreferences(PreferenceScope scope);
    bool designRunning() const { return worker_ != nullptr; }

    // For the tests: the widgets as the engineer meets them.
    QTableView* columnList() const { return list_; }
    QTableView* combinationGrid() const { return grid_; }
    QWidget* fieldWidget(ColumnField field) const;
    QWidget* infoWidget(InfoField field) const;
    QLabel* messageLabel() const { return message_; }
    QLabel* columnPreferencesLabel() const { return columnPreferences_; }
    QPlainTextEdit* reportView() const { return report_; }
    QAction* action(const QString& name) const;

  signals:
    void designFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildActions();
    void buildWidgets();
    QWidget* buildColumnPanel();
    QWidget* buildDetailPanel();
    void refresh();
    void refreshColumn();
    void refreshCommands();
    void refreshRecent();
    void refreshPages();
    void showFinding();
    void showMessage(const QString& text);
    void editField(ColumnField field, const QString& text);
    void selectionChanged();
    bool maybeSave();
    void newProject();
    void openProject();
    bool save();
    bool saveAs();
    void importCsv();
    void exportResults();
    void exportBooks();
    void exportDrawings();
    void exportSchedule();
    void pasteCells();
    void copyCells();
    void deleteCombinations();
    void designProgress(int done, int total);
    void designDone();
    void cancelDesign();
    void undo();
    void redo();
    QString outcomeText(const BatchOutcome& outcome, const QString& what) const;

    ProjectViewModel vm_;
    bool remember_;
    bool refreshing_ = false;
    std::map<QString, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    std::map<ColumnField, QWidget*> fields_;
    std::map<InfoField, QWidget*> info_;
    QTableView* list_ = nullptr;
    QTableView* grid_ = nullptr;
    ColumnListModel* listModel_ = nullptr;
    CombinationModel* gridModel_ = nullptr;
    SectionPictureView* picture_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* columnPreferences_ = nullptr;
    QLabel* designSummary_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QTextBrowser* book_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancelRequested_{false};
    std::vector<ProjectColumn> snapshot_;
    std::vector<ColumnOutcome> outcomes_;
};

}  // namespace tessarin
