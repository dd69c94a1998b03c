#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>

#include "ui/bar_text.h"

namespace tessarin {

// The bar labels of the windows: each grade's letter painted as the grade's own symbol.
class TestBarText : public QObject {
    Q_OBJECT

  private slots:
    void symbolStrokesArePainted_data();
    void symbolStrokesArePainted();
    void widthTakesTheSymbolsPlace_data();
    void widthTakesTheSymbolsPlace();
};

// The symbol of "?8" painted without antialiasing at baseline (10, 50), em 40 px. In character
// sizes the strokes stand from the baseline to 0.72 (y 50 up to 21.2), 0.07 wide (2.8 px); the
// one stroke at x 0.4 (26 px), two at 0.31 and 0.49 (22.4 and 29.6 px); the foot and the top bar
// from 0.2 to 0.6 (18 to 34 px) on the baseline and at 0.72; the circle of radius 0.25 (10 px)
// about (0.4, 0.36), i.e. (26, 35.6); the symbol ends at 0.8 (42 px). Probes (pixel centres):
//   top bar (20.5, 21.5): only HRB500;   foot (20.5, 49.5): all but HPB300;
//   second stroke (22.5, 30.5): HRB400 and HRB500 (the single stroke spans 24.6 to 27.4);
//   circle's left (16.5, 35.5): every grade.
void TestBarText::symbolStrokesArePainted_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("top");
    QTest::addColumn<bool>("foot");
    QTest::addColumn<bool>("twoStrokes");
    QTest::newRow("HPB300") << "A8" << false << false << false;
    QTest::newRow("HRB335") << "B8" << false << true << false;
    QTest::newRow("HRB400") << "C8" << false << true << true;
    QTest::newRow("HRB500") << "D8" << true << true << true;
}

void TestBarText::symbolStrokesArePainted() {
    QFETCH(QString, text);
    QFETCH(bool, top);
    QFETCH(bool, foot);
    QFETCH(bool, twoStrokes);
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font;
        font.setPixelSize(40);
        painter.setFont(font);
        painter.setPen(Qt::black);
        paintBarText(painter, QPointF(10.0, 50.0), 40.0, text);
    }
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    QCOMPARE(dark(20, 21), top);
    QCOMPARE(dark(20, 49), foot);
    QCOMPARE(dark(22, 30), twoStrokes);
    QVERIFY(dark(16, 35));
    // No letter is painted: between the circle (to 37.4 px) and the digit (from 42 px) the
    // column at 39 px is white from top to bottom.
    for (int y = 0; y < 60; ++y) QVERIFY2(!dark(39, y), qPrintable(QString::number(y)));
}

// The width as painted: the texts and 0.8 em for each symbol (32 px at em 40); texts without a
// bar's letter are as wide as the font sets them.
void TestBarText::widthTakesTheSymbolsPlace_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("texts");  // the parts the font sets
    QTest::addColumn<int>("symbols");
    QTest::newRow("count, symbol, diameter") << "4C28" << QStringList{"4", "28"} << 1;
    QTest::newRow("no count") << "C25" << QStringList{"25"} << 1;
    QTest::newRow("notation") << "4C22+8C20" << QStringList{"4", "22+8", "20"} << 2;
    QTest::newRow("a mark") << "KZ1" << QStringList{"KZ1"} << 0;
    QTest::newRow("a grade's name") << "HRB400" << QStringList{"HRB400"} << 0;
    QTest::newRow("a letter alone") << "C" << QStringList{"C"} << 0;
}

void TestBarText::widthTakesTheSymbolsPlace() {
    QFETCH(QString, text);
    QFETCH(QStringList, texts);
    QFETCH(int, symbols);
    QFont font;
    font.setPixelSize(40);
    const QFontMetricsF metrics(font);
    double expected = symbols * 0.8 * 40.0;
    for (const QString& part : texts) expected += metrics.horizontalAdvance(part);
    QVERIFY(std::fabs(barTextWidth(metrics, 40.0, text) - expected) < 1e-9);
}

}  // namespace tessarin

QTEST_MAIN(tessarin::TestBarText)
#include "tst_bar_text.moc"
