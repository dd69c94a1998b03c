// The main dialog as it opens and its field exchange: start values, lists, captions, tab order,
// window shape, how it ends, the validation messages and the not-a-number message.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"

using namespace tessarin;

class TestMainDialog : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }

    void startValues_data();
    void startValues();
    void gradeLists();
    void captions_data();
    void captions();
    void windowShape();
    void tabOrderFollowsTemplate();
    void endsWith_data();
    void endsWith();

    void validationMessage_data();
    void validationMessage();
    void moduleQuestion_data();
    void moduleQuestion();
    void notANumberStopsExchange_data();
    void notANumberStopsExchange();
    void exponentFormIsANumber();
};

void TestMainDialog::startValues_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("l0") << 1000 << "6000";
    QTest::newRow("b") << 1001 << "400";
    QTest::newRow("h") << 1002 << "600";
    QTest::newRow("M0x") << 1003 << "244";
    QTest::newRow("M0y") << 1004 << "120";
    QTest::newRow("N") << 1005 << "400";
    QTest::newRow("ax") << 1006 << "40";
    QTest::newRow("ay") << 1007 << "40";
}

void TestMainDialog::startValues() {
    QFETCH(int, control);
    QFETCH(QString, text);
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QCOMPARE(fieldOf(dialog, static_cast<ControlId>(control))->text(), text);
    QCOMPARE(QApplication::focusWidget(), dialog.control(ControlId::L0));
    auto* result = qobject_cast<QPlainTextEdit*>(dialog.control(ControlId::ResultBox));
    QVERIFY(result != nullptr);
    QVERIFY(result->toPlainText().isEmpty());
    QVERIFY(result->isReadOnly());
}

void TestMainDialog::gradeLists() {
    MainDialog dialog;
    QComboBox* concrete = listOf(dialog, ControlId::ConcreteList);
    QComboBox* steel = listOf(dialog, ControlId::SteelList);
    const QStringList concreteGrades = {"C15", "C20", "C25", "C30", "C35", "C40", "C45",
                                        "C50", "C55", "C60", "C65", "C70", "C75", "C80"};
    QCOMPARE(concrete->count(), 14);
    for (int i = 0; i < concrete->count(); ++i) QCOMPARE(concrete->itemText(i), concreteGrades[i]);
    QCOMPARE(concrete->currentText(), QStringLiteral("C30"));
    QCOMPARE(concrete->itemText(13), QStringLiteral("C80"));
    QCOMPARE(steel->count(), 3);
    QCOMPARE(steel->itemText(0), QStringLiteral("HPB235"));
    QCOMPARE(steel->itemText(1), QStringLiteral("HRB335"));
    QCOMPARE(steel->itemText(2), QStringLiteral("HRB400"));
    QCOMPARE(steel->currentText(), QStringLiteral("HRB400"));
    QVERIFY(!concrete->isEditable());
    QVERIFY(!steel->isEditable());
}

void TestMainDialog::captions_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    for (const char* label :
         {"计算长度l0(mm)", "截面宽度 b(mm)", "截面高度 h(mm)", "在X轴方向的弯矩M0x(kN.m)",
          "在Y轴方向的弯矩M0y(kN.m)", "轴力N(kN)", "混凝土强度等级", "钢筋强度等级",
          "钢筋Asx的合力点至截面近边的距离ax(mm)", "钢筋Asy的合力点至截面近边的距离ay(mm)"}) {
        QTest::newRow(label) << "label" << QString::fromUtf8(label);
    }
    for (const char* frame : {"柱相关尺寸", "材料", "柱截面受力", "计算结果"}) {
        QTest::newRow(frame) << "frame" << QString::fromUtf8(frame);
    }
    for (const char* button : {"计算", "退出", "说明"}) {
        QTest::newRow(button) << "button" << QString::fromUtf8(button);
    }
}

void TestMainDialog::captions() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    MainDialog dialog;
    int found = 0;
    if (kind == "label") {
        for (auto* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            found += label->text() == caption;
    } else if (kind == "frame") {
        for (auto* frame : dialog.findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            found += frame->title() == caption;
    } else {
        for (auto* button : dialog.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
            found += button->text() == caption;
    }
    QCOMPARE(found, 1);
}

void TestMainDialog::windowShape() {
    MainDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("双向偏心受压矩形柱(beta1.0,2002.9.7)"));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!dialog.windowIcon().isNull());
    auto* calculate = qobject_cast<QPushButton*>(dialog.control(ControlId::Calculate));
    QVERIFY(calculate->isDefault());
    QVERIFY(!qobject_cast<QPushButton*>(dialog.control(ControlId::Exit))->isDefault());
}

void TestMainDialog::tabOrderFollowsTemplate() {
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    const QList<int> expected = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                 1008, 1009, 1010, 2,    1012, 1015, 1000};
    QList<int> visited = {controlNumberOf(dialog, QApplication::focusWidget())};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << controlNumberOf(dialog, QApplication::focusWidget());
    }
    QCOMPARE(visited, expected);
}

void TestMainDialog::endsWith_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape in a field") << "escape";
    QTest::newRow("exit button") << "exit";
    QTest::newRow("close box") << "close";
}

void TestMainDialog::endsWith() {
    QFETCH(QString, how);
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    if (how == "escape") {
        QTest::keyClick(fieldOf(dialog, ControlId::M0x), Qt::Key_Escape);
    } else if (how == "exit") {
        QTest::mouseClick(dialog.control(ControlId::Exit), Qt::LeftButton);
    } else {
        dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// Each failing check: its message, caption and icon, the field that gets the focus, and nothing
// computed or written.
void TestMainDialog::validationMessage_data() {
    QTest::addColumn<QList<int>>("controls");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("focus");
    QTest::newRow("l0 zero") << QList<int>{1000} << QStringList{"0"} << "柱计算长度度应为大于零的数"
                             << "错误" << 1000;
    QTest::newRow("height before width") << QList<int>{1002, 1001} << QStringList{"0", "0"}
                                         << "柱截面高度应为大于零的数,\n请重新输入。"
                                         << "请注意" << 1002;
    QTest::newRow("b zero") << QList<int>{1001} << QStringList{"0"}
                            << "柱截面宽度应为大于零的数,\n请重新输入。"
                            << "请注意" << 1001;
    QTest::newRow("M0x zero") << QList<int>{1003} << QStringList{"0"}
                              << "双向偏心受压M0x应为大于零的数"
                              << "错误" << 1003;
    QTest::newRow("M0y zero") << QList<int>{1004} << QStringList{"0"}
                              << "双向偏心受压M0y应为大于零的数"
                              << "错误" << 1004;
    QTest::newRow("N negative") << QList<int>{1005} << QStringList{"-10"}
                                << "双向偏心受压N应为大于零的数"
                                << "错误" << 1005;
    QTest::newRow("ax and ay zero: ax only")
        << QList<int>{1006, 1007} << QStringList{"0", "0"} << "钢筋合力点位置应为为大于零的数"
        << "错误" << 1006;
    QTest::newRow("ay zero") << QList<int>{1007} << QStringList{"0"}
                             << "钢筋合力点位置应为为大于零的数"
                             << "错误" << 1007;
}

void TestMainDialog::validationMessage() {
    QFETCH(QList<int>, controls);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(int, focus);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    for (int i = 0; i < controls.size(); ++i) {
        fieldOf(dialog, static_cast<ControlId>(controls[i]))->setText(texts[i]);
    }
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(message), driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::InputRejected);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(driver.boxes().size(), 1);
    const SeenBox box = driver.boxes().front();
    QCOMPARE(box.text, message);
    QCOMPARE(box.caption, caption);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // The dialog's focus widget: what has the keyboard focus once the dialog is active again.
    QCOMPARE(controlNumberOf(dialog, dialog.focusWidget()), focus);
    // The fields keep what was typed; nothing is computed or written.
    QCOMPARE(fieldOf(dialog, static_cast<ControlId>(controls[0]))->text(), texts[0]);
    QVERIFY(!scratch.reportExists());
}

void TestMainDialog::moduleQuestion_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("answerYes");
    const QString below = "柱截面边长在800mm以下，宜取50mm为模数,\n是否修改数据?";
    const QString above = "柱截面边长在800mm以上，宜取100mm为模数,\n是否修改数据?";
    QTest::newRow("h 620, Yes") << 1002 << "620" << below << true;
    QTest::newRow("h 620, No") << 1002 << "620" << below << false;
    QTest::newRow("h 950, Yes") << 1002 << "950" << above << true;
    QTest::newRow("b 850, Yes") << 1001 << "850" << above << true;
    QTest::newRow("b 430, No") << 1001 << "430" << below << false;
}

void TestMainDialog::moduleQuestion() {
    QFETCH(int, control);
    QFETCH(QString, value);
    QFETCH(QString, question);
    QFETCH(bool, answerYes);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    fieldOf(dialog, static_cast<ControlId>(control))->setText(value);
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(question),
                driver.answer(answerYes ? QMessageBox::Yes : QMessageBox::No));
    if (!answerYes) {  // the run goes on to the scheme question
        driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    }
    const RunOutcome outcome = dialog.calculate();
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    const SeenBox box = driver.boxes().front();
    QCOMPARE(box.caption, QStringLiteral("提示"));
    QCOMPARE(box.text, question);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    if (answerYes) {
        QCOMPARE(outcome, RunOutcome::InputRejected);
        QCOMPARE(controlNumberOf(dialog, dialog.focusWidget()), control);
        QVERIFY(!scratch.reportExists());
    } else {
        QCOMPARE(outcome, RunOutcome::Done);
        const QString echo = control == 1002 ? "柱截面高度(mm)：h  = " : "柱截面宽度(mm)：b  = ";
        QVERIFY(scratch.reportText().contains(echo + value + ".000000\n"));
    }
}

// A field that holds no number: the platform's message naming nothing but the program, the focus
// on that field with its text selected, the fields before it in the exchange taken, the rest
// keeping their values, and nothing computed.
void TestMainDialog::notANumberStopsExchange_data() {
    QTest::addColumn<int>("badControl");
    QTest::addColumn<QString>("badText");
    QTest::addColumn<QList<double>>("expected");  // l0 b h M0x M0y N ax ay after the exchange
    // New numbers everywhere else: 1003 is exchanged first, so nothing is taken.
    QTest::newRow("1003 first in the exchange")
        << 1003 << "abc" << QList<double>{6000, 400, 600, 244, 120, 400, 40, 40};
    // 1005 is exchanged last: the seven others take their new values.
    QTest::newRow("1005 last in the exchange")
        << 1005 << "4oo" << QList<double>{7000, 450, 650, 250, 130, 400, 45, 35};
    // 1000 comes after 1003, 1006, 1007, 1001 and 1002.
    QTest::newRow("1000 in the middle")
        << 1000 << "" << QList<double>{6000, 450, 650, 250, 120, 400, 45, 35};
    QTest::newRow("decimal comma is no number")
        << 1004 << "1,5" << QList<double>{7000, 450, 650, 250, 120, 400, 45, 35};
}

void TestMainDialog::notANumberStopsExchange() {
    QFETCH(int, badControl);
    QFETCH(QString, badText);
    QFETCH(QList<double>, expected);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    const QStringList newValues = {"7000", "450", "650", "250", "130", "420", "45", "35"};
    for (int i = 0; i < 8; ++i) {
        fieldOf(dialog, static_cast<ControlId>(1000 + i))->setText(newValues[i]);
    }
    QLineEdit* bad = fieldOf(dialog, static_cast<ControlId>(badControl));
    bad->setText(badText);
    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("请输入一个数。")),
                driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::FieldRejected);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(driver.boxes().size(), 1);
    QCOMPARE(driver.boxes().front().caption, QStringLiteral("tessarin"));
    QCOMPARE(driver.boxes().front().icon, QMessageBox::Warning);
    QVERIFY(!driver.boxes().front().text.isEmpty());
    QCOMPARE(dialog.focusWidget(), bad);
    QCOMPARE(bad->selectedText(), badText);
    QCOMPARE(bad->text(), badText);

    const DesignInput& in = dialog.session().input;
    const QList<double> actual = {in.l0, in.b, in.h, in.M0x, in.M0y, in.N, in.ax, in.ay};
    QCOMPARE(actual, expected);
    QVERIFY(!scratch.reportExists());
}

void TestMainDialog::exponentFormIsANumber() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    fieldOf(dialog, ControlId::L0)->setText(QStringLiteral(" 6e3\t"));
    DesignInput input;
    input.l0 = 0.0;
    QVERIFY(dialog.exchangeFields(input));
    QCOMPARE(input.l0, 6000.0);
    QCOMPARE(fieldOf(dialog, ControlId::L0)->text(), QStringLiteral(" 6e3\t"));
}

QTEST_MAIN(TestMainDialog)
#include "tst_main_dialog.moc"
