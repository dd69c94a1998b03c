// The About box (F1 or the context menu of the dialog's background) and the principle diagram
// behind "说明".
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "tests/ui/modal_driver.h"
#include "tests/ui/test_support.h"
#include "ui/about_dialog.h"
#include "views/dialog_templates.h"

using namespace tessarin;

namespace {

// Records the About box that opened and closes it.
struct AboutSeen {
    QString title;
    QStringList labels;
    QStringList buttons;
    bool hasIcon = false;
};

ModalDriver::Step recordAbout(QList<AboutSeen>& seen, bool withEscape) {
    return [&seen, withEscape](QWidget* widget) {
        AboutSeen about;
        about.title = widget->windowTitle();
        for (auto* label : widget->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                about.hasIcon = label->pixmap().size() == QSize(32, 32);
            } else {
                about.labels << label->text();
            }
        }
        for (auto* button : widget->findChildren<QPushButton*>()) about.buttons << button->text();
        seen << about;
        if (withEscape) {
            QTest::keyClick(widget, Qt::Key_Escape);
        } else {
            QTest::keyClick(widget, Qt::Key_Return);
        }
    };
}

}  // namespace

class TestAboutAndDiagram : public QObject {
    Q_OBJECT

  private slots:
    void f1OpensAboutEachTime();
    void contextMenuOffersAbout();
    void diagramIsOneObject();
    void diagramEndsEitherWay_data();
    void diagramEndsEitherWay();
};

void TestAboutAndDiagram::f1OpensAboutEachTime() {
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QList<AboutSeen> seen;
    ModalDriver driver;
    driver.then(ModalDriver::window<AboutDialog>(), recordAbout(seen, false))
        .then(ModalDriver::window<AboutDialog>(), recordAbout(seen, true));
    QTest::keyClick(fieldOf(dialog, ControlId::M0x), Qt::Key_F1);
    QCOMPARE(driver.pending(), 1);
    QVERIFY(showActive(dialog));  // the test platform does not hand activation back by itself
    QTest::keyClick(fieldOf(dialog, ControlId::M0x), Qt::Key_F1);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(seen.size(), 2);
    for (const AboutSeen& about : seen) {
        QCOMPARE(about.title, QStringLiteral("关于 Tessarin"));
        QCOMPARE(about.labels, QStringList{QStringLiteral("Tessarin 1.0 版")});
        QCOMPARE(about.buttons, QStringList{QStringLiteral("确定")});
        QVERIFY(about.hasIcon);
    }
    // Each showing is a new box, gone when closed; the main dialog goes on.
    QVERIFY(dialog.findChildren<AboutDialog*>().isEmpty());
    QVERIFY(dialog.isVisible());
}

void TestAboutAndDiagram::contextMenuOffersAbout() {
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QStringList entries;
    QList<AboutSeen> seen;
    ModalDriver driver;
    driver.then(ModalDriver::window<AboutDialog>(), recordAbout(seen, false));
    // The menu is a popup, not a modal dialog: pick its entry from the event loop.
    QTimer::singleShot(50, &dialog, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) entries << action->text();
        if (!menu->actions().isEmpty()) {
            QTest::keyClick(menu, Qt::Key_A);  // the access key
        }
    });
    const QPoint background(5, dialog.height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    QTRY_VERIFY(driver.allDone());
    // The About entry, then the section check and the calculation book (offered once a design
    // has been calculated), then the current-code design and the project window (at any time).
    QCOMPARE(entries,
             (QStringList{QStringLiteral("关于 Tessarin(&A)..."), QStringLiteral("截面验算(&C)..."),
                          QStringLiteral("导出计算书…"), QStringLiteral("现行规范设计(&G)..."),
                          QStringLiteral("工程设计：Tessarin 柱设计(&P)...")}));
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.front().title, QStringLiteral("关于 Tessarin"));
}

void TestAboutAndDiagram::diagramIsOneObject() {
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    QList<QWidget*> opened;
    QList<QSize> pictures;
    auto record = [&opened, &pictures](QWidget* widget) {
        opened << widget;
        for (auto* label : widget->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) pictures << label->size();
        }
        QCOMPARE(widget->windowTitle(), QStringLiteral("原理示意图"));
        qobject_cast<QDialog*>(widget)->reject();
    };
    ModalDriver driver;
    driver.then(ModalDriver::window<PrincipleDiagramDialog>(), record)
        .then(ModalDriver::window<PrincipleDiagramDialog>(), record);
    QTest::mouseClick(dialog.control(ControlId::Explain), Qt::LeftButton);
    QTest::mouseClick(dialog.control(ControlId::Explain), Qt::LeftButton);
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(opened, (QList<QWidget*>{&dialog.diagramDialog(), &dialog.diagramDialog()}));
    QCOMPARE(pictures, (QList<QSize>{QSize(659, 381), QSize(659, 381)}));
}

void TestAboutAndDiagram::diagramEndsEitherWay_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("确定") << "确定" << int(QDialog::Accepted);
    QTest::newRow("取消") << "取消" << int(QDialog::Rejected);
    QTest::newRow("Escape") << "escape" << int(QDialog::Rejected);
}

void TestAboutAndDiagram::diagramEndsEitherWay() {
    QFETCH(QString, how);
    QFETCH(int, result);
    MainDialog dialog;
    QVERIFY(showActive(dialog));
    ModalDriver driver;
    driver.then(ModalDriver::window<PrincipleDiagramDialog>(), [how](QWidget* widget) {
        if (how == "escape") {
            QTest::keyClick(widget, Qt::Key_Escape);
            return;
        }
        for (auto* button : widget->findChildren<QPushButton*>()) {
            if (button->text() == how) QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    dialog.showDiagram();
    QVERIFY(driver.allDone());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(dialog.diagramDialog().result(), result);
    QVERIFY(!dialog.diagramDialog().isVisible());
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestAboutAndDiagram)
#include "tst_about_and_diagram.moc"
