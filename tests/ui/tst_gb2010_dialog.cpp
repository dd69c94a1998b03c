// The current-code design dialog: opened from the main dialog at any time with its fields as the
// first combination, refusing bad input before anything is computed, and showing the design the
// engine chose (the numbers themselves are checked by the engine's tests).
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "report/gb2010_report.h"
#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/gb2010_dialog.h"
#include "ui/gb2010_view.h"

using namespace tessarin;

namespace {

void setCell(QTableWidget& table, int row, int column, const QString& text) {
    table.item(row, column)->setText(text);
}

// Types a name into the save dialog and presses Return, as the engineer saves.
ModalDriver::Step saveAs(const QString& name) {
    return [name](QWidget* widget) {
        auto* edit = widget->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

// A design that runs until it is asked to stop (20 s at most, so that a test that fails to stop
// it ends), then returns the full design of its input anyway, as an engine that finished just as
// "取消设计" was pressed would. Records the thread it ran on.
struct SlowDesign {
    std::thread::id thread;
    bool stopped = false;

    Gb2010Dialog::DesignFunction function() {
        return [this](const Gb2010Input& input, const std::stop_token& stop) {
            thread = std::this_thread::get_id();
            std::mutex mutex;
            std::condition_variable_any wake;
            std::unique_lock lock(mutex);
            stopped = wake.wait_for(lock, stop, std::chrono::seconds(20), [] { return false; }) ||
                      stop.stop_requested();
            return std::optional(designColumnWithStirrups(input.column, input.combinations));
        };
    }
};

// What the dialog shows while a design runs: the inputs and 设计 locked, the busy bar and
// "取消设计" offered.
void checkBusy(Gb2010Dialog& dialog) {
    QVERIFY(dialog.designRunning());
    QVERIFY(dialog.busyBar()->isVisible());
    QVERIFY(dialog.cancelButton()->isVisible());
    QVERIFY(dialog.cancelButton()->isEnabled());
    QVERIFY(!dialog.designButton()->isEnabled());
    QVERIFY(!dialog.field(Gb2010Field::B)->isEnabled());
    QVERIFY(!dialog.combinationsTable()->isEnabled());
    QVERIFY(dialog.summaryLabel()->text().startsWith(QStringLiteral("正在设计")));
}

// Nothing of a design is shown or can be exported.
void checkNoDesignShown(Gb2010Dialog& dialog) {
    QVERIFY(!dialog.lastDesign().has_value());
    QVERIFY(!dialog.drawingButton()->isEnabled());
    QVERIFY(!dialog.bookButton()->isEnabled());
    QVERIFY(dialog.exportBook().isEmpty());
    QCOMPARE(dialog.resultsTable()->rowCount(), 0);
    QVERIFY(dialog.reportBox()->toPlainText().isEmpty());
    QVERIFY(!dialog.sectionView()->layout().has_value());
}

}  // namespace

class Gb2010DialogTest : public QObject {
    Q_OBJECT

  private slots:
    void offeredAtAnyTime();
    void startsFromTheMainDialog();
    void designsAndShowsTheLayout();
    void refusesBadInput_data();
    void refusesBadInput();
    void combinationsAddAndRemove();
    void shearsKindsAndStirrups();
    void frameSupportingColumnsAndClearHeight();
    void drawingFailureIsReported();
    void exportsTheBook_data();
    void exportsTheBook();
    void designRunsOffTheWindowAndCancels();
    void closingDuringADesignCancelsIt();
    void failedDesignShowsNoEarlierResult();
    void summaryKeepsTheDialogFont();
};

void Gb2010DialogTest::offeredAtAnyTime() {
    MainDialog dialog;
    QStringList entries;
    QTimer::singleShot(50, &dialog, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
            if (action->isEnabled()) entries << action->text();
        }
        menu->close();
    });
    const QPoint background(5, dialog.height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    // Before any calculation: enabled, unlike the section check.
    QVERIFY(entries.contains(QStringLiteral("现行规范设计(&G)...")));
}

void Gb2010DialogTest::startsFromTheMainDialog() {
    MainDialog main;
    fieldOf(main, ControlId::N)->setText(QStringLiteral("1500"));
    fieldOf(main, ControlId::M0y)->setText(QStringLiteral("abc"));  // no number: start value
    listOf(main, ControlId::SteelList)->setCurrentIndex(0);         // HPB235 -> HPB300
    listOf(main, ControlId::ConcreteList)->setCurrentIndex(0);      // C15 -> C20
    Gb2010Dialog dialog(main.gb2010StartInput());
    QCOMPARE(dialog.field(Gb2010Field::L0)->text(), QStringLiteral("6000"));
    QCOMPARE(dialog.field(Gb2010Field::B)->text(), QStringLiteral("400"));
    QCOMPARE(dialog.field(Gb2010Field::H)->text(), QStringLiteral("600"));
    QVERIFY(dialog.field(Gb2010Field::Cover)->text().isEmpty());
    QCOMPARE(dialog.steelList()->currentText(), QStringLiteral("HPB300"));
    QCOMPARE(dialog.concreteList()->currentText(), QStringLiteral("C20"));
    QTableWidget& table = *dialog.combinationsTable();
    QCOMPARE(table.rowCount(), 1);
    // The shears start at 0 and the kind unspecified.
    const QStringList expected = {"1500", "244", "1", "120", "1", "0", "0"};
    for (int column = 0; column < Gb2010Dialog::kColKind; ++column) {
        QCOMPARE(table.item(0, column)->text(), expected[column]);
    }
    QCOMPARE(dialog.kindList(0)->currentText(), QStringLiteral("未指明"));
    QCOMPARE(dialog.stirrupSteelList()->currentText(), QStringLiteral("HRB400"));
}

void Gb2010DialogTest::designsAndShowsTheLayout() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    dialog.resize(1260, 780);
    QVERIFY(dialog.design());

    // What the engine designs for the same input is what the dialog shows.
    const std::optional<Gb2010Input> input = dialog.readInput();
    QVERIFY(input.has_value());
    const Gb2010Design expected = designGb2010(input->column, input->combinations);
    QVERIFY(expected.designed && expected.layout.has_value());
    QVERIFY(dialog.lastDesign().has_value());
    QCOMPARE(dialog.lastDesign()->layout->choice, expected.layout->choice);
    QVERIFY(dialog.summaryLabel()->text().startsWith(
        QString::fromStdString(layoutNotation(expected.layout->choice, expected.column.steel))));
    QCOMPARE(dialog.resultsTable()->rowCount(), 1);
    QVERIFY(dialog.drawingButton()->isEnabled());

    // The report: written beside Result.txt, never in its place, and shown.
    QVERIFY(QFile::exists(QDir(scratch.path()).filePath(QStringLiteral("Result-GB2010.txt"))));
    QVERIFY(!scratch.reportExists());
    // The report shown is the whole column's, with its stirrups.
    const ColumnWithStirrups whole = designColumnWithStirrups(input->column, input->combinations);
    QString text = QString::fromStdString(gb2010ReportText(whole));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(dialog.reportBox()->toPlainText(), text);
    QVERIFY(text.contains(QStringLiteral("---------------箍筋设计")));

    // Every bar is drawn; no label covers a bar.
    Gb2010SectionView& view = *dialog.sectionView();
    QCOMPARE(view.layout()->bars.size(), expected.layout->bars.size());
    const double scale = view.pixelsPerMillimetre();
    QVERIFY(scale > 0.0);
    for (const Gb2010SectionView::Label& label : view.labels()) {
        for (const PlacedBar& bar : view.layout()->bars) {
            const QPointF centre = view.toWidget(bar.u, bar.v);
            const double radius = bar.d / 2.0 * scale;
            const double dx =
                std::max({label.rect.left() - centre.x(), 0.0, centre.x() - label.rect.right()});
            const double dy =
                std::max({label.rect.top() - centre.y(), 0.0, centre.y() - label.rect.bottom()});
            QVERIFY2(std::hypot(dx, dy) > radius, qPrintable(label.text));
        }
    }
    // b across and h up, as the drawing has it: u (along h) runs up, v (along b) across, at one
    // scale; the axes are lettered as the report names them (x along h above the section, y
    // along b right of it), b is dimensioned below and h on the left.
    const double b = input->column.b, h = input->column.h;
    QVERIFY(std::fabs(view.toWidget(0.0, b / 2.0).x() - view.toWidget(0.0, -b / 2.0).x() -
                      b * scale) < 1e-9);
    QVERIFY(std::fabs(view.toWidget(-h / 2.0, 0.0).y() - view.toWidget(h / 2.0, 0.0).y() -
                      h * scale) < 1e-9);
    const QRectF outline(view.toWidget(h / 2.0, -b / 2.0), view.toWidget(-h / 2.0, b / 2.0));
    std::map<QString, QRectF> boxes;
    for (const Gb2010SectionView::Label& label : view.labels()) boxes[label.text] = label.rect;
    const QString across = QStringLiteral("b = %1").arg(b), along = QStringLiteral("h = %1").arg(h);
    QVERIFY(boxes.count(QStringLiteral("x")) == 1 && boxes.count(QStringLiteral("y")) == 1);
    QVERIFY(boxes.count(across) == 1 && boxes.count(along) == 1);
    QVERIFY(boxes[QStringLiteral("x")].bottom() < outline.top());
    QVERIFY(std::fabs(boxes[QStringLiteral("x")].right() - outline.center().x()) < 10.0);
    QVERIFY(boxes[QStringLiteral("y")].left() > outline.right());
    QVERIFY(std::fabs(boxes[QStringLiteral("y")].bottom() - outline.center().y()) < 10.0);
    QVERIFY(boxes[across].top() > outline.bottom());
    QVERIFY(boxes[along].right() < outline.left());
    // No two labels meet.
    const std::vector<Gb2010SectionView::Label> all = view.labels();
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            QVERIFY2(!all[i].rect.intersects(all[j].rect),
                     qPrintable(all[i].text + QStringLiteral(" / ") + all[j].text));
        }
    }
}

void Gb2010DialogTest::refusesBadInput_data() {
    QTest::addColumn<int>("field");  // a Gb2010Field, or -1 for the table's N cell
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // the beginning of the message

    QTest::newRow("cover below 15") << static_cast<int>(Gb2010Field::Cover) << "10"
                                    << "混凝土保护层厚度c";
    QTest::newRow("stirrup 20") << static_cast<int>(Gb2010Field::Stirrup) << "20"
                                << "箍筋直径应在6～16mm之间";
    QTest::newRow("l0 not a number") << static_cast<int>(Gb2010Field::L0) << "6 000"
                                     << "请输入一个数。";
    QTest::newRow("N of a combination zero") << -1 << "0"
                                             << "第1组荷载组合：轴向压力N";
    QTest::newRow("N cell not a number") << -1 << "1,5"
                                         << "请输入一个数。";
}

void Gb2010DialogTest::refusesBadInput() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    if (field >= 0) {
        dialog.field(static_cast<Gb2010Field>(field))->setText(typed);
    } else {
        setCell(*dialog.combinationsTable(), 0, Gb2010Dialog::kColN, typed);
    }
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(message), driver.answer(QMessageBox::Ok));
    QVERIFY(!dialog.design());
    QVERIFY(driver.allDone());
    QCOMPARE(driver.boxes().size(), 1);
    QVERIFY2(driver.boxes().front().text.startsWith(message),
             qPrintable(driver.boxes().front().text));
    // The field (or the table) that was refused has the focus; nothing was written or shown.
    QWidget* focus = field >= 0
                         ? static_cast<QWidget*>(dialog.field(static_cast<Gb2010Field>(field)))
                         : dialog.combinationsTable();
    QCOMPARE(dialog.focusWidget(), focus);
    QVERIFY(!QFile::exists(QDir(scratch.path()).filePath(QStringLiteral("Result-GB2010.txt"))));
    QVERIFY(dialog.reportBox()->toPlainText().isEmpty());
    QVERIFY(!dialog.lastDesign().has_value());
}

// The structure list offers the frame-supporting column with the report's words; grade 三 is
// refused for it with the focus on that list; a clear height is read into the design.
void Gb2010DialogTest::frameSupportingColumnsAndClearHeight() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    QComboBox* structure = dialog.structureList();
    QCOMPARE(structure->count(), 3);
    QCOMPARE(structure->itemText(1), QStringLiteral("框架-抗震墙等双重体系"));
    QCOMPARE(structure->itemText(2), QStringLiteral("部分框支抗震墙结构的框支柱"));
    dialog.seismicList()->setCurrentIndex(3);  // 三级
    structure->setCurrentIndex(2);
    ModalDriver driver;
    driver.then(
        ModalDriver::messageBox(QStringLiteral("部分框支抗震墙结构的框支柱抗震等级应为一级或二级")),
        driver.answer(QMessageBox::Ok));
    QVERIFY(!dialog.design());
    QVERIFY(driver.allDone());
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(structure));

    // Grade 二 with Hn = 2000: lambda = 2000 / (2 x 566) = 1.77, limit 0.70 - 0.05 = 0.65.
    dialog.seismicList()->setCurrentIndex(2);
    dialog.field(Gb2010Field::Hn)->setText(QStringLiteral("2000"));
    QVERIFY(dialog.design());
    QVERIFY(dialog.lastDesign().has_value());
    QCOMPARE(dialog.lastDesign()->column.hn, std::optional<double>(2000.0));
    QCOMPARE(dialog.lastDesign()->limits.axialRatio.value, 0.65);
    QVERIFY(dialog.reportBox()->toPlainText().contains(
        QStringLiteral("0.70 - 0.05(λ = 1.77 ≤ 2) = 0.65")));
}

// Vx, Vy and the kind of each combination and the stirrup steel reach the design; the picture
// draws the inner hoops and ties the stirrup has. Grade 二, Hn = 3000, the start-up loads as a
// seismic combination with Vx = 150 kN: N/(fcA) = 0.117 < 0.15, gammaRE = 0.75 (11.1.6).
void Gb2010DialogTest::shearsKindsAndStirrups() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    dialog.resize(1260, 780);
    QVERIFY(showActive(dialog));
    dialog.seismicList()->setCurrentIndex(2);
    dialog.field(Gb2010Field::Hn)->setText(QStringLiteral("3000"));
    dialog.stirrupSteelList()->setCurrentIndex(0);  // HPB300
    QTableWidget& table = *dialog.combinationsTable();
    setCell(table, 0, Gb2010Dialog::kColVx, QStringLiteral("150"));
    setCell(table, 0, Gb2010Dialog::kColVy, QStringLiteral("-60"));
    dialog.kindList(0)->setCurrentIndex(1);  // 地震组合
    // A copy keeps the kind.
    dialog.addCombination();
    QCOMPARE(dialog.kindList(1)->currentText(), QStringLiteral("地震组合"));
    dialog.kindList(1)->setCurrentIndex(2);
    const std::optional<Gb2010Input> input = dialog.readInput();
    QVERIFY(input.has_value());
    QCOMPARE(input->combinations[0].Vx, 150.0);
    QCOMPARE(input->combinations[0].Vy, -60.0);
    QCOMPARE(input->combinations[0].kind, CombinationKind::Seismic);
    QCOMPARE(input->combinations[1].kind, CombinationKind::NonSeismic);
    QCOMPARE(input->column.stirrupSteel, SteelGrade2010::HPB300);

    QVERIFY(dialog.design());
    const std::optional<ColumnWithStirrups>& whole = dialog.lastColumn();
    QVERIFY(whole.has_value() && whole->stirrups.has_value());
    QCOMPARE(whole->longitudinal.combinations[0].gammaRE, 0.75);
    QCOMPARE(whole->longitudinal.combinations[1].gammaRE, 1.0);
    const StirrupDesign& s = *whole->stirrups;
    QVERIFY(s.designed);
    QVERIFY(QString::fromStdString(stirrupNotation(s.column.stirrupSteel, s.choice))
                .startsWith(QLatin1Char('A')));
    QVERIFY(dialog.summaryLabel()->text().contains(QStringLiteral("箍筋 A")));
    QCOMPARE(dialog.resultsTable()->item(0, 9)->text(), QStringLiteral("0.75"));
    // Every leg beyond the outer hoop's two in each direction is drawn: a hoop gives two, a tie
    // one.
    int legs = 0;
    for (const SectionDrawing::StirrupPiece& piece : dialog.sectionView()->innerStirrups()) {
        legs += piece.closed ? 2 : 1;
    }
    QCOMPARE(legs, s.choice.legsX + s.choice.legsY - 4);
    QVERIFY(legs > 0);
}

void Gb2010DialogTest::combinationsAddAndRemove() {
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QTableWidget& table = *dialog.combinationsTable();
    dialog.addCombination();
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.item(1, Gb2010Dialog::kColN)->text(), QStringLiteral("400"));
    setCell(table, 1, Gb2010Dialog::kColN, QStringLiteral("2500"));
    const std::optional<Gb2010Input> input = dialog.readInput();
    QVERIFY(input.has_value());
    QCOMPARE(input->combinations.size(), std::size_t{2});
    QCOMPARE(input->combinations[1].N, 2500.0);
    // The main dialog's combination stays; another one can go.
    table.setCurrentCell(0, 0);
    dialog.removeCombination();
    QCOMPARE(table.rowCount(), 2);
    table.setCurrentCell(1, 0);
    dialog.removeCombination();
    QCOMPARE(table.rowCount(), 1);
}

void Gb2010DialogTest::drawingFailureIsReported() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(dialog.design());
    const QString directory = scratch.path();  // a directory is no file to write
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("无法写入截面图文件")),
                driver.answer(QMessageBox::Ok));
    QVERIFY(!dialog.exportDrawing(directory));
    QCOMPARE(driver.boxes().size(), 1);
    QVERIFY(driver.boxes().front().text.contains(directory));
    QVERIFY(driver.boxes().front().text.contains(QStringLiteral("原因：")));
    const QString good = QDir(directory).filePath(QStringLiteral("KZ.dxf"));
    QVERIFY(dialog.exportDrawing(good));
    QVERIFY(QFile(good).size() > 0);
}

void Gb2010DialogTest::exportsTheBook_data() {
    QTest::addColumn<QString>("M2x");  // the first combination's M2x
    QTest::addColumn<QString>("needed");
    // The start-up column's layout, and 2000 kN·m that no layout the rules allow carries.
    QTest::newRow("designed") << "244"
                              << "选用配筋：角筋 4C20；b边每侧 3C16；h边每侧 2C16";
    QTest::newRow("no layout") << "2000"
                               << "无可行的配筋方案：即使采用构造允许的最大配筋";
}

void Gb2010DialogTest::exportsTheBook() {
    QFETCH(QString, M2x);
    QFETCH(QString, needed);
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    // Nothing designed yet: the button is off and no file dialog opens.
    QVERIFY(!dialog.bookButton()->isEnabled());
    QVERIFY(dialog.exportBook().isEmpty());
    setCell(*dialog.combinationsTable(), 0, Gb2010Dialog::kColM2x, M2x);
    QVERIFY(dialog.design());
    QVERIFY(dialog.bookButton()->isEnabled());
    QCOMPARE(dialog.bookButton()->text(), QStringLiteral("导出计算书…"));

    ModalDriver driver;
    driver.then(ModalDriver::window<QFileDialog>(), saveAs(QStringLiteral("kz1.html")));
    const QString path = dialog.exportBook();
    QVERIFY(driver.allDone());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("kz1.html"));
    QFile book(QDir(scratch.path()).filePath(QStringLiteral("kz1.html")));
    QVERIFY(book.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(book.readAll());
    QVERIFY2(html.contains(needed), qPrintable(needed));
    // The book beside the current-code report, nothing else: no Result.txt, no temporary file.
    QStringList files = QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, QStringList({QStringLiteral("Result-GB2010.txt"), QStringLiteral("kz1.html")}));
}

void Gb2010DialogTest::designRunsOffTheWindowAndCancels() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    QVERIFY(dialog.design());
    const QString reportPath = QDir(scratch.path()).filePath(QStringLiteral("Result-GB2010.txt"));
    QFile report(reportPath);
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray before = report.readAll();
    report.close();
    QVERIFY(!dialog.busyBar()->isVisible());
    QVERIFY(!dialog.cancelButton()->isVisible());

    SlowDesign slow;
    dialog.setDesignFunction(slow.function());
    bool checked = false;
    QTimer::singleShot(50, &dialog, [&] {
        checkBusy(dialog);
        checked = true;
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    QVERIFY(!dialog.design());
    QVERIFY(checked);
    QVERIFY(slow.stopped);
    QVERIFY(slow.thread != std::this_thread::get_id());
    // The design the worker still returned is dropped; the report file is left as it was.
    checkNoDesignShown(dialog);
    QCOMPARE(dialog.summaryLabel()->text(), QStringLiteral("设计已取消，未得到结果。"));
    QVERIFY(!dialog.designRunning());
    QVERIFY(!dialog.busyBar()->isVisible());
    QVERIFY(!dialog.cancelButton()->isVisible());
    QVERIFY(dialog.designButton()->isEnabled());
    QVERIFY(dialog.field(Gb2010Field::B)->isEnabled());
    QVERIFY(report.open(QIODevice::ReadOnly));
    QCOMPARE(report.readAll(), before);
}

void Gb2010DialogTest::closingDuringADesignCancelsIt() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    SlowDesign slow;
    dialog.setDesignFunction(slow.function());
    QTimer::singleShot(50, &dialog, [&] { dialog.close(); });
    QVERIFY(!dialog.design());
    QVERIFY(slow.stopped);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.lastDesign().has_value());
    QVERIFY(!QFile::exists(QDir(scratch.path()).filePath(QStringLiteral("Result-GB2010.txt"))));
}

// After a 设计 that fails (an input refused) the design before it is neither shown nor exported:
// it no longer matches the inputs.
void Gb2010DialogTest::failedDesignShowsNoEarlierResult() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    QVERIFY(dialog.design());
    QVERIFY(dialog.bookButton()->isEnabled());
    dialog.field(Gb2010Field::Cover)->setText(QStringLiteral("10"));
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("混凝土保护层厚度c")),
                driver.answer(QMessageBox::Ok));
    QVERIFY(!dialog.design());
    QVERIFY(driver.allDone());
    checkNoDesignShown(dialog);
    QVERIFY2(dialog.summaryLabel()->text().startsWith(QStringLiteral("未设计：混凝土保护层厚度c")),
             qPrintable(dialog.summaryLabel()->text()));
}

// The summary keeps the dialog's font after a design without a layout (its text red) and after
// the next one with a layout (its text in the dialog's colour again).
void Gb2010DialogTest::summaryKeepsTheDialogFont() {
    ScratchDirectory scratch;
    MainDialog main;
    Gb2010Dialog dialog(main.gb2010StartInput());
    QVERIFY(showActive(dialog));
    const QFont font = dialog.font();
    setCell(*dialog.combinationsTable(), 0, Gb2010Dialog::kColM2x, QStringLiteral("2000"));
    QVERIFY(dialog.design());
    QVERIFY(!dialog.lastDesign()->designed);
    QLabel& summary = *dialog.summaryLabel();
    QCOMPARE(summary.font().family(), font.family());
    QCOMPARE(summary.font().pointSizeF(), font.pointSizeF());
    QCOMPARE(summary.palette().color(QPalette::WindowText), QColor(0xb0, 0x00, 0x00));
    setCell(*dialog.combinationsTable(), 0, Gb2010Dialog::kColM2x, QStringLiteral("244"));
    QVERIFY(dialog.design());
    QVERIFY(dialog.lastDesign()->designed);
    QCOMPARE(summary.font().family(), font.family());
    QCOMPARE(summary.font().pointSizeF(), font.pointSizeF());
    QCOMPARE(summary.palette().color(QPalette::WindowText),
             dialog.palette().color(QPalette::WindowText));
}

QTEST_MAIN(Gb2010DialogTest)
#include "tst_gb2010_dialog.moc"
