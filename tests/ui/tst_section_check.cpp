// The section check in the desktop program: offered once a design has been calculated (context
// menu or F2), never on its own, and drawn to scale with the demand where it belongs.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPolygonF>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "engine/column_calculator.h"
#include "engine/section/section_check.h"
#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/dialog_template.h"
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
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
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
    void labelsClearOfBarsAndOutline_data();
    void labelsClearOfBarsAndOutline();
    void drawingEndsWhateverTheNumbers_data();
    void drawingEndsWhateverTheNumbers();
};

void TestSectionCheck::offeredOnlyAfterACalculation() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QCOMPARE(dialog.sectionCheckAvailable(), false);
    const auto before = contextMenuEntries(dialog);
    // About, the check, the calculation book, the current code, the project window
    QCOMPARE(before.size(), 5);
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
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept());
    QCOMPARE(dialog.calculate(), RunOutcome::Done);
    QVERIFY(driver.allDone());
    QVERIFY(dialog.sectionCheckAvailable());
    QVERIFY(showActive(dialog));
    const auto after = contextMenuEntries(dialog);
    QCOMPARE(after.size(), 5);
    QCOMPARE(after[1].second, true);
    QCOMPARE(after[2].second, true);  // the calculation book too
}

void TestSectionCheck::f2ShowsTheStartUpCheck() {
    ScratchDirectory scratch;
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    SeenCheck seen;
    ModalDriver driver;
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::window<SectionCheckDialog>(), recordCheck(seen));
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
    driver.then(ModalDriver::window<ReinforcementSchemeDialog>(), ModalDriver::accept())
        .then(ModalDriver::messageBox(QStringLiteral("Result.txt")),
              driver.answer(QMessageBox::Ok));
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
    // b across and h up, as the drawing has it: u runs up, v across.
    const QPointF a = view.toWidget(-260.0, -160.0);
    const QPointF b = view.toWidget(260.0, 160.0);
    QCOMPARE(std::round((b.x() - a.x()) / scale), 320.0);
    QCOMPARE(std::round((a.y() - b.y()) / scale), 520.0);
    const QRectF outline = view.outline();
    QCOMPARE(std::round(outline.width() / scale), 400.0);
    QCOMPARE(std::round(outline.height() / scale), 600.0);
    // The axis letters: x by the vertical axis above the section, y by the horizontal axis on
    // its right; b below, h on the left.
    std::map<QString, QRectF> boxes;
    for (const SectionView::Label& label : view.labels()) boxes[label.text] = label.box;
    QVERIFY(boxes.count(QStringLiteral("x")) == 1 && boxes.count(QStringLiteral("y")) == 1);
    QVERIFY(boxes[QStringLiteral("x")].bottom() < outline.top());
    QVERIFY(std::fabs(boxes[QStringLiteral("x")].center().x() - outline.center().x()) < 20.0);
    QVERIFY(boxes[QStringLiteral("y")].left() > outline.right());
    QVERIFY(std::fabs(boxes[QStringLiteral("y")].center().y() - outline.center().y()) < 20.0);
    QVERIFY(boxes[QStringLiteral("b = 400")].top() > outline.bottom());
    QVERIFY(boxes[QStringLiteral("h = 600")].right() < outline.left());
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

// The check of a 300 x 800 ... 800 x 300 section (b x h, C30, HRB400, 40 mm to the bars) with
// 20 mm corner bars and web steel on every face: the bars are drawn where the labels once sat.
void TestSectionCheck::labelsClearOfBarsAndOutline_data() {
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("h");
    QTest::addColumn<QSize>("size");
    const QSize small(340, 300);
    const QSize large(520, 420);
    for (const auto& [b, h] :
         {std::pair{300.0, 800.0}, std::pair{400.0, 700.0}, std::pair{400.0, 600.0},
          std::pair{500.0, 500.0}, std::pair{600.0, 400.0}, std::pair{800.0, 300.0}}) {
        for (const QSize& size : {small, large}) {
            const QByteArray name = QByteArray::number(b) + "x" + QByteArray::number(h) + " at " +
                                    QByteArray::number(size.width());
            QTest::newRow(name.constData()) << b << h << size;
        }
    }
}

void TestSectionCheck::labelsClearOfBarsAndOutline() {
    QFETCH(double, b);
    QFETCH(double, h);
    QFETCH(QSize, size);
    ColumnCalculator c;
    c.setSteelGrade(3);
    c.setConcreteGrade(30);
    c.setGeometry(6000.0, b, h);
    c.setBarDistances(40.0, 40.0);
    c.scheme = 1;
    c.Asc = 314.16;
    c.Aswx = 760.0;
    c.Aswy = 760.0;
    c.N = 1000.0;
    c.eix = 100.0;
    const SectionCheckResult r = SectionCheck(c.design()).run(SectionCheck::Contour::Skipped);
    QCOMPARE(r.bars.size(), std::size_t{16});
    SectionView view(r);
    view.setFont(dialogFont());
    view.resize(size);
    const QRectF outline = view.outline();
    const std::vector<SectionView::Label> labels = view.labels();
    // Five group labels, two dimensions, two axis letters.
    QCOMPARE(labels.size(), std::size_t{9});
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const QRectF& box = labels[i].box;
        QVERIFY2(!box.intersects(outline), qPrintable(labels[i].text));
        for (const CheckedBar& bar : r.bars) {
            // A circle meets a rectangle when the rectangle's nearest point lies within it.
            const QPointF centre = view.toWidget(bar.u, bar.v);
            const double dx = std::max({box.left() - centre.x(), 0.0, centre.x() - box.right()});
            const double dy = std::max({box.top() - centre.y(), 0.0, centre.y() - box.bottom()});
            QVERIFY2(std::hypot(dx, dy) > view.barRadius(bar), qPrintable(labels[i].text));
        }
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            QVERIFY2(!box.intersects(labels[j].box),
                     qPrintable(labels[i].text + QStringLiteral(" / ") + labels[j].text));
        }
    }
}

// Results no design gives but whose pictures must still be drawn, and in finite time: an
// infinite or undefined demand, figures near the largest and the smallest double.
void TestSectionCheck::drawingEndsWhateverTheNumbers_data() {
    QTest::addColumn<double>("moment");
    QTest::addColumn<double>("capacity");
    QTest::addColumn<double>("side");
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite demand") << kInf << 300.0 << 400.0;
    QTest::newRow("undefined demand") << kNaN << 300.0 << 400.0;
    QTest::newRow("infinite contour") << 200.0 << kInf << 400.0;
    QTest::newRow("huge figures") << 1e300 << 1e305 << 1e150;
    QTest::newRow("denormal figures") << 1e-320 << 4e-320 << 400.0;
    QTest::newRow("nothing at all") << 0.0 << 0.0 << 0.0;
}

void TestSectionCheck::drawingEndsWhateverTheNumbers() {
    QFETCH(double, moment);
    QFETCH(double, capacity);
    QFETCH(double, side);
    SectionCheckResult r;
    r.b = side;
    r.h = side;
    r.Mx = moment;
    r.My = -moment;
    r.MxR = capacity;
    r.utilisation = moment / capacity;
    r.bars = {{side / 4, side / 4, capacity, BarGroup::Corner}, {0, side / 4, 100, BarGroup::WebY}};
    for (int k = 0; k < 72; ++k) {
        const double angle = 5.0 * k * M_PI / 180.0;
        r.contour.push_back({5.0 * k, capacity * std::cos(angle), capacity * std::sin(angle)});
    }
    SectionCheckDialog check(r);
    check.resize(900, 600);
    // Painting both pictures returns (a loop bound to the figures would not).
    QVERIFY(!check.sectionView()->grab().isNull());
    QVERIFY(!check.interactionView()->grab().isNull());
}

QTEST_MAIN(TestSectionCheck)
#include "tst_section_check.moc"
