// The calculation book from the desktop program: offered once a design is calculated, from the
// main dialog's context menu and from the section-check dialog, written where the file dialog
// says, and a book that cannot be written is a message box. Also the result box's fixed-width
// face, on which the report's columns depend.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "text/gbk_text.h"
#include "ui/book_export.h"
#include "ui/section_check_dialog.h"

using namespace tessarin;

namespace {

// Picks a file in the save dialog: the name typed, the filter chosen, then Save.
ModalDriver::Step saveAs(const QString& name, const QString& filterStart) {
    return [name, filterStart](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        QVERIFY(dialog != nullptr);
        for (const QString& filter : dialog->nameFilters()) {
            if (filter.startsWith(filterStart)) {
                dialog->selectNameFilter(filter);
                emit dialog->filterSelected(filter);
            }
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(name);
        // Save, as the engineer presses it (the dialog's accept() is its own business).
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

QString fileStart(const QString& path, qsizetype bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.read(bytes));
}

}  // namespace

class TestCalculationBook : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }
    void offeredOnceDesigned();
    void writesTheChosenFormat_data();
    void writesTheChosenFormat();
    void filterChangesTheSuggestedSuffix();
    void fromTheSectionCheck();
    void failureIsAMessageBox_data();
    void failureIsAMessageBox();
    void reportLinesOfEqualBytesAreEquallyWide();
};

void TestCalculationBook::offeredOnceDesigned() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(dialog.exportBook().isEmpty());  // nothing designed yet: no dialog opens
    const auto entry = [&dialog] {
        bool enabled = false, found = false;
        QTimer::singleShot(50, &dialog, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* action : menu->actions()) {
                if (action->text() == QStringLiteral("导出计算书…")) {
                    found = true;
                    enabled = action->isEnabled();
                }
            }
            menu->close();
        });
        const QPoint background(5, dialog.height() - 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, background,
                                dialog.mapToGlobal(background));
        QApplication::sendEvent(&dialog, &event);
        return std::pair{found, enabled};
    };
    QCOMPARE(entry(), std::pair(true, false));
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QCOMPARE(entry(), std::pair(true, true));
}

void TestCalculationBook::writesTheChosenFormat_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("start");
    QTest::newRow("html") << "kz1.html"
                          << "HTML"
                          << "kz1.html"
                          << "<!DOCTYPE html>";
    QTest::newRow("pdf") << "kz1.pdf"
                         << "PDF"
                         << "kz1.pdf"
                         << "%PDF-";
    // A name without a suffix takes the chosen filter's.
    QTest::newRow("pdf filter, no suffix") << "kz1"
                                           << "PDF"
                                           << "kz1.pdf"
                                           << "%PDF-";
    // A Word book is a ZIP package whose first entry is its content types.
    QTest::newRow("docx") << "kz1.docx"
                          << "HTML"
                          << "kz1.docx"
                          << "PK\x03\x04";
    QTest::newRow("word filter, no suffix") << "kz1"
                                            << "Word"
                                            << "kz1.docx"
                                            << "PK\x03\x04";
}

void TestCalculationBook::writesTheChosenFormat() {
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QString, start);
    ScratchDirectory scratch;
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    const QByteArray report = [] {
        QFile file(QStringLiteral("Result.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    driver.then(ModalDriver::window<QFileDialog>(), saveAs(typed, filter));
    const QString path = dialog.exportBook();
    QVERIFY(driver.allDone());
    QCOMPARE(QFileInfo(path).fileName(), written);
    QCOMPARE(fileStart(QDir(scratch.path()).filePath(written), start.size()), start);
    // The report file is not touched by a book, and no temporary file is left over.
    QFile file(QStringLiteral("Result.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), report);
    QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// The suggested name "计算书.html" follows the chosen filter: Word gives 计算书.docx, and Save
// then writes a Word book.
void TestCalculationBook::filterChangesTheSuggestedSuffix() {
    ScratchDirectory scratch;
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    driver.then(ModalDriver::window<QFileDialog>(), [](QWidget* widget) {
        auto* files = qobject_cast<QFileDialog*>(widget);
        QVERIFY(files != nullptr);
        auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QStringLiteral("计算书.html"));
        const auto choose = [files](const QString& start) {
            for (const QString& filter : files->nameFilters()) {
                if (!filter.startsWith(start)) continue;
                files->selectNameFilter(filter);
                emit files->filterSelected(filter);
            }
        };
        choose(QStringLiteral("PDF"));
        QCOMPARE(edit->text(), QStringLiteral("计算书.pdf"));
        choose(QStringLiteral("Word"));
        QCOMPARE(edit->text(), QStringLiteral("计算书.docx"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    const QString path = dialog.exportBook();
    QVERIFY(driver.allDone());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("计算书.docx"));
    QCOMPARE(fileStart(path, 4), QStringLiteral("PK\x03\x04"));
}

void TestCalculationBook::fromTheSectionCheck() {
    ScratchDirectory scratch;
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    // In the section-check dialog: the book button, then the file dialog, then close.
    driver
        .then(ModalDriver::window<SectionCheckDialog>(),
              [](QWidget* check) {
                  auto* button = check->findChild<QPushButton*>(QStringLiteral("exportBook"));
                  QVERIFY(button != nullptr);
                  QCOMPARE(button->text(), QStringLiteral("导出计算书…"));
                  QTimer::singleShot(0, button, &QPushButton::click);
              })
        .then(ModalDriver::window<QFileDialog>(),
              saveAs(QStringLiteral("checked.html"), QStringLiteral("HTML")));
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTimer::singleShot(1500, &dialog, [] {
            if (QWidget* w = QApplication::activeModalWidget()) qobject_cast<QDialog*>(w)->reject();
        });
    });
    dialog.showSectionCheck();
    QVERIFY(driver.allDone());
    QFile book(QDir(scratch.path()).filePath(QStringLiteral("checked.html")));
    QVERIFY(book.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(book.readAll());
    // The check's chapter and its contour: the utilisation 0.933 of the start-up design.
    QVERIFY(html.contains(QStringLiteral("截面验算（应变协调法）")));
    QVERIFY(html.contains(QStringLiteral("利用率 |M|/|MR| = 0.933")));
    QCOMPARE(html.count(QStringLiteral("<svg")), 2);
}

void TestCalculationBook::failureIsAMessageBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a directory") << "taken.html"
                                 << "Is a directory";
    QTest::newRow("a missing folder") << "missing/book.pdf"
                                      << "No such file or directory";
    QTest::newRow("a device") << "/dev/full"
                              << "not a regular file";
}

void TestCalculationBook::failureIsAMessageBox() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    ScratchDirectory scratch;
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("taken.html")));
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    driver.then(ModalDriver::messageBox(name), driver.answer(QMessageBox::Ok));
    QVERIFY(!saveCalculationBook(&dialog, Book{"t", {}, {}}, name));
    QCOMPARE(driver.boxes().size(), 1);
    const SeenBox& box = driver.boxes().constFirst();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.contains(name), qPrintable(box.text));
    QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    // Nothing else changed: the folder is as it was, nothing new beside the report.
    QVERIFY(QFileInfo(QStringLiteral("taken.html")).isDir());
    QCOMPARE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("Result.txt"), QStringLiteral("taken.html")}));
}

void TestCalculationBook::reportLinesOfEqualBytesAreEquallyWide() {
    ScratchDirectory scratch;
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    auto* box = qobject_cast<QPlainTextEdit*>(dialog.control(ControlId::ResultBox));
    const QFontMetricsF metrics(box->font());
    // Lines of the start-up report without TABs, grouped by their length in GBK bytes. The Greek
    // letters of the ζ and η lines are double-byte in GBK but narrower than two ASCII widths in
    // the Noto face, so those lines are left out.
    QMap<qsizetype, QStringList> byBytes;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.contains(QLatin1Char('\t')) ||
            line.contains(QStringLiteral("ζ")) || line.contains(QStringLiteral("η"))) {
            continue;
        }
        byBytes[static_cast<qsizetype>(utf8ToGbk(line.toStdString()).size())] << line;
    }
    // "============step1:等效钢筋面积计算完毕============" (24 + 6 ASCII, 10 Chinese) and
    // "柱截面在X轴方向的弯矩M0x(kN.m):   M0x = 244.000000" (10 Chinese, 30 ASCII): both 50 bytes.
    const QStringList fifty = byBytes.value(50);
    QVERIFY2(fifty.contains(QStringLiteral("============step1:等效钢筋面积计算完毕============")),
             qPrintable(fifty.join(QLatin1Char('|'))));
    QVERIFY(fifty.contains(QStringLiteral("柱截面在X轴方向的弯矩M0x(kN.m):   M0x = 244.000000")));
    int compared = 0;
    for (auto it = byBytes.cbegin(); it != byBytes.cend(); ++it) {
        for (const QString& line : it.value()) {
            QCOMPARE(metrics.horizontalAdvance(line),
                     metrics.horizontalAdvance(it.value().front()));
            ++compared;
        }
        // One GBK byte is one ASCII width.
        QCOMPARE(metrics.horizontalAdvance(it.value().front()),
                 static_cast<double>(it.key()) * metrics.horizontalAdvance(QLatin1Char('0')));
    }
    QVERIFY(compared > 20);
}

QTEST_MAIN(TestCalculationBook)
#include "tst_calculation_book.moc"
