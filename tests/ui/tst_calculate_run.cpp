// The whole calculate command through the main dialog: the scheme question answered in its
// different ways, the report in the result box and on disk, the arrangement kept between runs,
// a second run with other grades, and the failures that leave everything as it was.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "engine/column_calculator.h"
#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "text/number_text.h"

using namespace tessarin;

namespace {

QString resultBoxText(const MainDialog& dialog) {
    return qobject_cast<QPlainTextEdit*>(dialog.control(ControlId::ResultBox))->toPlainText();
}

// Scheme 2 with the given ratios in the scheme dialog, the list untouched.
ModalDriver::Step chooseScheme2(const QString& ratioX, const QString& ratioY) {
    return [ratioX, ratioY](QWidget* widget) {
        auto* dialog = qobject_cast<ReinforcementSchemeDialog*>(widget);
        if (dialog == nullptr) return;
        qobject_cast<QRadioButton*>(dialog->control(idOf(ControlId::Scheme2)))->click();
        qobject_cast<QLineEdit*>(dialog->control(idOf(ControlId::RatioX)))->setText(ratioX);
        qobject_cast<QLineEdit*>(dialog->control(idOf(ControlId::RatioY)))->setText(ratioY);
        dialog->accept();
    };
}

QString line(const char* label, double value) {
    return QString::fromUtf8(label) + QString::fromStdString(formatFixed(value));
}

// Scheme 2 by hand from the worked example's step-1 values and web coefficients:
// D = 1 - cY*cX*ratioX*ratioY*4, Asx = (Asex - 2*cX*ratioY*Asey)/D,
// Asy = (Asey - 2*cY*Asex*ratioX)/D, Aswx = Asx*ratioX, Aswy = Asy*ratioY.
QStringList scheme2Lines(double ratioX, double ratioY) {
    const double asex = 1652.756706539872;
    const double asey = 1462.0413210487427;
    const double cX = 0.25134328358208957;
    const double cY = 0.23614366729678637;
    const double d = 1 - (((cY * cX) * ratioX) * ratioY) * 4;
    const double asx = (asex - 2 * ((cX * ratioY) * asey)) / d;
    const double asy = (asey - 2 * ((cY * asex) * ratioX)) / d;
    return {line("布置在垂直于X轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswx=", asx * ratioX),
            line("布置在垂直于Y轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswy=", asy * ratioY),
            line("布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=", asx),
            line("布置在垂直于Y轴两对边的单边纵向钢筋面积(mm*mm)：Asy=", asy)};
}

}  // namespace

class TestCalculateRun : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }

    void schemeQuestion_data();
    void schemeQuestion();
    void declinedSchemeKeepsLastChoice();
    void secondRunWithOtherGrades();
    void rejectedInputLeavesLastReport_data();
    void rejectedInputLeavesLastReport();
    void reportFileFailureStopsRun();
    void messageKinds_data();
    void messageKinds();
    void nonConvergenceWarnsAfterTheReport();
    void nonFiniteResultIsNotOfferedForTheCheck();
};

void TestCalculateRun::schemeQuestion_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("scheme");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QStringList>("step2Lines");
    QTest::newRow("OK at once: scheme 1, 22 mm")
        << "ok" << 1 << 22.0
        << QStringList{"选用第 1 钢筋布置方案",
                       "角部钢筋面积(mm*mm)：Asc=380.132705",
                       "布置在垂直于X轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswx=707.745633",
                       "布置在垂直于Y轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswy=367.516613",
                       "布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=1468.011042",
                       "布置在垂直于Y轴两对边的单边纵向钢筋面积(mm*mm)：Asy=1127.782023"};
    QTest::newRow("Escape: scheme 1, 20 mm")
        << "escape" << 1 << 20.0
        << QStringList{"选用第 1 钢筋布置方案",
                       "角部钢筋面积(mm*mm)：Asc=314.159260",
                       "布置在垂直于X轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswx=793.793411",
                       "布置在垂直于Y轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswy=458.824227",
                       "布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=1422.111931",
                       "布置在垂直于Y轴两对边的单边纵向钢筋面积(mm*mm)：Asy=1087.142747"};
    QTest::newRow("scheme 2, 0.5 and 0.5")
        << "0.5 0.5" << 2 << 22.0
        << QStringList{"选用第 2 钢筋布置方案",
                       "布置在垂直于X轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswx=683.190724",
                       "布置在垂直于Y轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswy=569.689497",
                       "布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=1366.381449",
                       "布置在垂直于Y轴两对边的单边纵向钢筋面积(mm*mm)：Asy=1139.378995",
                       "(选用钢筋的时候注意选用相同直径的钢筋)"};
    QTest::newRow("scheme 2, 0.3 and 0.25")
        << "0.3 0.25" << 2 << 22.0
        << (QStringList{"选用第 2 钢筋布置方案"} + scheme2Lines(0.3, 0.25) +
            QStringList{"(选用钢筋的时候注意选用相同直径的钢筋)"});
}

void TestCalculateRun::schemeQuestion() {
    QFETCH(QString, answer);
    QFETCH(int, scheme);
    QFETCH(double, diameter);
    QFETCH(QStringList, step2Lines);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    const ModalDriver::Expected schemeDialog = ModalDriver::window<ReinforcementSchemeDialog>();
    if (answer == "ok") {
        driver.then(schemeDialog, ModalDriver::accept());
    } else if (answer == "escape") {
        driver.then(schemeDialog, ModalDriver::pressEscape());
    } else {
        const QStringList ratios = answer.split(' ');
        driver.then(schemeDialog, chooseScheme2(ratios[0], ratios[1]));
    }
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());

    const ReinforcementScheme& kept = dialog.session().scheme;
    QCOMPARE(codeOf(kept.scheme), scheme);
    QCOMPARE(kept.diameter, diameter);

    // The result box shows the report file's text, both sections.
    const QString shown = resultBoxText(dialog);
    QCOMPARE(shown, scratch.reportText());
    for (const char* expected : kStartupStep1Lines) {
        QVERIFY2(shown.contains(QString::fromUtf8(expected) + "\n"), expected);
    }
    const QString step1End = "============step1:等效钢筋面积计算完毕============\n\n";
    const QString step2 = shown.mid(shown.indexOf(step1End) + step1End.size());
    QString expectedStep2;
    for (int i = 0; i < step2Lines.size(); ++i) {
        expectedStep2 += step2Lines[i] + "\n";
        // Blank lines close the groups as the report lays them out.
        const bool groupEnd = i == 0 || step2Lines[i].contains("Asc=") ||
                              step2Lines[i].contains("Aswy=") || step2Lines[i].contains("Asy=") ||
                              step2Lines[i].startsWith("(");
        if (groupEnd) expectedStep2 += "\n";
    }
    expectedStep2 += "============step2:布置钢筋计算完毕============\n\n";
    QCOMPARE(step2, expectedStep2);
}

// Scheme 2 chosen once and the dialog declined in the next run: scheme 2 with the same ratios.
void TestCalculateRun::declinedSchemeKeepsLastChoice() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), chooseScheme2("0.5", "0.5"))
        .then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::pressEscape());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(dialog.session().scheme.scheme, Scheme::EqualDiameters);
    QCOMPARE(dialog.session().scheme.ratioX, 0.5);
    QCOMPARE(dialog.session().scheme.ratioY, 0.5);
    QVERIFY(resultBoxText(dialog).contains(
        "布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=1366.381449\n"));
}

void TestCalculateRun::secondRunWithOtherGrades() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    listOf(dialog, ControlId::ConcreteList)->setCurrentIndex(7);  // C50
    listOf(dialog, ControlId::SteelList)->setCurrentIndex(1);     // HRB335
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QCOMPARE(driver.unexpected(), QStringList());
    const QString shown = resultBoxText(dialog);
    QCOMPARE(shown, scratch.reportText());
    QVERIFY(shown.contains("混凝土强度等级：C50.000000\tfc=23.100000\n"));
    QVERIFY(shown.contains("钢筋强度等级：\t热轧钢筋HRB335\tfy=300.000000\n"));
    QVERIFY(!shown.contains("Asex=1652.756707"));
    QVERIFY(dialog.session().design.has_value());
    QCOMPARE(dialog.session().design->column.Es, 200000.0);
    QCOMPARE(dialog.session().input.concreteIndex, 7);
    QCOMPARE(dialog.session().input.steelIndex, 1);
}

void TestCalculateRun::rejectedInputLeavesLastReport_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("failed check") << 1000 << "0"
                                  << "柱计算长度度应为大于零的数";
    QTest::newRow("field with no number") << 1005 << "N"
                                          << "请输入一个数。";
}

void TestCalculateRun::rejectedInputLeavesLastReport() {
    QFETCH(int, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::messageBox(message), driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    const QString before = resultBoxText(dialog);
    const QString fileBefore = scratch.reportText();
    QVERIFY(!before.isEmpty());
    fieldOf(dialog, static_cast<ControlId>(control))->setText(text);
    fieldOf(dialog, ControlId::M0y)->setText(QStringLiteral("150"));
    QVERIFY(dialog.calculate() != RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(resultBoxText(dialog), before);
    QCOMPARE(scratch.reportText(), fileBefore);
}

// The report cannot be created (a directory stands in its place): the error box, and neither the
// scheme question nor a new text in the result box.
void TestCalculateRun::reportFileFailureStopsRun() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("Result.txt")));
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("Result.txt")),
                driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::FileFailed);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    const SeenBox box = driver.boxes().front();
    QCOMPARE(box.caption, QStringLiteral("错误"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.contains("Result.txt"), qPrintable(box.text));
    QVERIFY(!box.text.contains('\r'));
    QVERIFY(resultBoxText(dialog).isEmpty());
}

// The messages of the calculate command as boxes over the main dialog.
void TestCalculateRun::messageKinds_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("error") << int(MessageKind::Error) << int(QMessageBox::Critical)
                           << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                           << int(MessageAnswer::Ok);
    QTest::newRow("warning") << int(MessageKind::Warning) << int(QMessageBox::Warning)
                             << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                             << int(MessageAnswer::Ok);
    QTest::newRow("question, Yes") << int(MessageKind::Question) << int(QMessageBox::Warning)
                                   << int(QMessageBox::Yes | QMessageBox::No)
                                   << int(QMessageBox::Yes) << int(MessageAnswer::Yes);
    QTest::newRow("question, No") << int(MessageKind::Question) << int(QMessageBox::Warning)
                                  << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No)
                                  << int(MessageAnswer::No);
}

void TestCalculateRun::messageKinds() {
    QFETCH(int, kind);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(int, answer);
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("第一行")),
                driver.answer(static_cast<QMessageBox::StandardButton>(press)));
    const Message message{"第一行\r\n<b>第二行</b> &amp;", "标题", static_cast<MessageKind>(kind)};
    QCOMPARE(int(dialog.showMessage(message)), answer);
    QCOMPARE(driver.unexpected(), QStringList());
    const SeenBox box = driver.boxes().front();
    QCOMPARE(int(box.icon), icon);
    QCOMPARE(int(box.buttons), buttons);
    QCOMPARE(box.caption, QStringLiteral("标题"));
    // One line break for each CR LF; markup shown as typed.
    QCOMPARE(box.format, Qt::PlainText);
    QCOMPARE(box.text, QStringLiteral("第一行\n<b>第二行</b> &amp;"));
}

// The worked design that never settles (C65, b = h = 300, l0 3000, M0x 5, M0y 600, N 400): the
// report is shown first, then the exclamation box over the main dialog names the x direction.
void TestCalculateRun::nonConvergenceWarnsAfterTheReport() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    const QList<QPair<ControlId, QString>> typed = {{ControlId::L0, "3000"}, {ControlId::B, "300"},
                                                    {ControlId::H, "300"},   {ControlId::M0x, "5"},
                                                    {ControlId::M0y, "600"}, {ControlId::N, "400"}};
    for (const auto& [id, text] : typed) fieldOf(dialog, id)->setText(text);
    listOf(dialog, ControlId::ConcreteList)->setCurrentIndex(10);  // C65
    QString shownWhenWarned;
    ModalDriver driver;
    const ModalDriver::Step answerOk = driver.answer(QMessageBox::Ok);
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::messageBox(QStringLiteral("迭代未收敛")), [&](QWidget* box) {
            shownWhenWarned = resultBoxText(dialog);
            answerOk(box);
        });
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(shownWhenWarned, scratch.reportText());
    QVERIFY(!shownWhenWarned.isEmpty());
    QCOMPARE(driver.boxes().size(), 1);
    QCOMPARE(driver.boxes().front().caption, QStringLiteral("提示"));
    QCOMPARE(driver.boxes().front().icon, QMessageBox::Warning);
    QCOMPARE(driver.boxes().front().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(driver.boxes().front().text,
             QStringLiteral("X方向等效钢筋面积迭代未收敛,\n计算结果仅供参考,请检查输入数据。"));
    QVERIFY(dialog.session().design.has_value());
    QCOMPARE(dialog.session().design->step1.passesX, ColumnCalculator::kMaxPasses);
}

// l0 = 1e150 mm passes every check, but the slenderness squared overflows: after the report and
// the non-convergence box comes the box that says the result is not finite, and the section
// check (whose drawing needs finite numbers) is not offered.
void TestCalculateRun::nonFiniteResultIsNotOfferedForTheCheck() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    fieldOf(dialog, ControlId::L0)->setText(QStringLiteral("1e150"));
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::messageBox(QStringLiteral("迭代未收敛")), driver.answer(QMessageBox::Ok))
        .then(ModalDriver::messageBox(QStringLiteral("不是有限数值")),
              driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QVERIFY(!resultBoxText(dialog).isEmpty());
    QCOMPARE(driver.boxes().size(), 2);
    QCOMPARE(driver.boxes().back().caption, QStringLiteral("提示"));
    QCOMPARE(driver.boxes().back().icon, QMessageBox::Warning);
    QCOMPARE(driver.boxes().back().text,
             QStringLiteral("计算结果不是有限数值(超出数值范围),\n"
                            "计算结果无效,不能进行截面验算,请检查输入数据。"));
    QCOMPARE(dialog.sectionCheckAvailable(), false);
}

QTEST_MAIN(TestCalculateRun)
#include "tst_calculate_run.moc"
