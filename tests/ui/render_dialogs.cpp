// Renders every dialog of the program to a PNG file, for a reviewer to look at:
//   tessarin-render-dialogs <output directory>
// Writes main_dialog.png (start values), main_dialog_result.png (after one calculation),
// scheme_dialog.png, scheme_dialog_scheme2.png, about_dialog.png, principle_diagram.png,
// section_check_dialog.png (the check of that calculation), gb2010_dialog.png (the
// current-code design of the start values), gb2010_dialog_no_layout.png (2000 kN·m that
// no layout carries), gb2010_dialog_busy.png and
// gb2010_dialog_cancelled.png (a design running, and the window after its cancel) and the
// three pictures on their own.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <stop_token>

#include "engine/gb2010/column_with_stirrups.h"
#include "ui/about_dialog.h"
#include "ui/gb2010_dialog.h"
#include "ui/main_dialog.h"
#include "ui/pictures.h"
#include "ui/section_check_dialog.h"

using namespace tessarin;

namespace {

bool save(const QPixmap& pixmap, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!pixmap.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), pixmap.width(), pixmap.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    MainDialog main;
    main.show();
    ok &= save(main.grab(), out, "main_dialog.png");

    ReinforcementSchemeDialog& scheme = main.schemeDialog();
    scheme.show();
    ok &= save(scheme.grab(), out, "scheme_dialog.png");
    static_cast<QRadioButton*>(scheme.control(1017))->click();
    ok &= save(scheme.grab(), out, "scheme_dialog_scheme2.png");
    scheme.hide();

    AboutDialog about(&main);
    about.show();
    ok &= save(about.grab(), out, "about_dialog.png");
    about.hide();

    main.diagramDialog().show();
    ok &= save(main.diagramDialog().grab(), out, "principle_diagram.png");
    main.diagramDialog().hide();

    // One calculation with the start values, in a scratch directory, OK in the scheme dialog.
    QTemporaryDir scratch;
    const QString home = QDir::currentPath();
    if (scratch.isValid() && QDir::setCurrent(scratch.path())) {
        QTimer::singleShot(0, &scheme, [&scheme] { scheme.accept(); });
        main.calculate();
        QDir::setCurrent(home);
        // Let the result box lay out its new text (and so its scroll bars) before the picture.
        QApplication::processEvents();
        ok &= save(main.grab(), out, "main_dialog_result.png");
        SectionCheckDialog check(SectionCheck(*main.session().design).run(), &main);
        check.show();
        ok &= save(check.grab(), out, "section_check_dialog.png");
        check.hide();

        Gb2010Dialog gb2010(main.gb2010StartInput(), &main);
        gb2010.setReportPath(
            QDir(scratch.path()).filePath(QStringLiteral("Result-GB2010.txt")).toStdString());
        gb2010.design();
        gb2010.show();
        ok &= save(gb2010.grab(), out, "gb2010_dialog.png");

        // 2000 kN·m that no layout carries: the reason in red, in the dialog's face.
        gb2010.combinationsTable()->item(0, Gb2010Dialog::kColM2x)->setText("2000");
        gb2010.design();
        ok &= save(gb2010.grab(), out, "gb2010_dialog_no_layout.png");
        gb2010.combinationsTable()->item(0, Gb2010Dialog::kColM2x)->setText("244");

        // A design running (the engine held until 取消设计), then the window after the cancel.
        gb2010.setDesignFunction([](const Gb2010Input&, const std::stop_token& stop) {
            std::mutex mutex;
            std::condition_variable_any wake;
            std::unique_lock lock(mutex);
            wake.wait_for(lock, stop, std::chrono::seconds(20), [] { return false; });
            return std::optional<ColumnWithStirrups>();
        });
        QTimer::singleShot(100, &gb2010, [&] {
            ok &= save(gb2010.grab(), out, "gb2010_dialog_busy.png");
            gb2010.cancelDesign();
        });
        gb2010.design();
        ok &= save(gb2010.grab(), out, "gb2010_dialog_cancelled.png");
        gb2010.hide();
    }

    ok &= save(renderPicture(QString::fromLatin1(kPrincipleDiagram)), out, "picture_129.png");
    ok &= save(renderPicture(QString::fromLatin1(kSchemeSketch)), out, "picture_133.png");
    ok &= save(applicationIcon().pixmap(32, 32).scaled(128, 128), out, "icon_128_x4.png");
    ok &= save(applicationIcon().pixmap(16, 16).scaled(128, 128), out, "icon_16_x8.png");
    return ok ? 0 : 1;
}
