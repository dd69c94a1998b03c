// The dialog builder and the pictures: dialog units, the pictures' sizes and colours, and a
// layout that keeps every control inside its dialog, unclipped and clear of its neighbours.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/test_support.h"
#include "ui/about_dialog.h"
#include "ui/dialog_template.h"
#include "ui/pictures.h"
#include "views/dialog_templates.h"

using namespace tessarin;

class TestDialogTemplates : public QObject {
    Q_OBJECT

  private slots:
    void dialogUnits_data();
    void dialogUnits();
    void pictureSizes_data();
    void pictureSizes();
    void pictureColours();
    void icon();
    void layout_data();
    void layout();
};

void TestDialogTemplates::dialogUnits_data() {
    QTest::addColumn<int>("baseX");
    QTest::addColumn<int>("baseY");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // 8 x 15 base units (a 15-pixel Song face): the main dialog's 411 x 163 units.
    QTest::newRow("main dialog, 8x15") << 8 << 15 << QRect(0, 0, 411, 163) << QRect(0, 0, 822, 306);
    QTest::newRow("edit 1003, 8x15")
        << 8 << 15 << QRect(168, 80, 40, 14) << QRect(336, 150, 80, 26);
    // 6 x 12 (9 points at 96 dpi): a quarter and an eighth, rounded half up.
    QTest::newRow("label, 6x12") << 6 << 12 << QRect(9, 127, 142, 8) << QRect(14, 191, 213, 12);
}

void TestDialogTemplates::dialogUnits() {
    QFETCH(int, baseX);
    QFETCH(int, baseY);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    const DialogUnits du{baseX, baseY};
    QCOMPARE(du.toPixels(units.x(), units.y(), units.width(), units.height()), pixels);
}

void TestDialogTemplates::pictureSizes_data() {
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");
    QTest::newRow("principle diagram 129") << kPrincipleDiagram << QSize(659, 381);
    QTest::newRow("scheme sketch 133") << kSchemeSketch << QSize(248, 376);
    QTest::newRow("icon 128, large") << kIconLarge << QSize(32, 32);
    QTest::newRow("icon 128, small") << kIconSmall << QSize(16, 16);
}

void TestDialogTemplates::pictureSizes() {
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    QCOMPARE(renderPicture(resource).size(), size);
}

void TestDialogTemplates::pictureColours() {
    const QImage diagram = renderPicture(kPrincipleDiagram).toImage();
    QCOMPARE(diagram.pixelColor(2, 2), QColor(Qt::black));
    QCOMPARE(diagram.pixelColor(650, 10), QColor(Qt::black));
    QCOMPARE(diagram.pixelColor(20, 296), QColor(Qt::white));  // the caption box, lower left
    const QImage sketch = renderPicture(kSchemeSketch).toImage();
    QCOMPARE(sketch.pixelColor(2, 2), QColor(Qt::black));
    QCOMPARE(sketch.pixelColor(245, 370), QColor(Qt::black));
    QVERIFY(renderPicture(QStringLiteral(":/images/none.svg")).isNull());
}

void TestDialogTemplates::icon() {
    const QImage large = applicationIcon().pixmap(32, 32).toImage();
    QCOMPARE(large.size(), QSize(32, 32));
    int red = 0, yellow = 0, green = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor c = large.pixelColor(x, y);
            if (c.alpha() < 200) continue;
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            yellow += c.red() > 200 && c.green() > 200 && c.blue() < 80;
            green += c.green() > 120 && c.red() < 80 && c.blue() < 80;
        }
    }
    QVERIFY2(red > 25 && yellow > 40 && green > 10,
             qPrintable(QString("red %1 yellow %2 green %3").arg(red).arg(yellow).arg(green)));
    QCOMPARE(large.pixelColor(0, 0).alpha(), 0);  // transparent around the section
    QCOMPARE(applicationIcon().pixmap(16, 16).size(), QSize(16, 16));
}

void TestDialogTemplates::layout_data() {
    QTest::addColumn<QString>("dialog");
    QTest::newRow("main 102") << "main";
    QTest::newRow("scheme 130") << "scheme";
    QTest::newRow("about 100") << "about";
    QTest::newRow("diagram 131") << "diagram";
}

// Every control lies inside the dialog; text is not cut; no two controls overlap except a frame
// (or the rule) and what it surrounds.
void TestDialogTemplates::layout() {
    QFETCH(QString, dialog);
    MainDialog main;
    AboutDialog about;
    QDialog* window = &main;
    if (dialog == "scheme") window = &main.schemeDialog();
    if (dialog == "about") window = &about;
    if (dialog == "diagram") window = &main.diagramDialog();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->minimumSize(), window->maximumSize());

    const QRect client = window->rect();
    QList<QWidget*> solid;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible()) continue;
        QVERIFY2(client.contains(child->geometry()),
                 qPrintable(child->objectName() + child->metaObject()->className()));
        if (auto* label = qobject_cast<QLabel*>(child); label && label->pixmap().isNull()) {
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(needed <= label->width(), qPrintable(label->text()));
        }
        if (auto* radio = qobject_cast<QRadioButton*>(child)) {
            QVERIFY2(radio->sizeHint().width() <= radio->width(), qPrintable(radio->text()));
        }
        if (auto* button = qobject_cast<QPushButton*>(child)) {
            QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
        }
        if (auto* frame = qobject_cast<QGroupBox*>(child)) {
            QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width());
        } else if (child->metaObject() == &QFrame::staticMetaObject) {
            // The rule between loads and distances touches field 1006 in the template itself.
        } else {
            solid << child;
        }
    }
    for (int i = 0; i < solid.size(); ++i) {
        for (int j = i + 1; j < solid.size(); ++j) {
            QVERIFY2(!solid[i]->geometry().intersects(solid[j]->geometry()),
                     qPrintable(QString("%1 / %2").arg(
                         QString::fromLatin1(solid[i]->metaObject()->className()),
                         QString::fromLatin1(solid[j]->metaObject()->className()))));
        }
    }
}

QTEST_MAIN(TestDialogTemplates)
#include "tst_dialog_templates.moc"
