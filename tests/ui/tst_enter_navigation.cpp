// Enter in the two dialogs that type numbers: in an edit field it moves on like Tab and presses
// nothing; on a list or a button it keeps its standard meaning.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/enter_navigation.h"
#include "views/dialog_templates.h"

using namespace tessarin;

class TestEnterNavigation : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }

    void enterInFieldMovesOn_data();
    void enterInFieldMovesOn();
    void enterOnControl_data();
    void enterOnControl();
    void altEnterIsNotTaken();
    void schemeDialogEnterChain();
    void schemeDialogEnterOnList();
    void ruleNeedsEditFieldAndDefaultButton();
};

void TestEnterNavigation::enterInFieldMovesOn_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int enter = Qt::Key_Return;
    const int none = Qt::NoModifier;
    QTest::newRow("1000 -> 1001") << 1000 << 1001 << enter << none;
    QTest::newRow("1001 -> 1002") << 1001 << 1002 << enter << none;
    QTest::newRow("1002 -> 1003") << 1002 << 1003 << enter << none;
    QTest::newRow("1003 -> 1004") << 1003 << 1004 << enter << none;
    QTest::newRow("1004 -> 1005") << 1004 << 1005 << enter << none;
    QTest::newRow("1005 -> 1006") << 1005 << 1006 << enter << none;
    QTest::newRow("1006 -> 1007") << 1006 << 1007 << enter << none;
    QTest::newRow("1007 -> concrete list") << 1007 << 1008 << enter << none;
    QTest::newRow("Shift+Enter moves forward") << 1003 << 1004 << enter << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Enter") << 1000 << 1001 << enter << int(Qt::ControlModifier);
    QTest::newRow("keypad Enter") << 1005 << 1006 << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestEnterNavigation::enterInFieldMovesOn() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QLineEdit* field = fieldOf(dialog, static_cast<ControlId>(from));
    field->setFocus();
    const QString before = field->text();
    ModalDriver driver;  // no step: any dialog that opens is a failure
    QTest::keyClick(field, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(controlNumberOf(dialog, QApplication::focusWidget()), to);
    if (auto* next = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        QCOMPARE(next->selectedText(), next->text());
    }
    QCOMPARE(field->text(), before);
    QCOMPARE(driver.unexpected(), QStringList());
    QVERIFY(!scratch.reportExists());
    QVERIFY(dialog.isVisible());
}

// Enter where the rule does not apply: a closed list, the result box and the calculate button
// run the calculation through the default button; the exit and explanation buttons are pressed.
void TestEnterNavigation::enterOnControl_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("effect");
    QTest::newRow("concrete list") << 1008 << "calculate";
    QTest::newRow("steel list") << 1009 << "calculate";
    QTest::newRow("calculate button") << 1010 << "calculate";
    QTest::newRow("result box") << 1015 << "calculate";
    QTest::newRow("exit button") << 2 << "exit";
    QTest::newRow("explanation button") << 1012 << "diagram";
}

void TestEnterNavigation::enterOnControl() {
    QFETCH(int, control);
    QFETCH(QString, effect);
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QWidget* target = dialog.control(static_cast<ControlId>(control));
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    QWidget* opened = nullptr;
    ModalDriver driver;
    const auto accept = [&opened](QWidget* widget) {
        opened = widget;
        qobject_cast<QDialog*>(widget)->accept();
    };
    if (effect == "calculate") {
        driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), accept);
    } else if (effect == "diagram") {
        driver.then(ModalDriver::window<PrincipleDiagramDialog>(), accept);
    }
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(driver.unexpected(), QStringList());
    if (effect == "calculate") {
        QCOMPARE(opened, &dialog.schemeDialog());
        QVERIFY(scratch.reportExists());
        QVERIFY(!qobject_cast<QPlainTextEdit*>(dialog.control(ControlId::ResultBox))
                     ->toPlainText()
                     .isEmpty());
    } else if (effect == "diagram") {
        QCOMPARE(opened, &dialog.diagramDialog());
        QVERIFY(!scratch.reportExists());
    } else {
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!scratch.reportExists());
    }
}

void TestEnterNavigation::altEnterIsNotTaken() {
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QLineEdit* field = fieldOf(dialog, ControlId::B);
    field->setFocus();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier);
    QVERIFY(!advanceOnEnter(dialog, field, &key));
    QCOMPARE(QApplication::focusWidget(), field);
}

// Under scheme 2: Enter in 1019 reaches 1020, then the OK button, then confirms the dialog.
void TestEnterNavigation::schemeDialogEnterChain() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(showActive(dialog));
    auto* ratioX = qobject_cast<QLineEdit*>(dialog.control(1019));
    auto* ratioY = qobject_cast<QLineEdit*>(dialog.control(1020));
    QTest::mouseClick(dialog.control(1017), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), ratioX);
    ratioX->setText(QStringLiteral("0.3"));
    QTest::keyClick(ratioX, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ratioY);
    QCOMPARE(ratioY->selectedText(), ratioY->text());
    QVERIFY(dialog.isVisible());
    QTest::keyClicks(ratioY, QStringLiteral("0.25"));  // replaces the selected text
    QTest::keyClick(ratioY, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), dialog.control(kIdOk));
    QVERIFY(dialog.isVisible());
    QTest::keyClick(dialog.control(kIdOk), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ratioX(), 0.3);
    QCOMPARE(dialog.ratioY(), 0.25);
}

void TestEnterNavigation::schemeDialogEnterOnList() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(showActive(dialog));
    auto* list = qobject_cast<QComboBox*>(dialog.control(1018));
    list->setFocus();
    list->setCurrentIndex(10);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.diameter(), 40.0);
}

void TestEnterNavigation::ruleNeedsEditFieldAndDefaultButton() {
    MainDialog main;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QVERIFY(advanceOnEnter(main, main.control(ControlId::L0), &enter));
    QVERIFY(!advanceOnEnter(main, main.control(ControlId::L0), &letter));
    QVERIFY(!advanceOnEnter(main, main.control(ControlId::L0), &release));
    QVERIFY(!advanceOnEnter(main, main.control(ControlId::ResultBox), &enter));
    QVERIFY(!advanceOnEnter(main, main.control(ControlId::ConcreteList), &enter));
    QVERIFY(!advanceOnEnter(main, nullptr, &enter));

    // A dialog without a default button keeps the standard Enter, even in an edit field.
    QDialog plain;
    auto* edit = new QLineEdit(&plain);
    new QLineEdit(&plain);
    QVERIFY(!advanceOnEnter(plain, edit, &enter));
    auto* button = new QPushButton(QStringLiteral("OK"), &plain);
    button->setDefault(true);
    QVERIFY(advanceOnEnter(plain, edit, &enter));
}

QTEST_MAIN(TestEnterNavigation)
#include "tst_enter_navigation.moc"
