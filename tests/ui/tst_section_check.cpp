// The section check in the desktop program: offered once a design has been calculated (context
// menu or F2), never on its own, and drawn to scale with the demand where it belongs.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPolygonF>
#include <QTest>
#include <cmath>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/section_check_dialog.h"
#include "ui/section_check_view.h"

using namespace tessarin;

namespace {

// Opens the main dialog's context menu and records its entries and which are enabled.
QList<QPair<QString, bool>> contextMenuEntries(MainDialog& dialog) {
    QList<QPair<QString, bool>> entries;
    QTimer::singleShot(50, &dialog, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions())
            entries << qMakePair(action->text(), action->isEnabled());
        menu->close();
    });
    const QPoint background(5, dialog.height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    return entries;
}

struct SeenCheck {
    QString title;
    QString utilisation;
    QString style;
    QString details;
    QString model;
};

ModalDriver::Step recordCheck(SeenCheck& seen) {
    return [&seen](QWidget* widget) {
        seen.title = widget->windowTitle();
        if (auto* label = widget->findChild<QLabel*>(QStringLiteral("utilisation"))) {
            seen.utilisation = label->text();
            seen.style = label->styleSheet();
        }
        if (auto* label = widget->findChild<QLabel*>(QStringLiteral("details"))) {
            seen.details = label->text();
        }
        if (auto* label = widget->findChild<QLabel*>(QStringLiteral("model"))) {
            seen.model = label->text();
        }
        qobject_cast<QDialog*>(widget)->reject();
    };
}

// A result with the given utilisation and nothing else, for the texts alone.
SectionCheckResult resultWith(double utilisation, bool exceeded = false) {
    SectionCheckResult r;
    r.utilisation = utilisation;
    r.axialCapacityExceeded = exceeded;
    r.b = 400.0;
    r.h = 600.0;
    return r;
}

// The check of the start-up design as the desktop program calculates it (OK in the scheme dialog).
SectionCheckResult startUpCheck() {
    ScratchDirectory scratch;
    MainDialog dialog;
    ModalDriver driver;
    driver.then(ModalDriver::accept());
    if (dialog.calculate() != RunOutcome::Done) return {};
    return SectionCheck(*dialog.session().design).run();
}

}  // namespace

class TestSectionCheck : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("tessarin")); }
    void offeredOnlyAfterACalculation();
    void f2ShowsTheStartUpCheck();
    void failedReportWithdrawsTheCheck();
    void utilisationTexts_data();
    void utilisationTexts();
    void sectionIsDrawnToScale();
    void demandLiesInsideItsContour();
};

void TestSectionCheck::offeredOnlyAfterACalculation() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QCOMPARE(dialog.sectionCheckAvailable(), false);
    const auto before = contextMenuEntries(dialog);
    QCOMPARE(before.size(), 2);
    QCOMPARE(before[0].first, QStringLiteral("关于 Tessarin(&A)..."));
    QCOMPARE(before[1].first, QStringLiteral("截面验算(&C)..."));
    QCOMPARE(before[1].second, false);
    // F2 before any calculation opens nothing.
    {
        ModalDriver driver;
        QTest::keyClick(fieldOf(dialog, ControlId::L0), Qt::Key_F2);
        QTest::qWait(100);
        QCOMPARE(driver.unexpected(), QStringList());
    }
    ModalDriver driver;
    driver.then(ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QVERIFY(dialog.sectionCheckAvailable());
    QVERIFY(showActive(dialog));
    const auto after = contextMenuEntries(dialog);
    QCOMPARE(after.size(), 2);
    QCOMPARE(after[1].second, true);
}

void TestSectionCheck::f2ShowsTheStartUpCheck() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    SeenCheck seen;
    ModalDriver driver;
    driver.then(ModalDriver::accept()).then(recordCheck(seen));
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(showActive(dialog));
    const QString reportBefore = scratch.reportText();
    QTest::keyClick(fieldOf(dialog, ControlId::L0), Qt::Key_F2);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(seen.title, QStringLiteral("截面验算"));
    // The start-up design passes (utilisation below 1, shown green).
    QVERIFY2(seen.utilisation.startsWith(QStringLiteral("利用率 0.")),
             qPrintable(seen.utilisation));
    QVERIFY(seen.style.contains(QStringLiteral("#106010")));
    // Demand: N etaX eix = 400 * 1.0634920634920635 * 630 / 1000 = 268.00 kN*m and
    // N etaY eiy = 400 * 1.1808035714285714 * 320 / 1000 = 151.14 kN*m.
    QVERIFY2(
        seen.details.contains(QStringLiteral("N = 400.0 kN，Mx = 268.00 kN·m，My = 151.14 kN·m")),
        qPrintable(seen.details));
    // N0 = 14.3 (240000 - 3671.0553) + 360 * 3671.0553 = 4701083.8 N.
    QVERIFY2(seen.details.contains(QStringLiteral("N0 = 4701.1 kN")), qPrintable(seen.details));
    // Steel ratio: 3671.0553 / 240000 = 1.53 %.
    QVERIFY(seen.details.contains(QStringLiteral("全部 1.53%")));
    QVERIFY(seen.model.contains(QStringLiteral("εcu = 0.00330")));
    // Nothing is written by the check.
    QCOMPARE(scratch.reportText(), reportBefore);
}

void TestSectionCheck::failedReportWithdrawsTheCheck() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::accept()).then(driver.answer(QMessageBox::Ok));
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(dialog.sectionCheckAvailable());
    QVERIFY(QFile::remove(QDir(scratch.path()).filePath(QStringLiteral("Result.txt"))));
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("Result.txt")));
    QCOMPARE(dialog.calculate(), RunOutcome::FileFailed);
    QVERIFY(driver.allDone());
    QCOMPARE(dialog.sectionCheckAvailable(), false);
}

void TestSectionCheck::utilisationTexts_data() {
    QTest::addColumn<double>("utilisation");
    QTest::addColumn<bool>("exceeded");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");
    QTest::newRow("passes") << 0.933 << false << "利用率 0.93" << false;
    QTest::newRow("exactly one passes") << 1.0 << false << "利用率 1.00" << false;
    QTest::newRow("just above one fails") << 1.004 << false << "利用率 1.00" << true;
    QTest::newRow("fails") << 1.2 << false << "利用率 1.20" << true;
    QTest::newRow("axial capacity exceeded")
        << std::numeric_limits<double>::infinity() << true << "利用率 ∞" << true;
}

void TestSectionCheck::utilisationTexts() {
    QFETCH(double, utilisation);
    QFETCH(bool, exceeded);
    QFETCH(QString, text);
    QFETCH(bool, red);
    SectionCheckDialog dialog(resultWith(utilisation, exceeded));
    QCOMPARE(dialog.utilisationLabel()->text(), text);
    QCOMPARE(dialog.utilisationLabel()->styleSheet().contains(QStringLiteral("#c00000")), red);
    if (exceeded) {
        QVERIFY(SectionCheckDialog::detailLines(dialog.result())
                    .contains(QStringLiteral("轴力超过截面轴压承载力，截面不能再承受弯矩")));
    }
}

void TestSectionCheck::sectionIsDrawnToScale() {
    SectionCheckDialog check(startUpCheck());
    QVERIFY(!check.result().contour.empty());
    check.resize(900, 600);
    check.show();
    QVERIFY(QTest::qWaitForWindowExposed(&check));
    const SectionView& view = *check.sectionView();
    const double scale = view.pixelsPerMillimetre();
    QVERIFY(scale > 0.0);
    // Corner bars at u = +-(600/2 - 40) = +-260 and v = +-(400/2 - 40) = +-160 mm: 520 by 320 mm
    // apart, drawn at one scale in both directions.
    const QPointF a = view.toWidget(-260.0, -160.0);
    const QPointF b = view.toWidget(260.0, 160.0);
    QCOMPARE(std::round((b.x() - a.x()) / scale), 520.0);
    QCOMPARE(std::round((a.y() - b.y()) / scale), 320.0);
    // The whole section fits the view.
    const QPointF corner = view.toWidget(300.0, 200.0);
    QVERIFY(view.rect().contains(corner.toPoint()));
    QVERIFY(view.rect().contains(view.toWidget(-300.0, -200.0).toPoint()));
}

void TestSectionCheck::demandLiesInsideItsContour() {
    SectionCheckDialog check(startUpCheck());
    QVERIFY(!check.result().contour.empty());
    check.resize(900, 600);
    check.show();
    QVERIFY(QTest::qWaitForWindowExposed(&check));
    const InteractionView& view = *check.interactionView();
    const SectionCheckResult& r = check.result();
    QPolygonF contour;
    for (const ContourPoint& p : r.contour) contour << view.toWidget(p.MxR, p.MyR);
    const QPointF demand = view.toWidget(r.Mx, r.My);
    QVERIFY(r.utilisation < 1.0);
    QVERIFY(contour.containsPoint(demand, Qt::OddEvenFill));
    // Scaled up by 1 / utilisation the demand reaches the contour: just outside beyond it.
    const double beyond = 1.02 / r.utilisation;
    QVERIFY(!contour.containsPoint(view.toWidget(r.Mx * beyond, r.My * beyond), Qt::OddEvenFill));
    const double within = 0.98 / r.utilisation;
    QVERIFY(contour.containsPoint(view.toWidget(r.Mx * within, r.My * within), Qt::OddEvenFill));
    // The whole contour is on screen.
    for (const QPointF& p : contour) QVERIFY(view.rect().contains(p.toPoint()));
}

QTEST_MAIN(TestSectionCheck)
#include "tst_section_check.moc"
