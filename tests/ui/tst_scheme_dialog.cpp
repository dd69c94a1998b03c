// The reinforcement-scheme dialog: its state at every opening, the enable and focus rules of the
// two schemes, the diameter taken from the list, the ratio checks, and what its members keep
// between openings.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/reinforcement_scheme_dialog.h"
#include "views/dialog_templates.h"

using namespace tessarin;

namespace {

struct SchemeControls {
    explicit SchemeControls(const ReinforcementSchemeDialog& dialog)
        : ok(qobject_cast<QPushButton*>(dialog.control(kIdOk))),
          scheme1(qobject_cast<QRadioButton*>(dialog.control(1016))),
          scheme2(qobject_cast<QRadioButton*>(dialog.control(1017))),
          list(qobject_cast<QComboBox*>(dialog.control(1018))),
          ratioX(qobject_cast<QLineEdit*>(dialog.control(1019))),
          ratioY(qobject_cast<QLineEdit*>(dialog.control(1020))) {}
    QPushButton* ok;
    QRadioButton* scheme1;
    QRadioButton* scheme2;
    QComboBox* list;
    QLineEdit* ratioX;
    QLineEdit* ratioY;
};

// Opens the dialog as the calculate command does (the main dialog owns it) and waits until it is
// the active window.
bool open(ReinforcementSchemeDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

}  // namespace

class TestSchemeDialog : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }

    void firstOpening();
    void enableRules();
    void diameterFromList_data();
    void diameterFromList();
    void scheme2PersistsBetweenOpenings();
    void ratioRange_data();
    void ratioRange();
    void notANumberKeepsExchangedMembers();
    void invalidTextInDisabledField();
    void escapeExchangesNothing();
};

void TestSchemeDialog::firstOpening() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("配筋方案"));
    QVERIFY(c.scheme1->isChecked());
    QVERIFY(!c.scheme2->isChecked());
    QCOMPARE(c.scheme1->text(), QStringLiteral("选定角点钢筋"));
    QCOMPARE(c.scheme2->text(), QStringLiteral("选用相同直径的钢筋"));
    const QStringList diameters = {"12", "14", "16", "18", "20", "22",
                                   "25", "28", "32", "36", "40"};
    QCOMPARE(c.list->count(), diameters.size());
    for (int i = 0; i < diameters.size(); ++i) QCOMPARE(c.list->itemText(i), diameters[i]);
    QCOMPARE(c.list->currentText(), QStringLiteral("22"));
    QVERIFY(c.list->isEnabled());
    QVERIFY(!c.ratioX->isEnabled());
    QVERIFY(!c.ratioY->isEnabled());
    QCOMPARE(c.ratioX->text(), QStringLiteral("0"));
    QCOMPARE(c.ratioY->text(), QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), c.ok);
    QVERIFY(c.ok->isDefault());
    QVERIFY(!(c.scheme1->focusPolicy() & Qt::TabFocus));
    dialog.reject();
}

void TestSchemeDialog::enableRules() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);

    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    QVERIFY(c.scheme2->isChecked());
    QVERIFY(!c.list->isEnabled());
    QVERIFY(c.ratioX->isEnabled());
    QVERIFY(c.ratioY->isEnabled());
    QCOMPARE(QApplication::focusWidget(), c.ratioX);

    QTest::mouseClick(c.scheme1, Qt::LeftButton);
    QVERIFY(c.scheme1->isChecked());
    QVERIFY(c.list->isEnabled());
    QVERIFY(!c.ratioX->isEnabled());
    QVERIFY(!c.ratioY->isEnabled());
    QCOMPARE(QApplication::focusWidget(), c.list);

    // Clicking the checked button runs its rule again: the focus returns to the list.
    c.ok->setFocus();
    QTest::mouseClick(c.scheme1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), c.list);

    // Tab skips the radio buttons and the disabled ratio fields: OK, list, OK.
    c.ok->setFocus();
    QTest::keyClick(c.ok, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), c.list);
    QTest::keyClick(c.list, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), c.ok);
    dialog.reject();
}

void TestSchemeDialog::diameterFromList_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("scheme2");
    QTest::addColumn<double>("diameter");
    QTest::newRow("12") << 0 << false << 12.0;
    QTest::newRow("25") << 6 << false << 25.0;
    QTest::newRow("40") << 10 << false << 40.0;
    QTest::newRow("32 then scheme 2: the disabled list still counts") << 8 << true << 32.0;
}

void TestSchemeDialog::diameterFromList() {
    QFETCH(int, position);
    QFETCH(bool, scheme2);
    QFETCH(double, diameter);
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    c.list->setCurrentIndex(position);
    if (scheme2) QTest::mouseClick(c.scheme2, Qt::LeftButton);
    QTest::mouseClick(c.ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.diameter(), diameter);
    QCOMPARE(dialog.schemeIndex(), scheme2 ? 1 : 0);
    // The list opens at "22" again, whatever was confirmed.
    QVERIFY(open(dialog));
    QCOMPARE(c.list->currentText(), QStringLiteral("22"));
    dialog.reject();
}

void TestSchemeDialog::scheme2PersistsBetweenOpenings() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    c.ratioX->setText(QStringLiteral("0.3"));
    c.ratioY->setText(QStringLiteral("0.25"));
    QTest::mouseClick(c.ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.schemeIndex(), 1);
    QCOMPARE(dialog.ratioX(), 0.3);
    QCOMPARE(dialog.ratioY(), 0.25);
    QCOMPARE(dialog.diameter(), 22.0);

    // Next opening: scheme 2 checked, the ratios shown but disabled, the list enabled.
    QVERIFY(open(dialog));
    QVERIFY(c.scheme2->isChecked());
    QVERIFY(!c.scheme1->isChecked());
    QCOMPARE(c.ratioX->text(), QStringLiteral("0.3"));
    QCOMPARE(c.ratioY->text(), QStringLiteral("0.25"));
    QVERIFY(!c.ratioX->isEnabled());
    QVERIFY(!c.ratioY->isEnabled());
    QVERIFY(c.list->isEnabled());
    QCOMPARE(QApplication::focusWidget(), c.ok);
    QTest::keyClick(c.ok, Qt::Key_Return);  // OK at once confirms scheme 2 again
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const SchemeChoice choice = dialog.choice();
    QCOMPARE(choice.schemeIndex, 1);
    QCOMPARE(choice.ratioX, 0.3);
    QCOMPARE(choice.ratioY, 0.25);
}

void TestSchemeDialog::ratioRange_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<int>("rejected");  // 0: accepted; else the field that keeps the dialog open
    QTest::newRow("1.5 in 1019") << "1.5"
                                 << "0.2" << 1019;
    QTest::newRow("-0.1 in 1020") << "0.2"
                                  << "-0.1" << 1020;
    QTest::newRow("both bounds are valid") << "0"
                                           << "1" << 0;
    QTest::newRow("just above 1") << "1.0000001"
                                  << "0.5" << 1019;
}

void TestSchemeDialog::ratioRange() {
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(int, rejected);
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    c.ratioX->setText(x);
    c.ratioY->setText(y);
    ModalDriver driver;
    if (rejected != 0) {
        driver.then(ModalDriver::messageBox(QStringLiteral("请输入一个介于 0 和 1 之间的数。")),
                    driver.answer(QMessageBox::Ok));
    }
    dialog.accept();
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    if (rejected == 0) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ratioX(), 0.0);
        QCOMPARE(dialog.ratioY(), 1.0);
        return;
    }
    QVERIFY(dialog.isVisible());
    const SeenBox box = driver.boxes().front();
    QCOMPARE(box.caption, QStringLiteral("tessarin"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    // The range message names both bounds.
    QVERIFY2(box.text.contains(" 0 ") && box.text.contains(" 1 "), qPrintable(box.text));
    QLineEdit* field = rejected == 1019 ? c.ratioX : c.ratioY;
    QCOMPARE(dialog.focusWidget(), field);
    QCOMPARE(field->selectedText(), rejected == 1019 ? x : y);
    dialog.reject();
}

// A ratio that is no number in 1020 with a valid 1019: the radio position and ratioX are already
// taken when 1020 is refused; declining now keeps them for the next opening, while the main
// dialog's arrangement stays as it was.
void TestSchemeDialog::notANumberKeepsExchangedMembers() {
    ScratchDirectory scratch;
    QVERIFY(scratch.isValid());
    MainDialog main;
    QVERIFY(showActive(main));
    ModalDriver driver;
    driver
        .then(ModalDriver::window<ReinforcementSchemeDialog>(),
              [](QWidget* widget) {
                  auto* dialog = qobject_cast<ReinforcementSchemeDialog*>(widget);
                  const SchemeControls c(*dialog);
                  QTest::mouseClick(c.scheme2, Qt::LeftButton);
                  c.ratioX->setText(QStringLiteral("0.4"));
                  c.ratioY->setText(QStringLiteral("x"));
                  dialog->accept();  // the not-a-number message opens and is answered below
              })
        .then(ModalDriver::messageBox(QStringLiteral("请输入一个数。")),
              driver.answer(QMessageBox::Ok))
        .then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::pressEscape());
    QCOMPARE(main.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(driver.boxes().front().caption, QStringLiteral("tessarin"));
    const ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QCOMPARE(dialog.schemeIndex(), 1);
    QCOMPARE(dialog.ratioX(), 0.4);
    QCOMPARE(dialog.ratioY(), 0.0);
    QCOMPARE(main.session().scheme.scheme, Scheme::CornerBars);
    QCOMPARE(main.session().scheme.diameter, 20.0);
    QCOMPARE(main.session().scheme.ratioX, 0.0);
}

// Text typed under scheme 2 and left there after switching back to scheme 1 still blocks OK,
// though the field is disabled; choosing scheme 2 again lets it be corrected.
void TestSchemeDialog::invalidTextInDisabledField() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    c.ratioX->setText(QStringLiteral("abc"));
    QTest::mouseClick(c.scheme1, Qt::LeftButton);
    QVERIFY(!c.ratioX->isEnabled());

    ModalDriver driver;
    driver.then(ModalDriver::messageBox(QStringLiteral("请输入一个数。")),
                driver.answer(QMessageBox::Ok));
    QTest::mouseClick(c.ok, Qt::LeftButton);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.boxes().size(), 1);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.schemeIndex(), 0);

    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    QCOMPARE(dialog.focusWidget(), c.ratioX);
    c.ratioX->setText(QStringLiteral("0.5"));
    QTest::mouseClick(c.ok, Qt::LeftButton);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.schemeIndex(), 1);
    QCOMPARE(dialog.ratioX(), 0.5);
}

void TestSchemeDialog::escapeExchangesNothing() {
    MainDialog main;
    ReinforcementSchemeDialog& dialog = main.schemeDialog();
    QVERIFY(open(dialog));
    const SchemeControls c(dialog);
    QTest::mouseClick(c.scheme2, Qt::LeftButton);
    c.ratioX->setText(QStringLiteral("0.7"));
    c.list->setCurrentIndex(0);
    QTest::keyClick(c.ratioX, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.schemeIndex(), 0);
    QCOMPARE(dialog.ratioX(), 0.0);
    // The next opening shows the members, not what was typed.
    QVERIFY(open(dialog));
    QVERIFY(c.scheme1->isChecked());
    QCOMPARE(c.ratioX->text(), QStringLiteral("0"));
    dialog.reject();
}

QTEST_MAIN(TestSchemeDialog)
#include "tst_scheme_dialog.moc"
