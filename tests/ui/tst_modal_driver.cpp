// The modal driver of the dialog tests: each step waits for its own window, whatever else is on
// top while the event loop runs, and a window that no step waits for is refused and closed.
#include <QDialog>
#include <QMessageBox>
#include <QTest>

#include "tests/ui/modal_driver.h"

using namespace tessarin;

class TestModalDriver : public QObject {
    Q_OBJECT

  private slots:
    void waitsForItsWindow_data();
    void waitsForItsWindow();
};

void TestModalDriver::waitsForItsWindow_data() {
    QTest::addColumn<QStringList>("opened");    // the texts of the boxes opened, in order
    QTest::addColumn<QStringList>("expected");  // the texts the steps wait for
    QTest::addColumn<QStringList>("answered");  // the boxes the steps answered
    QTest::addColumn<QStringList>("refused");   // driver.unexpected()
    // The flaky case: once the box is answered, the test's own modal dialog is on top again while
    // the event loop still runs; it is the test's, not a dialog that opened unexpectedly.
    QTest::newRow("the test's own dialog on top after its box")
        << QStringList{"a"} << QStringList{"a"} << QStringList{"a"} << QStringList{};
    QTest::newRow("a box with another text first")
        << QStringList{"b", "a"} << QStringList{"a"} << QStringList{"a"}
        << QStringList{"t: b (waiting for QMessageBox \"a\")"};
    QTest::newRow("a box with no step left")
        << QStringList{"a", "b"} << QStringList{"a"} << QStringList{"a"} << QStringList{"t: b"};
}

void TestModalDriver::waitsForItsWindow() {
    QFETCH(QStringList, opened);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, answered);
    QFETCH(QStringList, refused);
    QDialog own;
    own.setModal(true);
    own.show();
    QVERIFY(QTest::qWaitForWindowExposed(&own));
    ModalDriver driver;
    for (const QString& text : expected) {
        driver.then(ModalDriver::messageBox(text), driver.answer(QMessageBox::Ok));
    }
    for (const QString& text : opened) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), text, QMessageBox::Ok, &own);
        box.exec();
    }
    QTest::qWait(100);  // the driver polls with the test's dialog on top
    QVERIFY(driver.allDone());
    QStringList seen;
    for (const SeenBox& box : driver.boxes()) seen << box.text;
    QCOMPARE(seen, answered);
    QCOMPARE(driver.unexpected(), refused);
    QVERIFY(own.isVisible());
}

QTEST_MAIN(TestModalDriver)
#include "tst_modal_driver.moc"
