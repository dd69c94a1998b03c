// The project window driven as an engineer drives it: keyboard edits of the fields, a block of
// Excel rows pasted into the combinations, 设计全部 (F5) on the worker thread, save through the
// file dialog, reopen, and the books and drawings exported. The logic itself is tested with the
// view models; here the view must forward every event and show what the view model says.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/bar_preferences_dialog.h"
#include "ui/main_dialog.h"
#include "ui/project_window.h"

using namespace tessarin;

namespace {

// Types text into a field as the engineer does: focus, select all, type, Tab away.
void typeInto(QWidget* field, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(field);
    QVERIFY(edit != nullptr);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    // QTest types Latin-1 only; Chinese comes as an input method commits it, in one piece.
    bool latin1 = true;
    for (const QChar c : text) latin1 = latin1 && c.unicode() < 0x80;
    if (latin1) {
        QTest::keyClicks(edit, text);
    } else {
        edit->insert(text);
    }
    QTest::keyClick(edit, Qt::Key_Tab);
}

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

class ProjectWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void keyboardPasteDesignSaveReopenExport();
    void badFieldIsRefusedWithItsName();
    void shearsKindAndStirrupSteelFromTheKeyboard();
    void undoRedoFromTheKeyboard();
    void remembersTheLastProjectNotThe2002Dialog();
    void destroyedWithAFieldBeingTyped();
    void barPreferencesOfTheProjectAndAColumn();
};

// State: a new project. Action: two columns by the keyboard, a block of Excel rows pasted, F5,
// 另存为 through the file dialog, reopen, export. Expected: both columns designed, the file read
// back with every value, a book and a drawing per column.
void ProjectWindowTest::keyboardPasteDesignSaveReopenExport() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectWindow window(nullptr, false);
    QVERIFY(showActive(window));
    typeInto(window.infoWidget(InfoField::Name), QStringLiteral("某住宅楼"));
    QCOMPARE(QString::fromStdString(window.viewModel().project().info.name),
             QStringLiteral("某住宅楼"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N,
                    Qt::ControlModifier | Qt::ShiftModifier);  // 添加柱
    QCOMPARE(window.viewModel().columnCount(), std::size_t{1});
    typeInto(window.fieldWidget(ColumnField::B), QStringLiteral("500"));
    typeInto(window.fieldWidget(ColumnField::H), QStringLiteral("500"));
    typeInto(window.fieldWidget(ColumnField::L0), QStringLiteral("4500"));
    QCOMPARE(window.viewModel().fieldText(ColumnField::B), std::string("500"));
    QCOMPARE(window.viewModel().fieldText(ColumnField::L0), std::string("4500"));

    // Two rows as Excel copies them: tabs, CR LF, a line break after the last.
    QTableView* grid = window.combinationGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::clipboard()->setText(QStringLiteral("1000\t200\t200\r\n1800\t120\t260\r\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("260"));
    // A cell typed: the key starts the edit, Return ends it.
    grid->setCurrentIndex(grid->model()->index(1, 3));
    QTest::keyClick(grid, Qt::Key_0);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor != grid);
    QTest::keyClicks(editor, QStringLiteral(".5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(window.viewModel().project().columns[0].combinations[1].m1m2X, 0.5);
    // Copied back as a spreadsheet takes it.
    grid->setFocus();
    grid->selectionModel()->select(
        QItemSelection(grid->model()->index(0, 0), grid->model()->index(1, 2)),
        QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1000\t200\t200\n1800\t120\t260\n"));

    // A second column starts from the first one's data.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window.viewModel().fieldText(ColumnField::B), std::string("500"));
    grid->setCurrentIndex(grid->model()->index(0, 0));
    grid->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("400\t244\t120\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);

    QSignalSpy finished(&window, &ProjectWindow::designFinished);
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(finished.wait(20000));
    QCOMPARE(window.viewModel().row(0).status, std::string("已设计"));
    QCOMPARE(window.viewModel().row(1).status, std::string("已设计"));
    // The report is written into its page when the page is shown.
    auto* pages = window.findChild<QTabWidget*>();
    QVERIFY(pages != nullptr);
    QVERIFY(window.reportView()->toPlainText().isEmpty());
    pages->setCurrentWidget(window.reportView());
    QVERIFY(window.reportView()->toPlainText().contains(QStringLiteral("GB 50010-2010")));

    // 另存为 through its file dialog.
    const QString path = dir.filePath(QStringLiteral("住宅"));
    ModalDriver driver;
    driver.then(ModalDriver::window<QFileDialog>(), [path](QWidget* widget) {
        auto* edit = widget->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(path);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    window.action(QStringLiteral("saveAs"))->trigger();
    QVERIFY(driver.allDone());
    QVERIFY(window.windowTitle().startsWith(QStringLiteral("住宅.tsn - ")));

    ProjectWindow reopened(nullptr, false);
    QCOMPARE(reopened.openFile(path + QStringLiteral(".tsn"), true), QString());
    QVERIFY(reopened.viewModel().project() == window.viewModel().project());

    QCOMPARE(reopened.exportBooksTo(dir.filePath(QStringLiteral("books"))), QString());
    QCOMPARE(reopened.exportDrawingsTo(dir.filePath(QStringLiteral("dxf"))), QString());
    QVERIFY(readAll(dir.filePath(QStringLiteral("books/KZ1-2.html")))
                .contains(QStringLiteral("某住宅楼")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("books/KZ2-4.html"))));
    QVERIFY(
        readAll(dir.filePath(QStringLiteral("dxf/KZ2-4.dxf"))).contains(QStringLiteral("SECTION")));

    // 导出 → 导出柱表 through its file dialog: both columns designed, so no message follows; the
    // sheet holds both marks and the HRB400 code of their bars.
    const QString schedule = dir.filePath(QStringLiteral("柱表.dxf"));
    driver.then(ModalDriver::window<QFileDialog>(), [schedule](QWidget* widget) {
        auto* edit = widget->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(schedule);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    window.action(QStringLiteral("exportSchedule"))->trigger();
    QVERIFY(driver.allDone());
    QVERIFY(driver.unexpected().isEmpty());
    QFile sheet(schedule);
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    const QByteArray bytes = sheet.readAll();
    for (const char* text : {"KZ1", "KZ2", "%%132"}) QVERIFY2(bytes.contains(text), text);
}

// A text that is no number: the message names the field, the value stays as it was.
void ProjectWindowTest::badFieldIsRefusedWithItsName() {
    ProjectWindow window(nullptr, false);
    QVERIFY(showActive(window));
    window.action(QStringLiteral("addColumn"))->trigger();
    typeInto(window.fieldWidget(ColumnField::H), QStringLiteral("6OO"));
    QCOMPARE(window.messageLabel()->text(), QStringLiteral("截面高度 h：“6OO” 不是数值"));
    QCOMPARE(qobject_cast<QLineEdit*>(window.fieldWidget(ColumnField::H))->text(),
             QStringLiteral("600"));
    // A value out of range is kept and marked.
    typeInto(window.fieldWidget(ColumnField::Cover), QStringLiteral("80"));
    QVERIFY(window.messageLabel()->text().contains(QStringLiteral("15～75mm")));
    QVERIFY(!window.fieldWidget(ColumnField::Cover)->toolTip().isEmpty());
    // A paste with a bad cell: nothing pasted, the cell named.
    QTableView* grid = window.combinationGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::clipboard()->setText(QStringLiteral("1000\t2OO\t200\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(window.messageLabel()->text().contains(QStringLiteral("第1行第2列")));
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("0"));
    // F5 with the input error: the column is listed as such.
    QSignalSpy finished(&window, &ProjectWindow::designFinished);
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(finished.wait(20000));
    QCOMPARE(window.viewModel().row(0).status, std::string("输入有误"));
}

// State: a new column. Action: a whole analysis-program row pasted (N, M2x, M2y, the ratios, Vx,
// Vy, the kind), the stirrup steel picked by the keyboard. Expected: the grid shows the eight
// columns the view model names, the shears and the kind land in the combination, the steel in
// the column.
void ProjectWindowTest::shearsKindAndStirrupSteelFromTheKeyboard() {
    ProjectWindow window(nullptr, false);
    QVERIFY(showActive(window));
    window.action(QStringLiteral("addColumn"))->trigger();
    QTableView* grid = window.combinationGrid();
    QCOMPARE(grid->model()->columnCount(), 8);
    QCOMPARE(grid->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Vx (kN)"));
    QCOMPARE(grid->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("组合类别"));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::clipboard()->setText(QStringLiteral(
        "2500\t180\t95\t1\t1\t120\t45.5\t地震\r\n900\t60\t0\t1\t1\t0\t20\t非地震\r\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, 6).data().toString(), QStringLiteral("45.5"));
    QCOMPARE(grid->model()->index(0, 7).data().toString(), QStringLiteral("地震"));
    const LoadCombination& first = window.viewModel().project().columns[0].combinations[0];
    QCOMPARE(first.Vx, 120.0);
    QCOMPARE(first.kind, CombinationKind::Seismic);
    QCOMPARE(window.viewModel().project().columns[0].combinations[1].kind,
             CombinationKind::NonSeismic);

    // The kind is picked from a list: blank (unspecified), 地震, 非地震.
    grid->setCurrentIndex(grid->model()->index(1, 7));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* kinds = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(kinds != nullptr);
    QCOMPARE(kinds->count(), 3);
    QCOMPARE(kinds->currentText(), QStringLiteral("非地震"));
    kinds->setCurrentIndex(0);
    QTest::keyClick(kinds, Qt::Key_Return);
    QTRY_COMPARE(window.viewModel().project().columns[0].combinations[1].kind,
                 CombinationKind::Unspecified);

    auto* steel = qobject_cast<QComboBox*>(window.fieldWidget(ColumnField::StirrupSteel));
    QVERIFY(steel != nullptr);
    QCOMPARE(steel->currentText(), QStringLiteral("HRB400"));
    steel->setFocus();
    QTest::keyClick(steel, Qt::Key_Home);
    QTRY_COMPARE(window.viewModel().project().columns[0].column.stirrupSteel,
                 SteelGrade2010::HPB300);
}

void ProjectWindowTest::undoRedoFromTheKeyboard() {
    ProjectWindow window(nullptr, false);
    QVERIFY(showActive(window));
    QVERIFY(!window.action(QStringLiteral("undo"))->isEnabled());
    window.action(QStringLiteral("addColumn"))->trigger();
    typeInto(window.fieldWidget(ColumnField::B), QStringLiteral("650"));
    QVERIFY(window.action(QStringLiteral("undo"))->isEnabled());
    window.columnList()->setFocus();
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(qobject_cast<QLineEdit*>(window.fieldWidget(ColumnField::B))->text(),
             QStringLiteral("400"));
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(qobject_cast<QLineEdit*>(window.fieldWidget(ColumnField::B))->text(),
             QStringLiteral("650"));
    QVERIFY(!window.action(QStringLiteral("redo"))->isEnabled());
}

// The window remembers the last project, the recent files and its state; the 2002 dialog, which
// opens it from its context menu, writes no settings of its own.
void ProjectWindowTest::remembersTheLastProjectNotThe2002Dialog() {
    QTemporaryDir config;
    QVERIFY(config.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString path = config.filePath(QStringLiteral("kz.tsn"));
    {
        ProjectWindow window;
        window.action(QStringLiteral("addColumn"))->trigger();
        QCOMPARE(window.saveTo(path), QString());
        QVERIFY(window.close());
    }
    {
        MainDialog dialog;
        QVERIFY(showActive(dialog));
        dialog.showProjectWindow();
        ProjectWindow* opened = dialog.findChild<ProjectWindow*>();
        QVERIFY(opened != nullptr);
        QVERIFY(opened->isVisible());
        QCOMPARE(QString::fromStdString(opened->viewModel().path()), path);
        QCOMPARE(opened->viewModel().recentFiles(), std::vector<std::string>{path.toStdString()});
        QVERIFY(opened->close());
        dialog.reject();
    }
    // Only the project window's own file, with its keys.
    QStringList files;
    QDirIterator it(config.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(config.path()).relativeFilePath(it.next());
    files.sort();
    QCOMPARE(files,
             (QStringList{QStringLiteral("Tessarin/Tessarin.conf"), QStringLiteral("kz.tsn")}));
    QSettings settings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin"));
    QStringList keys = settings.allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{QStringLiteral("ProjectWindow/geometry"),
                                QStringLiteral("ProjectWindow/lastProject"),
                                QStringLiteral("ProjectWindow/recentFiles"),
                                QStringLiteral("ProjectWindow/state")}));
}

// A window destroyed while a field holds focus and a row is selected (the program ending after a
// design): the widgets dying after the window must not call back into it.
void ProjectWindowTest::destroyedWithAFieldBeingTyped() {
    auto* window = new ProjectWindow(nullptr, false);
    QVERIFY(showActive(*window));
    window->action(QStringLiteral("addColumn"))->trigger();
    window->action(QStringLiteral("addColumn"))->trigger();
    QSignalSpy finished(window, &ProjectWindow::designFinished);
    window->designAll();
    QVERIFY(finished.wait(20000));
    window->columnList()->selectRow(1);
    auto* edit = qobject_cast<QLineEdit*>(window->fieldWidget(ColumnField::B));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("5"));
    delete window;
}

// State: three columns following the project. Action: the project's 配筋参数 from the menu, a
// smallest middle bar of 13 typed and Enter pressed (refused: 13 is not a bar size), then 14 and
// Enter; the second column's own 配筋参数 with 采用工程的配筋参数 cleared and a step of 4.
// Expected: the refusal shown in the dialog, which stays open; the project's 14 carried to the
// columns that follow it; the second column marked （本柱） beside its button.
void ProjectWindowTest::barPreferencesOfTheProjectAndAColumn() {
    ProjectWindow window(nullptr, false);
    QVERIFY(showActive(window));
    for (int i = 0; i < 3; ++i) window.action(QStringLiteral("addColumn"))->trigger();
    QString refusal;
    bool openAfterRefusal = false;
    ModalDriver driver;
    driver.then(ModalDriver::window<BarPreferencesDialog>(), [&](QWidget* shown) {
        auto* dialog = qobject_cast<BarPreferencesDialog*>(shown);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("工程的配筋参数"));
        QVERIFY(dialog->followBox() == nullptr);
        typeInto(dialog->field(1), QStringLiteral("13"));
        QTest::keyClick(dialog->field(1), Qt::Key_Return);
        refusal = dialog->messageLabel()->text();
        openAfterRefusal = dialog->isVisible();
        typeInto(dialog->field(1), QStringLiteral("14"));
        QTest::keyClick(dialog->field(1), Qt::Key_Return);
    });
    window.action(QStringLiteral("projectPreferences"))->trigger();
    QVERIFY(driver.allDone());
    QVERIFY(driver.unexpected().isEmpty());
    QCOMPARE(refusal, QStringLiteral("最小中部筋直径：13 不是可用的钢筋直径"
                                     "（12、14、16、18、20、22、25、28、32、36、40）"));
    QVERIFY(openAfterRefusal);
    QCOMPARE(window.viewModel().preferenceText(PreferenceScope::Project, 1), std::string("14"));
    QCOMPARE(window.viewModel().undoText(), std::string("撤销 编辑 工程的配筋参数"));

    window.columnList()->selectRow(1);
    QCOMPARE(window.viewModel().preferenceText(PreferenceScope::Column, 1), std::string("14"));
    bool followShown = false;
    bool greyed = false;
    driver.then(ModalDriver::window<BarPreferencesDialog>(), [&](QWidget* shown) {
        auto* dialog = qobject_cast<BarPreferencesDialog*>(shown);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("KZ2 的配筋参数"));
        followShown = dialog->followBox()->isChecked();
        greyed = !dialog->field(2)->isEnabled();
        QTest::keyClick(dialog->followBox(), Qt::Key_Space);
        typeInto(dialog->field(2), QStringLiteral("4"));
        QTest::keyClick(dialog->field(2), Qt::Key_Return);
    });
    window.action(QStringLiteral("columnPreferences"))->trigger();
    QVERIFY(driver.allDone());
    QVERIFY(followShown);
    QVERIFY(greyed);
    QCOMPARE(window.viewModel().preferenceText(PreferenceScope::Column, 2), std::string("4"));
    QVERIFY(!window.viewModel().columnFollowsProject());
    QVERIFY(window.columnPreferencesLabel()->text().endsWith(
        QStringLiteral("级差≤4；b/h中部筋可不同；方柱四边相同（本柱）")));
    // Undone from the keyboard: the column follows the project again.
    QCOMPARE(window.viewModel().undoText(), std::string("撤销 编辑 KZ2 的配筋参数"));
    QVERIFY(showActive(window));
    window.columnList()->setFocus();
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window.viewModel().columnFollowsProject());
    QVERIFY(window.columnPreferencesLabel()->text().endsWith(QStringLiteral("（工程）")));

    // The column schedule as PDF through Qt's writer (the columns' N of 0 are input errors, so
    // the export says so, and the file is still written).
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("柱表.pdf"));
    QVERIFY(window.exportScheduleTo(pdf).contains(QStringLiteral("部分柱输入有误")));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
}

QTEST_MAIN(ProjectWindowTest)
#include "tst_project_window.moc"
