#include "ui/book_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "book/book_file.h"
#include "book_pdf/book_pdf.h"
#include "ui/message_box.h"

namespace tessarin {

namespace {

const QString kHtmlFilter = QStringLiteral("HTML 计算书 (*.html *.htm)");
const QString kPdfFilter = QStringLiteral("PDF 计算书 (*.pdf)");
const QString kDocxFilter = QStringLiteral("Word 计算书 (*.docx)");

// The suffix a name typed without one takes under the chosen filter.
QString suffixOf(const QString& filter) {
    if (filter == kPdfFilter) return QStringLiteral("pdf");
    if (filter == kDocxFilter) return QStringLiteral("docx");
    return QStringLiteral("html");
}

}  // namespace

FileResult writeCalculationBook(const Book& book, const std::string& path) {
    // A book is a file of its own: never a directory, a device or a pipe, as on the command line.
    FileResult target = checkWritablePath(path);
    if (!target.ok) return target;
    return writeBook(book, path, renderBookPdf);
}

QString exportCalculationBook(QWidget* parent, const Book& book, const QString& suggestedName) {
    QFileDialog dialog(parent, QStringLiteral("导出计算书"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({kHtmlFilter, kPdfFilter, kDocxFilter});
    dialog.setDefaultSuffix(QStringLiteral("html"));
    // A name typed without a suffix takes the one of the chosen filter; a name that has a book's
    // suffix (the suggested "计算书.html") changes it to the filter's, so that choosing "Word"
    // writes a Word book and not HTML under the old name.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         const QString suffix = suffixOf(filter);
                         dialog.setDefaultSuffix(suffix);
                         const QStringList typed = dialog.selectedFiles();
                         if (typed.isEmpty()) return;
                         const QFileInfo name(typed.constFirst());
                         if (bookFormatOf(name.fileName().toStdString()) == BookFormat::Unknown ||
                             name.suffix() == suffix) {
                             return;
                         }
                         dialog.selectFile(name.completeBaseName() + QStringLiteral(".") + suffix);
                     });
    dialog.setDirectory(QDir::current());
    dialog.selectFile(suggestedName + QStringLiteral(".html"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().constFirst();
    if (bookFormatOf(path.toStdString()) == BookFormat::Unknown) {
        path += QStringLiteral(".") + suffixOf(dialog.selectedNameFilter());
    }
    return saveCalculationBook(parent, book, path) ? path : QString();
}

bool saveCalculationBook(QWidget* parent, const Book& book, const QString& path) {
    const FileResult written =
        writeCalculationBook(book, QDir::toNativeSeparators(path).toStdString());
    if (written.ok) return true;
    showMessageBox(parent, Message{"无法写入计算书 " + written.fileName + "\r\n" + written.reason,
                                   programName(), MessageKind::Error});
    return false;
}

}  // namespace tessarin
