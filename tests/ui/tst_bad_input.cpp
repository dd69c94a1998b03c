// The bad-input matrix of the dialog fields: every text typed into a field either runs as typed,
// or is rejected with nothing computed from it and Result.txt and the result box as they were.
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"

using namespace tessarin;

class TestBadInput : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }
    void typedLength_data();
    void typedLength();
};

void TestBadInput::typedLength_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("outcome");  // "no number", "check" (the length check) or "runs"
    QTest::addColumn<double>("l0");        // the length taken, for "runs" and "check"
    QTest::newRow("empty") << ""
                           << "no number" << 0.0;
    QTest::newRow("blank") << " "
                           << "no number" << 0.0;
    QTest::newRow("letters") << "abc"
                             << "no number" << 0.0;
    QTest::newRow("decimal comma") << "1,5"
                                   << "no number" << 0.0;
    QTest::newRow("two points") << "1.5.2"
                                << "no number" << 0.0;
    QTest::newRow("overflow") << "1e999"
                              << "no number" << 0.0;
    QTest::newRow("negative overflow") << "-1e999"
                                       << "no number" << 0.0;
    QTest::newRow("underflow reads as zero") << "1e-400"
                                             << "check" << 0.0;
    QTest::newRow("inf") << "inf"
                         << "no number" << 0.0;
    QTest::newRow("nan") << "nan"
                         << "no number" << 0.0;
    QTest::newRow("hex") << "0x10"
                         << "no number" << 0.0;
    QTest::newRow("plus sign") << "+5"
                               << "runs" << 5.0;
    QTest::newRow("blanks around") << " 6000 "
                                   << "runs" << 6000.0;
    QTest::newRow("leading tab") << "\t6000"
                                 << "runs" << 6000.0;
    QTest::newRow("exponent") << "6e3"
                              << "runs" << 6000.0;
    QTest::newRow("negative zero") << "-0"
                                   << "check" << 0.0;
    QTest::newRow("full-width digits") << QStringLiteral("６０００") << "no number" << 0.0;
    QTest::newRow("ten thousand digits") << QString(10000, QLatin1Char('7')) << "no number" << 0.0;
}

void TestBadInput::typedLength() {
    QFETCH(QString, typed);
    QFETCH(QString, outcome);
    QFETCH(double, l0);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    {
        QFile earlier(QStringLiteral("Result.txt"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
    }
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    auto* resultBox = qobject_cast<QPlainTextEdit*>(dialog.control(ControlId::ResultBox));
    resultBox->setPlainText(QStringLiteral("earlier result"));
    QLineEdit* field = fieldOf(dialog, ControlId::L0);
    field->setText(typed);

    ModalDriver driver;
    if (outcome == "runs") {
        driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    } else if (outcome == "no number") {
        driver.then(ModalDriver::messageBox(QStringLiteral("请输入一个数。")),
                    driver.answer(QMessageBox::Ok));
    } else {
        driver.then(ModalDriver::messageBox(QStringLiteral("柱计算长度度应为大于零的数")),
                    driver.answer(QMessageBox::Ok));
    }
    const RunOutcome result = dialog.calculate();
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(field->text(), typed);  // the field keeps what was typed

    if (outcome == "runs") {
        QCOMPARE(result, RunOutcome::Done);
        QCOMPARE(dialog.session().input.l0, l0);
        QCOMPARE(resultBox->toPlainText(), scratch.reportText());
        return;
    }
    QCOMPARE(driver.boxes().size(), 1);
    if (outcome == "no number") {
        QCOMPARE(result, RunOutcome::FieldRejected);
        QCOMPARE(driver.boxes().front().caption, QStringLiteral("tessarin"));
        QCOMPARE(dialog.session().input.l0, 6000.0);  // nothing taken from the text
    } else {
        QCOMPARE(result, RunOutcome::InputRejected);
        QCOMPARE(driver.boxes().front().text, QStringLiteral("柱计算长度度应为大于零的数"));
        QCOMPARE(dialog.session().input.l0, l0);
    }
    QCOMPARE(dialog.focusWidget(), field);
    QCOMPARE(resultBox->toPlainText(), QStringLiteral("earlier result"));
    QFile after(QStringLiteral("Result.txt"));
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), QByteArray("earlier report"));
}

QTEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
